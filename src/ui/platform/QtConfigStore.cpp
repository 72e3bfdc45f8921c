#include "ui/platform/QtConfigStore.h"

namespace varnolt::ui {

namespace {

QString KeyPath(std::string_view section, std::string_view key) {
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + '/' +
           QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

} // namespace

QtConfigStore::QtConfigStore() : settings_("TavrixVRN", "Varnolt") {
}

QtConfigStore::QtConfigStore(const QString& iniPath) : settings_(iniPath, QSettings::IniFormat) {
}

int32_t QtConfigStore::readInt(std::string_view section, std::string_view key,
                               int32_t fallback) const {
    const QVariant value = settings_.value(KeyPath(section, key));
    bool ok = false;
    const int number = value.toInt(&ok);
    return value.isValid() && ok ? number : fallback;
}

std::string QtConfigStore::readString(std::string_view section, std::string_view key,
                                      std::string_view fallback) const {
    const QVariant value = settings_.value(KeyPath(section, key));
    if (!value.isValid()) {
        return std::string(fallback);
    }
    return value.toString().toStdString();
}

void QtConfigStore::writeInt(std::string_view section, std::string_view key, int32_t value) {
    settings_.setValue(KeyPath(section, key), value);
}

void QtConfigStore::writeString(std::string_view section, std::string_view key,
                                std::string_view value) {
    settings_.setValue(KeyPath(section, key),
                       QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

} // namespace varnolt::ui
