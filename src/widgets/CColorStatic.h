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

    void SetBkColour(std::uint32_t colour);  // 0x00BBGGRR
    void SetTextColour(std::uint32_t colour);

    QColor TextColour() const { return text_; }
    QColor BackgroundColour() const { return background_; }
    bool HasColours() const { return coloured_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ApplyColours(const QColor& text, const QColor& background);

    bool coloured_ = false;
    QColor text_;
    QColor background_;
};
