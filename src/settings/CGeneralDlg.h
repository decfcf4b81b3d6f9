#pragma once

#include <QDialog>
#include <cstdint>

class CColorStatic;
class CUpDownCtrl;
class QButtonGroup;
class QCheckBox;
class QPushButton;
class QRadioButton;
struct ReaderSettings;

// "Настройки. Общие": the two extra delays, one or several words at a time
// with the threshold, the focus letter of one-word reading and its colour,
// the speed change per click and the start-up action.
// OK stores what it shows; "Дефолт" writes six defaults at once, and they
// stand even if the dialog is then cancelled.
class CGeneralDlg : public QDialog {
    Q_OBJECT

public:
    CGeneralDlg(ReaderSettings& settings, QWidget* parent = nullptr);

    // "Дефолт" was pressed: after OK the speed level goes back to its
    // default too.
    bool DefaultsChosen() const { return defaultsPressed_; }

    CUpDownCtrl* CommaArrows() const { return commaArrows_; }
    CUpDownCtrl* StopArrows() const { return stopArrows_; }
    CUpDownCtrl* ThresholdArrows() const { return thresholdArrows_; }
    CUpDownCtrl* ClickStepArrows() const { return clickArrows_; }
    CColorStatic* ThresholdDisplay() const { return thresholdDisplay_; }
    QRadioButton* OneWordButton() const { return oneWord_; }
    QRadioButton* SeveralWordsButton() const { return severalWords_; }
    QRadioButton* StartupButton(int index) const;
    QCheckBox* FocusLetterBox() const { return focusLetter_; }

    void accept() override;

private:
    CUpDownCtrl* AddNumber(int left, int top, int arrowsWidth, int lower, int upper,
                           std::int32_t value, CColorStatic** display);
    void EnableThreshold(bool enabled);
    void RestoreDefaults();
    void ChooseFocusColor();
    void ShowFocusColor();

    ReaderSettings& settings_;
    bool defaultsPressed_ = false;

    CUpDownCtrl* commaArrows_ = nullptr;
    CUpDownCtrl* stopArrows_ = nullptr;
    CUpDownCtrl* thresholdArrows_ = nullptr;
    CUpDownCtrl* clickArrows_ = nullptr;
    CColorStatic* thresholdDisplay_ = nullptr;
    QRadioButton* oneWord_ = nullptr;
    QRadioButton* severalWords_ = nullptr;
    QButtonGroup* mode_ = nullptr;
    QButtonGroup* startup_ = nullptr;
    QCheckBox* focusLetter_ = nullptr;
    QPushButton* focusColor_ = nullptr;
    std::uint32_t chosenColor_ = 0;
};
