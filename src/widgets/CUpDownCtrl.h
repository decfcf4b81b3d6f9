#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

// A pair of up and down arrows holding a position within a range, written as
// a decimal number into its buddy display whenever it changes. Up raises the
// position, and so does the mouse wheel turned away from the user. A position
// set beyond the range ends at the nearer end.
class CUpDownCtrl : public QWidget {
    Q_OBJECT

public:
    explicit CUpDownCtrl(QWidget* parent = nullptr);

    void SetBuddy(QLabel* buddy);
    void SetRange(int lower, int upper);
    void SetPos(int position);
    int Pos() const { return position_; }
    int Lower() const { return lower_; }
    int Upper() const { return upper_; }

    QToolButton* UpArrow() const { return up_; }
    QToolButton* DownArrow() const { return down_; }

signals:
    void PositionChanged(int position);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowPosition();

    int lower_ = 0;
    int upper_ = 100;
    int position_ = 0;
    QLabel* buddy_ = nullptr;
    QToolButton* up_;
    QToolButton* down_;
};
