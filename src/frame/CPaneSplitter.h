#pragma once

#include <QSplitter>

// The reading pane above the text pane. F5 gives the whole window to one of
// them and F9 shares it again; the reading pane's height is remembered from
// the last time both were shown, for the next sharing and the settings file.
class CPaneSplitter : public QSplitter {
    Q_OBJECT

public:
    CPaneSplitter(QWidget* parent, int rememberedHeight);

    // The two panes, the reading pane at its remembered height.
    void SetPanes(QWidget* readingPane, QWidget* textPane, int windowHeight);
    // Both panes have a height; delivers the reading pane's height.
    bool BothPanesShown(int* readingPaneHeight = nullptr) const;
    // The reading pane takes the whole window while reading, otherwise the
    // text pane does.
    void UseWholeWindow(bool reading, int screenHeight);
    // Shares the window again at two thirds of the client height, unless both
    // panes are shown already.
    void ShareWindow(int clientHeight);
    // What the settings file keeps: the height on screen, or the one
    // remembered while a pane has the whole window.
    int ReadingPaneHeight() const;
    int RememberedPaneHeight() const { return rememberedHeight_; }

private:
    int rememberedHeight_;
};
