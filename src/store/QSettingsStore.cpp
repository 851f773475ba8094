#include "store/QSettingsStore.h"

#include <limits>

namespace {
QString Key(std::string_view section, std::string_view name) {
    return QString::fromLatin1(section.data(), static_cast<qsizetype>(section.size())) + QLatin1Char('/') +
           QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}
} // namespace

std::unique_ptr<QSettingsStore> QSettingsStore::ForApplication(const QString& applicationName) {
    return std::make_unique<QSettingsStore>(std::make_unique<QSettings>(
        QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("kvrq"), applicationName));
}

std::unique_ptr<QSettingsStore> QSettingsStore::ForIniFile(const QString& path) {
    return std::make_unique<QSettingsStore>(std::make_unique<QSettings>(path, QSettings::IniFormat));
}

QSettingsStore::QSettingsStore(std::unique_ptr<QSettings> settings) : m_settings(std::move(settings)) {}

std::optional<int32_t> QSettingsStore::ParseValue(const QString& text) {
    bool ok = false;
    const qlonglong number = text.trimmed().toLongLong(&ok, 10);
    if (!ok || number < std::numeric_limits<int32_t>::min() || number > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(number);
}

int32_t QSettingsStore::GetProfileInt(std::string_view section, std::string_view name, int32_t def) {
    const QVariant stored = m_settings->value(Key(section, name));
    if (!stored.isValid())
        return def;
    // A list (a value with commas in an INI file) or any other non-number reads as missing.
    if (stored.typeId() == QMetaType::QStringList)
        return def;
    return ParseValue(stored.toString()).value_or(def);
}

bool QSettingsStore::WriteProfileInt(std::string_view section, std::string_view name, int32_t value) {
    if (!m_settings->isWritable())
        return false;
    m_settings->setValue(Key(section, name), value);
    return true;
}

bool QSettingsStore::Commit() {
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

bool QSettingsStore::Readable() const { return m_settings->status() != QSettings::FormatError; }
