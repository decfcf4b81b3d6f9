#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>
#include <functional>
#include <optional>

#include "settings/AreaChoice.h"
#include "settings/ReaderSettings.h"

class CColorStatic;
class QLabel;
class QLineEdit;
class QPushButton;

// The font, text colour and background colour of one pane, edited on a
// private copy of the pane's block. OK hands the new block back; applying it
// to the settings and the pane is the caller's business, Cancel leaves both
// alone.
class CAreaDlg : public QDialog {
    Q_OBJECT

public:
    // The font and colour dialogs; each gives nothing when cancelled. Tests
    // put their own in place of the desktop's dialogs.
    using FontChooser = std::function<std::optional<QFont>(const QFont& initial, QWidget* parent)>;
    using ColorChooser =
        std::function<std::optional<QColor>(const QColor& initial, QWidget* parent)>;

    CAreaDlg(AreaPane pane, const AreaAppearance& area, QWidget* parent = nullptr);

    // The working copy: after OK, the block to store.
    const AreaAppearance& Area() const { return area_; }

    FontChooser chooseFont;
    ColorChooser chooseColor;

    void ChooseFont();
    void ChooseTextColor();
    void ChooseBackgroundColor();
    // "Дефолт": the pane's defaults in the working copy; the settings wait for OK.
    void RestoreDefaults();

    QLineEdit* FaceField() const { return face_; }
    QLineEdit* SizeField() const { return size_; }
    QLineEdit* StyleField() const { return style_; }
    CColorStatic* TextSwatch() const { return textSwatch_; }
    CColorStatic* BackgroundSwatch() const { return backgroundSwatch_; }
    QLabel* Note() const { return note_; }

    static std::optional<QFont> RunFontDialog(const QFont& initial, QWidget* parent);
    static std::optional<QColor> RunColorDialog(const QColor& initial, QWidget* parent);

private:
    void Refresh();

    AreaPane pane_;
    AreaAppearance area_;
    QLineEdit* face_;
    QLineEdit* size_;
    QLineEdit* style_;
    CColorStatic* textSwatch_;
    CColorStatic* backgroundSwatch_;
    QLabel* note_;
};
