// SPDX-License-Identifier: MIT
#pragma once

#include <QSettings>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "settings/SettingsLayout.h"
#include "store/PlainIni.h"

// The answers' store: the settings file (an INI file on Linux, in the form QSettings writes), or on
// Windows the registry through QSettings: "<section>/<value name>" keys holding whole numbers. Every
// value is read as plain text: what the settings library would turn into data of some type
// ("@Variant(...)" and the like) is no number, so no answer. Writes stay in memory until
// commit(). A settings file is replaced in one step, and only once all of its new
// content is on the disk and reads back as meant: a crash, a full disk or a refusal in the middle of
// a save leaves the old file exactly as it was.
class SettingsStore : public ProfileStore {
  public:
    // The encoder's own per-user store: organisation "kvrq", application = the executable's name.
    static std::unique_ptr<SettingsStore> forApplication(const QString& applicationName);
    // An INI file, as given to the command line's --settings.
    static std::unique_ptr<SettingsStore> forIniFile(const QString& path);

    explicit SettingsStore(std::unique_ptr<QSettings> settings);
    // Like QSettings, saves what is still pending; but not after a failed commit(), when the caller
    // has been told and has decided.
    ~SettingsStore() override;
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    int32_t getProfileInt(std::string_view section, std::string_view name, int32_t def) override;
    bool writeProfileInt(std::string_view section, std::string_view name, int32_t value) override;

    // Given the store as it will read after the commit; false refuses the commit.
    using CommitCheck = std::function<bool(ProfileStore&)>;
    // Writes the pending values; false when the store could not be written, with the reason, in the
    // system's words where it gave them, in commitError(). The values stay pending, so commit() can be
    // tried again. A settings file is replaced only if its new content, read back from the file that
    // is to replace it, holds every value meant and check (when given) accepts it.
    bool commit(const CommitCheck& check = {});
    QString commitError() const { return m_commitError; }
    // Whether the last commit() replaced the settings file: after a failure, only when the new file
    // is in place but may not outlast a crash.
    bool commitReplacedFile() const { return m_commitReplacedFile; }
    // False when the file exists but could not be read or parsed.
    bool readable() const;
    QString fileName() const { return m_file ? m_path : m_settings->fileName(); }

    // A stored text as a value: a whole number in the signed 32-bit range, or nothing.
    static std::optional<int32_t> parseValue(const QString& text);

  private:
    explicit SettingsStore(const QString& iniFile);
    void readFile();
    bool commitToFile(const CommitCheck& check);
    bool syncSettings(const CommitCheck& check);
    bool fail(const QString& why);

    std::unique_ptr<QSettings> m_settings; // the registry or a macOS preferences file; none for a file
    bool m_file; // an INI file, rather than the Windows registry or a macOS preferences file
    QString m_path;
    PlainIni m_ini; // the file as last read
    std::map<QString, int32_t> m_pending;
    bool m_commitFailed = false;
    bool m_commitReplacedFile = false;
    QString m_commitError;
};
