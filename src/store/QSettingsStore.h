#pragma once

#include <QSettings>
#include <QString>
#include <memory>
#include <optional>

#include "settings/SettingsLayout.h"

// The answers' store on QSettings: "<section>/<value name>" keys holding whole numbers. Writes stay
// in memory until Commit(), which replaces the file in one step, so a crash in the middle of a
// save never leaves half of the old answers and half of the new.
class QSettingsStore : public ProfileStore {
public:
    // The encoder's own per-user store: organisation "kvrq", application = the executable's name.
    static std::unique_ptr<QSettingsStore> ForApplication(const QString& applicationName);
    // An INI file, as given to the command line's --settings.
    static std::unique_ptr<QSettingsStore> ForIniFile(const QString& path);

    explicit QSettingsStore(std::unique_ptr<QSettings> settings);

    int32_t GetProfileInt(std::string_view section, std::string_view name, int32_t def) override;
    bool WriteProfileInt(std::string_view section, std::string_view name, int32_t value) override;

    // Writes the pending values to disk; false when the store could not be written.
    bool Commit();
    // False when the file exists but could not be read or parsed.
    bool Readable() const;
    QString FileName() const { return m_settings->fileName(); }

    // A stored text as a value: a whole number in the signed 32-bit range, or nothing.
    static std::optional<int32_t> ParseValue(const QString& text);

private:
    std::unique_ptr<QSettings> m_settings;
};
