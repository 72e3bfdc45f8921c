#pragma once

class QCoreApplication;

namespace varnolt::ui {

// Installs Qt's own Japanese translations on APP, so that the stock dialogs (open, save, print,
// page setup, folder chooser) and the buttons of message boxes speak the program's language
// whatever the system's locale. False when Qt's translation files are not installed; the stock
// texts then stay English.
bool InstallQtJapaneseTranslations(QCoreApplication& app);

} // namespace varnolt::ui
