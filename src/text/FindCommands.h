#pragma once

class CTextCtrl;
class TextFinder;

// The three search commands on the text pane: the dialog (Ctrl+F), the next
// occurrence (F3) and a search for the selection (Ctrl+F3). Each selects what
// it finds or tells the user that the cycle is over or that there is nothing
// to search for.
void ShowFindDialog(TextFinder& finder, CTextCtrl& text);
void FindNextCommand(TextFinder& finder, CTextCtrl& text);
void FindSelectionCommand(TextFinder& finder, CTextCtrl& text);
