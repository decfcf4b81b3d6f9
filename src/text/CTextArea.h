#pragma once

#include <QWidget>

#include "settings/ReaderSettings.h"

class CTextCtrl;

// The lower pane: nothing but the text control, filling it at every size.
class CTextArea : public QWidget {
    Q_OBJECT

public:
    CTextArea(QWidget* parent, const AreaAppearance& textArea);
    CTextCtrl* TextCtrl() const { return textCtrl_; }

private:
    CTextCtrl* textCtrl_;
};
