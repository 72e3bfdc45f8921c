#include "ui/config/CConfig.h"

#include "ui/config/CBrowseFolderDialog.h"
#include "ui/platform/QtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace varnolt::ui {

CConfig::CConfig(const EnvironmentSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setObjectName("dialog341");
    setWindowTitle("環境設定");

    auto* tabs = new QTabWidget(this);
    tabs->setObjectName("control1003");
    tabs->addTab(CreateFilePage(), "ファイル");
    tabs->addTab(CreateRemotePage(), "リモート");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText("キャンセル");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    resize(460, 260);
}

QWidget* CConfig::CreateFilePage() {
    auto* page = new QWidget(this);
    page->setObjectName("dialog342");

    auto* enabled = new QCheckBox("自動ファイル保存", page);
    enabled->setObjectName("control1012");
    enabled->setChecked(settings_.autoSaveEnabled);
    connect(enabled, &QCheckBox::toggled, this,
            [this](bool on) { settings_.autoSaveEnabled = on; });

    folderText_ = new QLabel(QString::fromStdString(settings_.autoSaveFolder), page);
    folderText_->setObjectName("control1011");
    folderText_->setFrameShape(QFrame::StyledPanel);
    folderText_->setMinimumWidth(260);
    folderText_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* browse = new QPushButton("変更", page);
    browse->setObjectName("control1010");
    connect(browse, &QPushButton::clicked, this, &CConfig::BrowseFolder);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folderText_, 1);
    folderRow->addWidget(browse);

    auto* sizes = new QComboBox(page);
    sizes->setObjectName("control1013");
    for (std::string_view choice : kFileSizeChoices) {
        sizes->addItem(ToQString(choice));
    }
    sizes->setCurrentIndex(FileSizeChoiceOf(settings_.autoSaveFileSize).value_or(-1));
    connect(sizes, &QComboBox::currentIndexChanged, this,
            [this](int choice) { settings_.autoSaveFileSize = FileSizeOfChoice(choice); });

    auto* ask = new QCheckBox("受信したデータを保存せずに破棄するときは確認する", page);
    ask->setObjectName("askBeforeDiscard");
    ask->setChecked(settings_.askBeforeDiscard);
    connect(ask, &QCheckBox::toggled, this, [this](bool on) { settings_.askBeforeDiscard = on; });

    auto* form = new QFormLayout(page);
    form->addRow(enabled);
    form->addRow("保存先フォルダー", folderRow);
    form->addRow("ファイルサイズ", sizes);
    form->addRow(ask);
    return page;
}

QWidget* CConfig::CreateRemotePage() {
    auto* page = new QWidget(this);
    page->setObjectName("dialog343");
    auto* group = new QGroupBox("リモート同期", page);
    auto* read =
        new QCheckBox("自動読出：設定画面を開くとき、自動的に設定データを読出しする", group);
    read->setObjectName("control1025");
    read->setChecked(settings_.autoRead);
    connect(read, &QCheckBox::toggled, this, [this](bool on) { settings_.autoRead = on; });
    auto* write =
        new QCheckBox("自動書込：設定画面を閉じるとき、自動的に設定データを書込みする", group);
    write->setObjectName("control1026");
    write->setChecked(settings_.autoWrite);
    connect(write, &QCheckBox::toggled, this, [this](bool on) { settings_.autoWrite = on; });
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(read);
    groupLayout->addWidget(write);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(group);
    layout->addStretch();
    return page;
}

void CConfig::BrowseFolder() {
    // The browser does not start at the current folder; cancelling keeps the folder.
    const QString folder = CBrowseFolderDialog::Run(this);
    if (folder.isEmpty()) {
        return;
    }
    settings_.autoSaveFolder = folder.toStdString();
    folderText_->setText(folder);
}

} // namespace varnolt::ui
