#pragma once

namespace varnolt::ui {

// Registers the program's compiled-in resources (icons, cell font) and the cell font "SFgg1".
// The resources live in a static library, so they must be registered explicitly, once a
// QGuiApplication exists and before the first use.
void InitResources();

} // namespace varnolt::ui
