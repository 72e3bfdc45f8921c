#include "ui/platform/Resources.h"

#include <QFontDatabase>
#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitVarnoltResources() {
    Q_INIT_RESOURCE(varnolt);
}

namespace varnolt::ui {

void InitResources() {
    InitVarnoltResources();
    // The cell font: every glyph code the data view draws has its picture in family "SFgg1".
    QFontDatabase::addApplicationFont(":/fonts/SFgg1.ttf");
}

} // namespace varnolt::ui
