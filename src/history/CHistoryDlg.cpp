#include "history/CHistoryDlg.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QMessageBox>
#include <QPushButton>
#include <QScatterSeries>
#include <QSortFilterProxyModel>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTableView>
#include <QValueAxis>
#include <algorithm>

#include "base/ProgramTexts.h"
#include "base/QtText.h"
#include "base/SafeFileWriter.h"
#include "base/TimeText.h"
#include "history/HistoryStore.h"
#include "history/SpeedTrend.h"
#include "widgets/ProgramMessages.h"

namespace {

constexpr int kSortRole = Qt::UserRole;
constexpr std::int64_t kHourMs = 3'600'000;
constexpr std::int64_t kDayMs = 24 * kHourMs;

QChartView* ChartView(QChart* chart, const char* title) {
    chart->setTitle(ProgramText(title));
    chart->setMargins(QMargins(4, 4, 4, 4));
    auto* view = new QChartView(chart);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(360, 260);
    return view;
}

// A value axis from 0 to a little above the largest value, in whole numbers.
QValueAxis* CountAxis(double largest) {
    auto* axis = new QValueAxis;
    axis->setRange(0, std::max(largest * 1.1, 5.0));
    axis->applyNiceNumbers();
    axis->setLabelFormat("%d");
    return axis;
}

// Bars of the words read on each local day; a day starts at local midnight,
// whatever the clock change in between. Thirty dates do not fit under thirty
// bars, so the date is written under today's bar and every fifth day before it.
QChartView* WordsPerDayChart(HistoryStore& store) {
    const QDate today = QDate::currentDate();
    std::vector<std::int64_t> starts;
    for (int day = CHistoryDlg::kDays - 1; day >= -1; --day)
        starts.push_back(today.addDays(-day).startOfDay().toMSecsSinceEpoch());
    auto* words = new QBarSet(QString());
    double most = 0;
    for (const DayWords& day : store.WordsPerDay(starts)) {
        *words << static_cast<double>(day.words);
        most = std::max(most, static_cast<double>(day.words));
    }
    auto* bars = new QBarSeries;
    bars->append(words);
    auto* chart = new QChart;
    chart->addSeries(bars);
    chart->legend()->hide();
    // Bar i stands at the value i, so a label on the value is under its bar.
    auto* dayAxis = new QCategoryAxis;
    dayAxis->setRange(-0.5, CHistoryDlg::kDays - 0.5);
    dayAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    dayAxis->setGridLineVisible(false);
    // Categories go in rising order, today's last.
    for (int day = (CHistoryDlg::kDays - 1) % 5; day < CHistoryDlg::kDays; day += 5)
        dayAxis->append(today.addDays(day - (CHistoryDlg::kDays - 1)).toString("dd.MM"), day);
    chart->addAxis(dayAxis, Qt::AlignBottom);
    bars->attachAxis(dayAxis);
    QValueAxis* countAxis = CountAxis(most);
    chart->addAxis(countAxis, Qt::AlignLeft);
    bars->attachAxis(countAxis);
    return ChartView(chart, "Слов в день за последние 30 дней");
}

// Every run's speed at its start, and the least-squares trend through them.
QChartView* SpeedChart(HistoryStore& store) {
    const std::vector<RunSpeed> speeds = store.RunSpeeds();
    auto* runs = new QScatterSeries;
    runs->setName(ProgramText("Чтение"));
    runs->setMarkerSize(8);
    double fastest = 0;
    for (const RunSpeed& speed : speeds) {
        runs->append(static_cast<double>(speed.startMs), speed.wordsPerMinute);
        fastest = std::max(fastest, speed.wordsPerMinute);
    }
    auto* chart = new QChart;
    chart->addSeries(runs);
    std::vector<QAbstractSeries*> series = {runs};
    if (const std::optional<TrendLine> line = SpeedTrend(speeds)) {
        auto* trend = new QLineSeries;
        trend->setName(ProgramText("Тенденция"));
        trend->append(static_cast<double>(line->fromMs), line->fromWordsPerMinute);
        trend->append(static_cast<double>(line->toMs), line->toWordsPerMinute);
        chart->addSeries(trend);
        series.push_back(trend);
    }
    chart->legend()->setAlignment(Qt::AlignBottom);
    // Runs of one day are told apart by their hours.
    const std::int64_t first = speeds.empty() ? 0 : speeds.front().startMs;
    const std::int64_t last = speeds.empty() ? 0 : speeds.back().startMs;
    const bool oneDay = last - first < 2 * kDayMs;
    const std::int64_t margin = oneDay ? kHourMs : (last - first) / 20;
    auto* timeAxis = new QDateTimeAxis;
    timeAxis->setFormat(oneDay ? "dd.MM HH:mm" : "dd.MM.yy");
    timeAxis->setTickCount(5);
    timeAxis->setRange(QDateTime::fromMSecsSinceEpoch(first - margin),
                       QDateTime::fromMSecsSinceEpoch(last + margin));
    chart->addAxis(timeAxis, Qt::AlignBottom);
    QValueAxis* speedAxis = CountAxis(fastest);
    chart->addAxis(speedAxis, Qt::AlignLeft);
    for (QAbstractSeries* each : series) {
        each->attachAxis(timeAxis);
        each->attachAxis(speedAxis);
    }
    return ChartView(chart, "Скорость каждого чтения, слов в минуту");
}

QStandardItem* Cell(const QString& text, const QVariant& sortKey, bool number = true) {
    auto* cell = new QStandardItem(text);
    cell->setData(sortKey, kSortRole);
    cell->setEditable(false);
    if (number) cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return cell;
}

QString DocumentName(const DocumentFigures& document) {
    if (!document.name.empty()) return QString::fromStdString(document.name);
    if (!document.path.empty())
        return QFileInfo(QFile::decodeName(QByteArray::fromStdString(document.path))).fileName();
    return ProgramText("Текст из буфера обмена");
}

QTableView* DocumentsTable(const std::vector<DocumentFigures>& documents, QObject* owner) {
    auto* model = new QStandardItemModel(owner);
    model->setHorizontalHeaderLabels({ProgramText("Документ"), ProgramText("Прочитано"),
                                      ProgramText("Время чтения"), ProgramText("Последнее чтение"),
                                      ProgramText("Скорость, слов/мин")});
    for (const DocumentFigures& document : documents) {
        const QString name = DocumentName(document);
        QStandardItem* nameCell = Cell(name, name.toLower(), false);
        nameCell->setToolTip(QFile::decodeName(QByteArray::fromStdString(document.path)));
        const QDateTime lastRead = QDateTime::fromMSecsSinceEpoch(document.lastReadMs);
        model->appendRow(
            {nameCell,
             Cell(QString::number(document.percentRead, 'f', 0) + " %", document.percentRead),
             // Whole seconds, rounded: TimeText counts a part of one as one.
             Cell(TimeText((document.spentMs + 500) / 1000 * 1000), qint64(document.spentMs)),
             Cell(lastRead.toString("dd.MM.yyyy HH:mm"), qint64(document.lastReadMs)),
             Cell(QString::number(qRound(document.meanWordsPerMinute)),
                  document.meanWordsPerMinute)});
    }
    auto* sorted = new QSortFilterProxyModel(owner);
    sorted->setSourceModel(model);
    sorted->setSortRole(kSortRole);
    auto* table = new QTableView;
    table->setModel(sorted);
    table->setSortingEnabled(true);
    table->sortByColumn(3, Qt::DescendingOrder);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->setWordWrap(false);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table->setCurrentIndex(sorted->index(0, 0));
    return table;
}

}  // namespace

CHistoryDlg::CHistoryDlg(HistoryStore& store, QWidget* parent) : QDialog(parent), store_(store) {
    setObjectName("HistoryDialog");
    setWindowTitle(ProgramText("Статистика чтения"));
    pages_ = new QStackedWidget(this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    export_ = buttons->addButton(ProgramText("Экспорт в CSV…"), QDialogButtonBox::ActionRole);
    clear_ = buttons->addButton(ProgramText("Очистить историю"), QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(export_, &QPushButton::clicked, this, &CHistoryDlg::Export);
    connect(clear_, &QPushButton::clicked, this, &CHistoryDlg::ClearHistory);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_, 1);
    layout->addWidget(buttons);
    resize(980, 700);
    Fill();
}

void CHistoryDlg::Fill() {
    while (pages_->count() > 0) delete pages_->widget(0);
    table_ = nullptr;
    // Every run belongs to a document, so no document means no run.
    const std::vector<DocumentFigures> documents = store_.Documents();
    const bool empty = documents.empty();
    if (empty) {
        auto* note = new QLabel(ProgramText(kHistoryEmpty));
        note->setAlignment(Qt::AlignCenter);
        note->setWordWrap(true);
        pages_->addWidget(note);
    } else {
        pages_->addWidget(Figures(documents));
        table_->setFocus();
    }
    export_->setEnabled(!empty);
    clear_->setEnabled(!empty);
}

QWidget* CHistoryDlg::Figures(const std::vector<DocumentFigures>& documents) {
    auto* page = new QWidget;
    auto* charts = new QHBoxLayout;
    charts->addWidget(WordsPerDayChart(store_));
    charts->addWidget(SpeedChart(store_));
    table_ = DocumentsTable(documents, page);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(charts, 3);
    layout->addWidget(table_, 2);
    return page;
}

void CHistoryDlg::Export() {
    const QString path = QFileDialog::getSaveFileName(
        this, ProgramText("Экспорт истории чтения"), QDir::home().filePath("lumeno-history.csv"),
        QStringLiteral("CSV (*.csv)"), nullptr, QFileDialog::DontUseNativeDialog);
    if (path.isEmpty()) return;
    if (!WriteFileSafely(QFile::encodeName(path).toStdString(), store_.ExportCsv()))
        ShowWarning(this, ProgramText(kHistoryExportFailed).arg(path));
}

void CHistoryDlg::ClearHistory() {
    // Nothing can bring the history back, so No is the default answer.
    QMessageBox ask(QMessageBox::Question, ProgramText(kProgramTitle),
                    ProgramText(kAskClearHistory), QMessageBox::Yes | QMessageBox::No, this);
    ask.setDefaultButton(QMessageBox::No);
    if (ask.exec() != QMessageBox::Yes) return;
    if (!store_.Clear()) ShowWarning(this, ProgramText(kHistoryClearFailed));
    Fill();
}
