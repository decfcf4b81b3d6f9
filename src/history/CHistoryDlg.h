#pragma once

#include <QDialog>
#include <vector>

struct DocumentFigures;
class HistoryStore;
class QPushButton;
class QStackedWidget;
class QTableView;

// "Статистика чтения": words read per day over the last 30 days, the real
// speed of every run with its trend, and what was read of each document,
// from what the history has written. The history can be exported as CSV and
// cleared here. With nothing read yet the window says so instead of drawing
// empty axes.
class CHistoryDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kDays = 30;

    CHistoryDlg(HistoryStore& store, QWidget* parent);
    // The documents' table; none while the history is empty.
    QTableView* Table() const { return table_; }

private:
    void Fill();
    QWidget* Figures(const std::vector<DocumentFigures>& documents);
    void Export();
    void ClearHistory();

    HistoryStore& store_;
    QStackedWidget* pages_ = nullptr;
    QTableView* table_ = nullptr;
    QPushButton* export_ = nullptr;
    QPushButton* clear_ = nullptr;
};
