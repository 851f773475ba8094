// SPDX-License-Identifier: MIT
#include "store/SettingsStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>
#include <limits>

#include "platform/LockFile.h"
#include "platform/NativeSettings.h"
#include "platform/RegularFileReader.h"
#include "platform/ReplacementFile.h"

namespace {
QString Key(std::string_view section, std::string_view name) {
    return QString::fromLatin1(section.data(), static_cast<qsizetype>(section.size())) + QLatin1Char('/') +
           QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// Another copy saving at the same moment holds the lock for a few milliseconds.
constexpr int kLockWaitMs = 10000;
// What a lock file takes on the disk: a block.
constexpr qint64 kLockFileRoom = 4096;

// Scratch files are hidden, named after the settings file: ".glomiecode.conf.Ab12Cd.new".
QString ScratchPrefix(const QString& fileName) {
    return QLatin1Char('.') + fileName + QLatin1Char('.');
}
const QString kScratchSuffix = QStringLiteral(".new");
const QString kNoNewCopy = QStringLiteral("a new copy cannot be written beside it: %1");
const QString kLosesLines = QStringLiteral(
    "it holds lines that are not settings (a comment starting with #?), which rewriting it would lose");

// What stands where a lock file should be, when it is no regular file (a link, a folder, a FIFO):
// empty for a regular file or nothing.
QString NotALockFile(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink())
        return QStringLiteral("a symbolic link");
    if (!info.exists() || info.isFile())
        return {};
    return info.isDir() ? QStringLiteral("a folder") : QStringLiteral("not a regular file");
}

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

// Scratch files of a save that did not end, and what QSettings made beside them (".lock", its own
// temporary file).
void RemoveScratchFiles(const QString& folder, const QString& prefix) {
    const QRegularExpression scratch(
        QLatin1Char('^') + QRegularExpression::escape(prefix) + QStringLiteral("[A-Za-z0-9]{6}") +
        QRegularExpression::escape(kScratchSuffix) + QStringLiteral("(\\..*)?$"));
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (scratch.match(name).hasMatch())
            QFile::remove(dir.filePath(name));
}

// Why a write that seemed to succeed did not: files made here as a save makes them (a lock file, and
// the new file beside it, open at the same time) may get the system's reason.
QString WhyNotWritable(const QString& folder, const QString& prefix, qint64 size) {
    ReplacementFile lock;
    ReplacementFile file;
    if (!lock.create(folder, prefix, kScratchSuffix) || !lock.write(QByteArray(64, '\n')))
        return lock.error();
    if (!file.create(folder, prefix, kScratchSuffix) || !file.write(QByteArray(size, '\n')) || !file.sync() ||
        !file.close())
        return file.error();
    return QStringLiteral("the system gave no reason");
}

} // namespace

std::unique_ptr<SettingsStore> SettingsStore::forApplication(const QString& applicationName) {
    return std::make_unique<SettingsStore>(std::make_unique<QSettings>(
        QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("kvrq"), applicationName));
}

std::unique_ptr<SettingsStore> SettingsStore::forIniFile(const QString& path) {
    return std::unique_ptr<SettingsStore>(new SettingsStore(path));
}

SettingsStore::SettingsStore(std::unique_ptr<QSettings> settings) : m_settings(std::move(settings)) {
    m_file = NativeSettingsAreAFile() || m_settings->format() == QSettings::IniFormat;
    if (m_file) {
        m_path = m_settings->fileName();
        m_settings.reset(); // the file is read here, as plain text
        readFile();
    }
}

SettingsStore::SettingsStore(const QString& iniFile) : m_file(true), m_path(iniFile) {
    readFile();
}

// A file that cannot be read (or none) holds no values, as QSettings has it.
void SettingsStore::readFile() {
    const FileRead read = ReadRegularFile(m_path);
    m_ini = PlainIni(read.ok ? QByteArrayView(read.bytes) : QByteArrayView());
}

SettingsStore::~SettingsStore() {
    if (!m_commitFailed && !m_pending.empty())
        commit();
}

std::optional<int32_t> SettingsStore::parseValue(const QString& text) {
    bool ok = false;
    const qlonglong number = text.trimmed().toLongLong(&ok, 10);
    if (!ok || number < std::numeric_limits<int32_t>::min() || number > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(number);
}

int32_t SettingsStore::getProfileInt(std::string_view section, std::string_view name, int32_t def) {
    const QString key = Key(section, name);
    if (const auto pending = m_pending.find(key); pending != m_pending.end())
        return pending->second;
    if (m_file) {
        // A list (a value with commas) is no number either.
        const PlainIni::Value* stored = m_ini.find(key);
        return stored && !stored->isList ? parseValue(stored->text).value_or(def) : def;
    }
    if (NativeSettingsAreTheRegistry()) {
        const std::optional<QString> stored =
            ReadNativeSettingText(m_settings->organizationName(), m_settings->applicationName(), key);
        return stored ? parseValue(*stored).value_or(def) : def;
    }
    const QVariant stored = m_settings->value(key);
    if (!stored.isValid())
        return def;
    // Elsewhere, what the settings library makes of a stored text other than text or a number is no
    // answer.
    switch (stored.typeId()) {
    case QMetaType::QString:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        break;
    default:
        return def;
    }
    return parseValue(stored.toString()).value_or(def);
}

bool SettingsStore::writeProfileInt(std::string_view section, std::string_view name, int32_t value) {
    if (m_file) {
        m_pending[Key(section, name)] = value;
        return true;
    }
    if (!m_settings->isWritable())
        return false;
    m_settings->setValue(Key(section, name), value);
    return true;
}

bool SettingsStore::commit(const CommitCheck& check) {
    m_commitError.clear();
    m_commitReplacedFile = false;
    m_commitFailed = !(m_file ? commitToFile(check) : syncSettings(check));
    return !m_commitFailed;
}

bool SettingsStore::syncSettings(const CommitCheck& check) {
    m_settings->sync();
    if (m_settings->status() == QSettings::NoError)
        return !check || check(*this) || fail(QStringLiteral("the settings do not read back as written"));
    // QSettings keeps its first error for good: a fresh one lets the next try report its own result.
    m_settings = std::make_unique<QSettings>(m_settings->format(), m_settings->scope(),
                                             m_settings->organizationName(), m_settings->applicationName());
    return fail(QStringLiteral("the settings could not be written"));
}

bool SettingsStore::fail(const QString& why) {
    m_commitError = why;
    return false;
}

bool SettingsStore::commitToFile(const CommitCheck& check) {
    const QString path = fileName();
    const QFileInfo info(path);
    if ((info.exists() || info.isSymLink()) && !info.isFile())
        return fail(QStringLiteral("it is not a regular file"));
    if (!QDir().mkpath(info.absolutePath()))
        return fail(QStringLiteral("its folder %1 cannot be made")
                        .arg(QDir::toNativeSeparators(info.absolutePath())));
    // Through a link, the file it names is replaced, and its new content is made beside it.
    const QFileInfo target(info.exists() ? info.canonicalFilePath() : info.absoluteFilePath());
    const QString folder = target.absolutePath();
    const QString prefix = ScratchPrefix(target.fileName());

    // An editor's rule: a file the user may not write is not replaced, however the folder allows it.
    // Opening it to write (without truncating) gets the system's reason.
    if (target.exists() && !target.isWritable()) {
        QFile probe(target.filePath());
        if (!probe.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
            return fail(QStringLiteral("it cannot be written: %1").arg(probe.errorString()));
    }

    // The lock QSettings itself takes on the file, named after the file the save replaces: a save
    // through a link and one of its target exclude each other.
    const QString lockPath = target.absoluteFilePath() + QStringLiteral(".lock");
    if (const QString what = NotALockFile(lockPath); !what.isEmpty())
        return fail(QStringLiteral("its lock file %1 is %2, which no program makes; remove it")
                        .arg(QDir::toNativeSeparators(lockPath), what));
    LockFile lock(lockPath);
    if (const QString why = TakeLock(lock); !why.isEmpty())
        return fail(why);
    // QLockFile's helper, left empty by a program killed while taking over a lock, would keep
    // QSettings from saving for half a minute.
    LockFile::removeIfAbandoned(lockPath + QStringLiteral(".rmlock"));
    // Under the lock, a scratch file is one a save that did not end has left.
    RemoveScratchFiles(folder, prefix);

    // Nothing but a regular file is read: a FIFO would block the read for ever.
    const FileRead current = ReadRegularFile(target.filePath());
    if (!current.ok)
        return fail(QStringLiteral("it cannot be read: %1").arg(current.error));

    // The file that will replace the old one.
    ReplacementFile out;
    if (!out.create(folder, prefix, kScratchSuffix) || !out.takeAttributesOf(target.filePath()))
        return fail(kNoNewCopy.arg(out.error()));
    // Another user's file, or one of a group the new copy cannot be given, keeps its owner: it is
    // not replaced by one of this user's.
    if (target.exists()) {
        const QFileInfo made(out.path());
        if (made.ownerId() != target.ownerId() || made.groupId() != target.groupId() ||
            made.permissions() != target.permissions())
            return fail(QStringLiteral("it belongs to another user or group, or has permissions, that a new "
                                       "copy cannot keep"));
    }

    // The new content: the old with the answers set, and the groups and keys of others as they were.
    PlainIni staged(current.bytes);
    if (!staged.allLinesAreSettings())
        return fail(kLosesLines);
    for (const auto& [key, value] : m_pending)
        staged.set(key, QString::number(value));
    const QByteArray content = staged.text();

    if (!out.write(content) || !out.sync() || !out.close())
        return fail(kNoNewCopy.arg(out.error()));
    // The copy that will replace the file, read from the disk and parsed afresh: every key with the
    // value meant, and nothing else.
    const FileRead written = ReadRegularFile(out.path());
    if (!written.ok)
        return fail(QStringLiteral("a new copy cannot be read back: %1").arg(written.error));
    {
        SettingsStore readBack(out.path());
        if (written.bytes != content || !readBack.m_ini.allLinesAreSettings() ||
            !(readBack.m_ini == staged)) {
            // A write failed unnoticed: the system may say why.
            return fail(QStringLiteral("its new copy does not read back as written (%1)")
                            .arg(WhyNotWritable(folder, prefix, kLockFileRoom + content.size())));
        }
        if (check && !check(readBack))
            return fail(QStringLiteral("its new content does not read back as written"));
    }

    // One step: before it the old file is whole, after it the new one.
    const bool replaced = out.replace(target.filePath());
    m_commitReplacedFile = out.replaced();
    if (m_commitReplacedFile)
        readFile();
    if (!replaced)
        return fail(m_commitReplacedFile
                        ? QStringLiteral("the new answers are in place, but may not outlast a crash: %1")
                              .arg(out.error())
                        : QStringLiteral("it cannot be replaced: %1").arg(out.error()));
    m_pending.clear();
    return true;
}

bool SettingsStore::readable() const {
    return m_file ? m_ini.headersOk() : m_settings->status() != QSettings::FormatError;
}
