#include "ui/panes/CDockDeviceView.h"

#include "core/link/panes/DevicePaneRows.h"
#include "core/link/reception/CDeviceEtc.h"
#include "core/settings/CSaParameter.h"
#include "ui/platform/QtText.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>

namespace varnolt::ui {

namespace {

constexpr int kDescriptionRole = Qt::UserRole + 1;

} // namespace

CDockDeviceView::CDockDeviceView(QWidget* parent)
    : QDockWidget("タイマー・カウンタ ビュー", parent) {
    setObjectName("pane137");
    setAllowedAreas(Qt::AllDockWidgetAreas);
    auto* contents = new QWidget(this);
    contents->setMinimumSize(200, 100);
    auto* column = new QVBoxLayout(contents);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    grid_ = new QTreeWidget(contents);
    grid_->setObjectName("deviceGrid");
    grid_->setColumnCount(2);
    grid_->setHeaderLabels({"Property", "Value"});
    grid_->setAlternatingRowColors(true);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    grid_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    grid_->header()->setStretchLastSection(false);
    description_ = new QLabel(contents);
    description_->setObjectName("deviceDescription");
    description_->setFrameShape(QFrame::StyledPanel);
    description_->setMinimumHeight(description_->fontMetrics().height() + 8);
    column->addWidget(grid_, 1);
    column->addWidget(description_);
    setWidget(contents);
    connect(grid_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { ShowDescription(item); });
    Build();
}

void CDockDeviceView::Build() {
    const CSaParameter noSettings;
    const StatusBlock noStatus;
    const std::vector<DevicePaneGroup> groups = DevicePaneGroups(noSettings, noStatus);
    const std::function<void(QTreeWidgetItem*, const DevicePaneGroup&)> add =
        [&](QTreeWidgetItem* parent, const DevicePaneGroup& group) {
            auto* groupItem =
                parent == nullptr ? new QTreeWidgetItem(grid_) : new QTreeWidgetItem(parent);
            groupItem->setText(0, ToQString(group.name));
            groupItem->setFirstColumnSpanned(parent == nullptr);
            for (const DevicePaneGroup& sub : group.subGroups) {
                add(groupItem, sub);
            }
            for (const DevicePaneItem& item : group.items) {
                auto* valueItem = new QTreeWidgetItem(groupItem);
                valueItem->setText(0, ToQString(item.name));
                valueItem->setData(0, kDescriptionRole, ToQString(item.description));
                valueItem->setToolTip(0, ToQString(item.description));
                valueItem->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
                valueItems_.push_back(valueItem);
            }
        };
    for (const DevicePaneGroup& group : groups) {
        add(nullptr, group);
    }
    grid_->expandAll();
    Refresh();
}

void CDockDeviceView::setSources(const CSaParameter* settings, const StatusBlock* status) {
    settings_ = settings;
    status_ = status;
}

void CDockDeviceView::Refresh() {
    const CSaParameter noSettings;
    const StatusBlock noStatus;
    const std::vector<std::string> values = DevicePaneValues(
        settings_ != nullptr ? *settings_ : noSettings, status_ != nullptr ? *status_ : noStatus);
    for (size_t k = 0; k < values.size() && k < valueItems_.size(); ++k) {
        const QString value = ToQString(values[k]);
        if (valueItems_[k]->text(1) != value) {
            valueItems_[k]->setText(1, value);
        }
    }
}

void CDockDeviceView::ShowDescription(QTreeWidgetItem* item) {
    description_->setText(item != nullptr ? item->data(0, kDescriptionRole).toString() : QString());
}

} // namespace varnolt::ui
