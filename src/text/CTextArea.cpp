#include "text/CTextArea.h"

#include <QVBoxLayout>

#include "text/CTextCtrl.h"

CTextArea::CTextArea(QWidget* parent, const AreaAppearance& textArea)
    : QWidget(parent), textCtrl_(new CTextCtrl(this, textArea)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(textCtrl_);
    setMinimumHeight(30);
}
