#pragma once

class CMainFrame;
class QWidget;

// The shelf's and the bookmarks' commands as the main frame runs them, each
// from start to end: the dialog, and what the program does with its answer.

// "Положить на полку": names the open document and stores it on the shelf.
void PutOnShelfCommand(CMainFrame& frame);
// "Показать полку", and the start-up action that shows the shelf.
void ShowShelfCommand(CMainFrame& frame, QWidget* parent);
// "Поместить закладку": a bookmark at the caret, named in a dialog. With
// Shift held the proposed name is taken as it is, without the dialog, when
// there is one. The desktop reports only whether a Shift key is down, not
// which, so either Shift key does.
void PlaceBookmarkCommand(CMainFrame& frame);
// "Показать закладки".
void ShowBookmarksCommand(CMainFrame& frame);
