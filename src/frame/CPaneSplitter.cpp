#include "frame/CPaneSplitter.h"

#include <algorithm>

#include "frame/CommandRules.h"

CPaneSplitter::CPaneSplitter(QWidget* parent, int rememberedHeight)
    : QSplitter(Qt::Vertical, parent), rememberedHeight_(rememberedHeight) {
    setObjectName("Panes");
    setChildrenCollapsible(true);
    // A pane dragged away has no split for F9 to bring back.
    connect(this, &QSplitter::splitterMoved, this, [this] { hiddenByCommand_ = false; });
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
    if (BothPanesShown(&paneHeight)) {
        rememberedHeight_ = paneHeight;
        hiddenByCommand_ = true;
    }
    setSizes(reading ? QList<int>{screenHeight, 0} : QList<int>{0, 1});
}

void CPaneSplitter::ShareWindow(int clientHeight) {
    int paneHeight = 0;
    if (BothPanesShown(&paneHeight)) {
        rememberedHeight_ = paneHeight;
        return;
    }
    const int panesHeight = height() - handleWidth();
    if (!hiddenByCommand_ ||
        FittedPaneHeight(rememberedHeight_, panesHeight) != rememberedHeight_) {
        rememberedHeight_ = SharedPaneHeight(clientHeight);
    }
    hiddenByCommand_ = false;
    setSizes({rememberedHeight_, std::max(height() - rememberedHeight_, 0)});
}

void CPaneSplitter::resizeEvent(QResizeEvent* event) {
    QSplitter::resizeEvent(event);
    int paneHeight = 0;
    if (!BothPanesShown(&paneHeight)) return;
    const int panesHeight = height() - handleWidth();
    const int fitted = FittedPaneHeight(paneHeight, panesHeight);
    if (fitted != paneHeight) setSizes({fitted, panesHeight - fitted});
}

int CPaneSplitter::ReadingPaneHeight() const {
    int paneHeight = 0;
    return BothPanesShown(&paneHeight) ? paneHeight : rememberedHeight_;
}
