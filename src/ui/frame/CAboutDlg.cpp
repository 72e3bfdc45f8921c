#include "ui/frame/CAboutDlg.h"

#include "core/shell/VersionInfo.h"
#include "ui/platform/QtText.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>

namespace varnolt::ui {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle("バージョン情報 Varnolt");
    setObjectName("dialog101");

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(":/icons/varnolt.png").pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);

    auto* name = new QLabel("Varnolt", this);
    QFont nameFont = name->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.3);
    name->setFont(nameFont);
    auto* version = new QLabel(ToQString(FormatVersionLine(kProductVersion, kSpecialBuild)), this);
    version->setObjectName("control1000");
    auto* legal = new QLabel(ToQString(kLegalCopyright), this);
    legal->setObjectName("control1001");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 3, 1);
    layout->addWidget(name, 0, 1);
    layout->addWidget(version, 1, 1);
    layout->addWidget(legal, 2, 1);
    layout->addWidget(buttons, 3, 0, 1, 2);
    layout->setHorizontalSpacing(16);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace varnolt::ui
