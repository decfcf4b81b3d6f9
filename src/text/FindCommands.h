#pragma once

class CTextCtrl;
class DocumentText;
class TextFinder;

// The three search commands on the open document: the dialog (Ctrl+F), the
// next occurrence (F3) and a search for the selection (Ctrl+F3). Each searches
// from the text pane's selection, selects what it finds there or tells the
// user that the cycle is over or that there is nothing to search for.
void ShowFindDialog(TextFinder& finder, const DocumentText& document, CTextCtrl& text);
void FindNextCommand(TextFinder& finder, const DocumentText& document, CTextCtrl& text);
void FindSelectionCommand(TextFinder& finder, const DocumentText& document, CTextCtrl& text);
