#include "frame/CPaneSplitter.h"

#include <algorithm>

#include "frame/CommandRules.h"

CPaneSplitter::CPaneSplitter(QWidget* parent, int rememberedHeight)
    : QSplitter(Qt::Vertical, parent), rememberedHeight_(rememberedHeight) {
    setObjectName("Panes");
    setChildrenCollapsible(true);
}

void CPaneSplitter::SetPanes(QWidget* readingPane, QWidget* textPane, int windowHeight) {
    addWidget(readingPane);
    addWidget(textPane);
    // The reading pane keeps its height when the window's height changes,
    // the first layout included; the text pane takes the difference.
    setStretchFactor(0, 0);
    setStretchFactor(1, 1);
    setSizes({rememberedHeight_, std::max(windowHeight - rememberedHeight_, 0)});
}

bool CPaneSplitter::BothPanesShown(int* readingPaneHeight) const {
    const QList<int> panes = sizes();
    if (readingPaneHeight != nullptr) *readingPaneHeight = panes.value(0);
    return panes.value(0) > 0 && panes.value(1) > 0;
}

void CPaneSplitter::UseWholeWindow(bool reading, int screenHeight) {
    int paneHeight = 0;
    if (BothPanesShown(&paneHeight)) rememberedHeight_ = paneHeight;
    setSizes(reading ? QList<int>{screenHeight, 0} : QList<int>{0, 1});
}

void CPaneSplitter::ShareWindow(int clientHeight) {
    int paneHeight = 0;
    if (BothPanesShown(&paneHeight)) {
        rememberedHeight_ = paneHeight;
        return;
    }
    rememberedHeight_ = SharedPaneHeight(clientHeight);
    setSizes({rememberedHeight_, std::max(height() - rememberedHeight_, 0)});
}

int CPaneSplitter::ReadingPaneHeight() const {
    int paneHeight = 0;
    return BothPanesShown(&paneHeight) ? paneHeight : rememberedHeight_;
}
