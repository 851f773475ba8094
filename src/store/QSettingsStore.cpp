#include "store/QSettingsStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QThread>
#include <limits>

#include "platform/LockFile.h"
#include "platform/NativeSettings.h"
#include "platform/RegularFileReader.h"

namespace {
QString Key(std::string_view section, std::string_view name) {
    return QString::fromLatin1(section.data(), static_cast<qsizetype>(section.size())) + QLatin1Char('/') +
           QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// Another copy saving at the same moment holds the lock for a few milliseconds.
constexpr int kLockWaitMs = 10000;

// Waits for the lock while another copy holds it; empty once taken, else why not.
QString TakeLock(LockFile& lock) {
    QElapsedTimer waited;
    waited.start();
    unsigned long pause = 1;
    for (;;) {
        switch (lock.tryLock()) {
        case LockFile::Attempt::Taken:
            return {};
        case LockFile::Attempt::Failed:
            return QStringLiteral("its lock file cannot be made: %1").arg(lock.error());
        case LockFile::Attempt::Held:
            break;
        }
        if (waited.hasExpired(kLockWaitMs))
            return QStringLiteral("another program is writing it");
        QThread::msleep(pause);
        pause = qMin(pause * 2, 50ul);
    }
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}
} // namespace

std::unique_ptr<QSettingsStore> QSettingsStore::ForApplication(const QString& applicationName) {
    return std::make_unique<QSettingsStore>(std::make_unique<QSettings>(
        QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("kvrq"), applicationName));
}

std::unique_ptr<QSettingsStore> QSettingsStore::ForIniFile(const QString& path) {
    return std::make_unique<QSettingsStore>(std::make_unique<QSettings>(path, QSettings::IniFormat));
}

QSettingsStore::QSettingsStore(std::unique_ptr<QSettings> settings) : m_settings(std::move(settings)) {
    m_file = NativeSettingsAreAFile() || m_settings->format() == QSettings::IniFormat;
}

QSettingsStore::~QSettingsStore() {
    if (!m_commitFailed && !m_pending.empty())
        Commit();
}

std::optional<int32_t> QSettingsStore::ParseValue(const QString& text) {
    bool ok = false;
    const qlonglong number = text.trimmed().toLongLong(&ok, 10);
    if (!ok || number < std::numeric_limits<int32_t>::min() || number > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(number);
}

int32_t QSettingsStore::GetProfileInt(std::string_view section, std::string_view name, int32_t def) {
    const QString key = Key(section, name);
    if (const auto pending = m_pending.find(key); pending != m_pending.end())
        return pending->second;
    const QVariant stored = m_settings->value(key);
    if (!stored.isValid())
        return def;
    // A list (a value with commas in an INI file) or any other non-number reads as missing.
    if (stored.typeId() == QMetaType::QStringList)
        return def;
    return ParseValue(stored.toString()).value_or(def);
}

bool QSettingsStore::WriteProfileInt(std::string_view section, std::string_view name, int32_t value) {
    if (m_file) {
        m_pending[Key(section, name)] = value;
        return true;
    }
    if (!m_settings->isWritable())
        return false;
    m_settings->setValue(Key(section, name), value);
    return true;
}

bool QSettingsStore::Commit(const CommitCheck& check) {
    m_commitError.clear();
    m_commitFailed = !(m_file ? CommitToFile(check) : SyncSettings(check));
    return !m_commitFailed;
}

bool QSettingsStore::SyncSettings(const CommitCheck& check) {
    m_settings->sync();
    if (m_settings->status() == QSettings::NoError)
        return !check || check(*this) || Fail(QStringLiteral("the settings do not read back as written"));
    // QSettings keeps its first error for good: a fresh one lets the next try report its own result.
    m_settings = std::make_unique<QSettings>(m_settings->format(), m_settings->scope(),
                                             m_settings->organizationName(), m_settings->applicationName());
    return Fail(QStringLiteral("the settings could not be written"));
}

bool QSettingsStore::Fail(const QString& why) {
    m_commitError = why;
    return false;
}

bool QSettingsStore::CommitToFile(const CommitCheck& check) {
    const QString path = FileName();
    const QFileInfo info(path);
    if ((info.exists() || info.isSymLink()) && !info.isFile())
        return Fail(QStringLiteral("it is not a regular file"));
    if (!QDir().mkpath(info.absolutePath()))
        return Fail(QStringLiteral("its folder %1 cannot be made")
                        .arg(QDir::toNativeSeparators(info.absolutePath())));
    // The lock QSettings itself takes on this file: no other copy saves in the meantime.
    LockFile lock(path + QStringLiteral(".lock"));
    if (const QString why = TakeLock(lock); !why.isEmpty())
        return Fail(why);
    // QLockFile's helper, left empty by a program killed while taking over a lock, would keep
    // QSettings from saving for half a minute.
    LockFile::removeIfAbandoned(path + QStringLiteral(".lock.rmlock"));
    // Nothing but a regular file is read: a FIFO would block the read for ever.
    const FileRead current = ReadRegularFile(path);
    if (!current.ok)
        return Fail(QStringLiteral("it cannot be read: %1").arg(current.error));

    // The new content is made in a copy, so that what QSettings cannot rewrite leaves the file alone.
    const QTemporaryDir scratch;
    const QString copyPath = scratch.filePath(QStringLiteral("settings.ini"));
    const QString noScratch =
        QStringLiteral("no scratch copy could be made in %1").arg(QDir::toNativeSeparators(QDir::tempPath()));
    if (!scratch.isValid() || !WriteWholeFile(copyPath, current.bytes))
        return Fail(noScratch);
    {
        QSettings staged(copyPath, QSettings::IniFormat);
        for (const auto& [key, value] : m_pending)
            staged.setValue(key, value);
        staged.sync();
        if (staged.status() == QSettings::FormatError)
            return Fail(QStringLiteral("it holds lines that are not settings (a comment starting with #?), "
                                       "which rewriting it would lose"));
        if (staged.status() != QSettings::NoError)
            return Fail(noScratch);
    }
    QFile copy(copyPath);
    if (!copy.open(QIODevice::ReadOnly))
        return Fail(noScratch);
    const QByteArray content = copy.readAll();
    if (check) {
        // Parsed afresh under another name: QSettings would answer this name from its cache.
        const QString readBackPath = scratch.filePath(QStringLiteral("read-back.ini"));
        if (!WriteWholeFile(readBackPath, content))
            return Fail(noScratch);
        QSettingsStore readBack(std::make_unique<QSettings>(readBackPath, QSettings::IniFormat));
        if (!readBack.Readable() || !check(readBack))
            return Fail(QStringLiteral("its new content does not read back as written"));
    }

    // Written beside the file and renamed over it (through a link, to the file it names).
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size() || !out.commit())
        return Fail(out.errorString());
    m_pending.clear();
    m_settings->sync(); // reads the new file
    return true;
}

bool QSettingsStore::Readable() const {
    return m_settings->status() != QSettings::FormatError;
}
