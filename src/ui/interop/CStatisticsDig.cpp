#include "ui/interop/CStatisticsDig.h"

#include "core/interop/StatisticsReport.h"
#include "core/shell/CVarnoltDoc.h"
#include "ui/platform/QtText.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace varnolt::ui {

namespace {

struct Series {
    std::string_view name;
    const DurationSummary* summary;
};

// A bar chart of the decade histograms of SERIES, one bar set each.
QChartView* Histogram(std::string_view title, std::initializer_list<Series> series,
                      QWidget* parent) {
    auto* chart = new QChart;
    chart->setTitle(ToQString(title));
    auto* bars = new QBarSeries;
    int64_t highest = 0;
    for (const Series& s : series) {
        auto* set = new QBarSet(ToQString(s.name));
        for (const int64_t count : s.summary->histogram) {
            *set << static_cast<qreal>(count);
            highest = std::max(highest, count);
        }
        bars->append(set);
    }
    chart->addSeries(bars);
    auto* categories = new QBarCategoryAxis;
    for (size_t bin = 0; bin < kDecadeBins; ++bin) {
        // Axis labels are read as rich text: "<" must not open a tag.
        categories->append(ToQString(DecadeAxisLabel(bin)).toHtmlEscaped());
    }
    categories->setLabelsAngle(-45); // nine decades side by side: upright labels would be cut
    chart->addAxis(categories, Qt::AlignBottom);
    bars->attachAxis(categories);
    auto* counts = new QValueAxis;
    counts->setTitleText(ToQString(kHistogramCountAxis));
    counts->setLabelFormat("%d");
    counts->setRange(0, static_cast<qreal>(std::max<int64_t>(highest, 1)));
    counts->applyNiceNumbers();
    chart->addAxis(counts, Qt::AlignLeft);
    bars->attachAxis(counts);
    chart->legend()->setVisible(series.size() > 1);
    chart->legend()->setAlignment(Qt::AlignBottom);
    auto* view = new QChartView(chart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(560, 300);
    return view;
}

} // namespace

CStatisticsDig::CStatisticsDig(const CaptureStatistics& stats, QWidget* parent) : QDialog(parent) {
    setObjectName("CStatisticsDig");
    setWindowTitle(ToQString(kStatisticsTitle));

    table_ = new QTreeWidget(this);
    table_->setColumnCount(2);
    table_->setHeaderLabels({"項目", "値"});
    table_->setRootIsDecorated(false);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    QFont heading = table_->font();
    heading.setBold(true);
    for (const StatisticsRow& row : StatisticsRows(stats)) {
        auto* item = new QTreeWidgetItem(table_, {ToQString(row.name), ToQString(row.value)});
        if (row.value.empty()) {
            item->setFont(0, heading);
            item->setFirstColumnSpanned(true);
        }
    }
    table_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    table_->setMinimumWidth(560);

    auto* charts = new QVBoxLayout;
    charts->addWidget(Histogram(kIdleHistogramTitle, {{kIdleSeries, &stats.idleGaps}}, this));
    charts->addWidget(Histogram(kResponseHistogramTitle,
                                {{kSdToRdSeries, &stats.sdToRd}, {kRdToSdSeries, &stats.rdToSd}},
                                this));

    auto* body = new QHBoxLayout;
    body->addWidget(table_, 1);
    body->addLayout(charts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText("閉じる");
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(buttons);
    resize(1240, 720);
}

void ShowStatistics(const CVarnoltDoc& document, QWidget* parent) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const CaptureStatistics stats =
        ComputeStatistics(document.capture(), TimeBase::ForFile(document.pathName()));
    QApplication::restoreOverrideCursor();
    CStatisticsDig dialog(stats, parent);
    dialog.exec();
}

} // namespace varnolt::ui
