#pragma once

#include <QSplitter>

// The reading pane above the text pane. F5 gives the whole window to one of
// them and F9 shares it again as it was before; the reading pane's height is
// remembered from the last time both were shown, for the next sharing and
// the settings file. A window made lower never leaves a pane below its
// minimum.
class CPaneSplitter : public QSplitter {
    Q_OBJECT

public:
    CPaneSplitter(QWidget* parent, int rememberedHeight);

    // The two panes, the reading pane at its remembered height.
    void SetPanes(QWidget* readingPane, QWidget* textPane, int windowHeight);
    // Both panes have a height; delivers the reading pane's height.
    // The reading pane has height: a run goes on only while it has.
    bool ReadingPaneShown() const { return sizes().value(0) > 0; }
    bool BothPanesShown(int* readingPaneHeight = nullptr) const;
    // The reading pane takes the whole window while reading, otherwise the
    // text pane does.
    void UseWholeWindow(bool reading, int screenHeight);
    // Shares the window again as F5 found it when that fits, otherwise (a
    // pane dragged away) at two thirds of the client height; nothing moves
    // while both panes are shown.
    void ShareWindow(int clientHeight);
    // What the settings file keeps: the height on screen, or the one
    // remembered while a pane has the whole window.
    int ReadingPaneHeight() const;
    int RememberedPaneHeight() const { return rememberedHeight_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int rememberedHeight_;
    // F5 hid a pane and remembered the split: F9 brings that back.
    bool hiddenByCommand_ = false;
};
