#pragma once

#include <QColor>
#include <QLabel>
#include <cstdint>

// A static text that paints itself with a colour pair of its own. Until a
// colour is set it looks like an ordinary label of its parent. Setting the
// background makes the text black; setting the text colour puts the
// background back to the button-face colour.
class CColorStatic : public QLabel {
    Q_OBJECT

public:
    explicit CColorStatic(QWidget* parent = nullptr);

    void SetBkColor(std::uint32_t color);  // 0x00BBGGRR
    void SetTextColor(std::uint32_t color);

    QColor TextColor() const { return text_; }
    QColor BackgroundColor() const { return background_; }
    bool HasColors() const { return colored_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ApplyColors(const QColor& text, const QColor& background);

    bool colored_ = false;
    QColor text_;
    QColor background_;
};
