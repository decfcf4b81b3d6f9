#pragma once

#include <QDialog>
#include <cstdint>

class CColorStatic;
class CReaderBar;
class CUpDownCtrl;
class QButtonGroup;
class QRadioButton;
struct ReaderSettings;

// "Настройки. Общие": the two extra delays, one or several words at a time
// with the threshold, the speed change per click and the start-up action.
// On OK it stores the mode, the click step and the start-up action itself and
// hands the other three values back; "Дефолт" writes six defaults at once,
// and they stand even if the dialog is then cancelled.
class CGeneralDlg : public QDialog {
    Q_OBJECT

public:
    // `bar` holds the speed level, which OK after "Дефолт" sets to 25; none in
    // a window without a bar.
    CGeneralDlg(ReaderSettings& settings, CReaderBar* bar, QWidget* parent = nullptr);

    // The values OK leaves for the caller to store.
    std::int32_t CommaDelayLevel() const { return commaDelayLevel_; }
    std::int32_t StopDelayLevel() const { return stopDelayLevel_; }
    std::int32_t ThresholdChars() const { return thresholdChars_; }

    CUpDownCtrl* CommaArrows() const { return commaArrows_; }
    CUpDownCtrl* StopArrows() const { return stopArrows_; }
    CUpDownCtrl* ThresholdArrows() const { return thresholdArrows_; }
    CUpDownCtrl* ClickStepArrows() const { return clickArrows_; }
    CColorStatic* ThresholdDisplay() const { return thresholdDisplay_; }
    QRadioButton* OneWordButton() const { return oneWord_; }
    QRadioButton* SeveralWordsButton() const { return severalWords_; }
    QRadioButton* StartupButton(int index) const;

    void accept() override;

private:
    CUpDownCtrl* AddNumber(int left, int top, int arrowsWidth, int lower, int upper,
                           std::int32_t value, CColorStatic** display);
    void EnableThreshold(bool enabled);
    void RestoreDefaults();

    ReaderSettings& settings_;
    CReaderBar* bar_;
    bool defaultsPressed_ = false;
    std::int32_t commaDelayLevel_ = 0;
    std::int32_t stopDelayLevel_ = 0;
    std::int32_t thresholdChars_ = 0;

    CUpDownCtrl* commaArrows_ = nullptr;
    CUpDownCtrl* stopArrows_ = nullptr;
    CUpDownCtrl* thresholdArrows_ = nullptr;
    CUpDownCtrl* clickArrows_ = nullptr;
    CColorStatic* thresholdDisplay_ = nullptr;
    QRadioButton* oneWord_ = nullptr;
    QRadioButton* severalWords_ = nullptr;
    QButtonGroup* mode_ = nullptr;
    QButtonGroup* startup_ = nullptr;
};
