// SPDX-License-Identifier: MIT
#include "platform/ReplacementFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include "platform/StandardError.h"
#include "platform/SystemError.h"

#ifdef Q_OS_WIN
#include "platform/WindowsApi.h"
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QString RandomPart() {
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString part;
    for (int i = 0; i < 6; ++i)
        part += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)]);
    return part;
}

// Names already taken are tried again with other letters, a few times.
constexpr int kNameAttempts = 64;

} // namespace

ReplacementFile::~ReplacementFile() {
    remove();
}

bool ReplacementFile::fail() {
    m_error = lastSystemError();
    return false;
}

#ifdef Q_OS_WIN

bool ReplacementFile::create(const QString& folder, const QString& prefix, const QString& suffix) {
    remove();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QString path = QDir(folder).filePath(prefix + RandomPart() + suffix);
        const HANDLE handle =
            ::CreateFileW(QDir::toNativeSeparators(path).toStdWString().c_str(), GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            m_handle = handle;
            m_path = path;
            m_replaced = false;
            return true;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS)
            return fail();
    }
    return fail();
}

bool ReplacementFile::takeAttributesOf(const QString&) {
    // The new file has the folder's access rights, as the old one had.
    return true;
}

bool ReplacementFile::write(const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!::WriteFile(static_cast<HANDLE>(m_handle), bytes.constData() + done,
                         static_cast<DWORD>(bytes.size() - done), &written, nullptr))
            return fail();
        done += written;
    }
    return true;
}

bool ReplacementFile::sync() {
    return ::FlushFileBuffers(static_cast<HANDLE>(m_handle)) || fail();
}

bool ReplacementFile::close() {
    if (!m_handle)
        return true;
    const bool closed = ::CloseHandle(static_cast<HANDLE>(m_handle));
    m_handle = nullptr;
    return closed || fail();
}

bool ReplacementFile::replace(const QString& target) {
    if (!close())
        return false;
    // Written through: the move is on the disk when it returns.
    if (!::MoveFileExW(QDir::toNativeSeparators(m_path).toStdWString().c_str(),
                       QDir::toNativeSeparators(target).toStdWString().c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return fail();
    m_replaced = true;
    return true;
}

void ReplacementFile::remove() {
    if (m_handle)
        ::CloseHandle(static_cast<HANDLE>(m_handle));
    m_handle = nullptr;
    if (!m_path.isEmpty() && !m_replaced)
        ::DeleteFileW(QDir::toNativeSeparators(m_path).toStdWString().c_str());
    m_path.clear();
}

#else

namespace {

// Errors that say a file system cannot do it (flush a folder), rather than that it failed.
bool Unsupported(int error) {
    return error == EINVAL || error == ENOTSUP || error == EOPNOTSUPP || error == ENOSYS;
}

} // namespace

bool ReplacementFile::create(const QString& folder, const QString& prefix, const QString& suffix) {
    remove();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QString path = QDir(folder).filePath(prefix + RandomPart() + suffix);
        const int descriptor =
            ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0) {
            m_descriptor = descriptor;
            m_path = path;
            m_replaced = false;
            return true;
        }
        if (errno != EEXIST)
            return fail();
    }
    return fail();
}

bool ReplacementFile::takeAttributesOf(const QString& model) {
    struct stat status {};
    if (::stat(QFile::encodeName(model).constData(), &status) != 0)
        return errno == ENOENT || fail();
    // The owner first: a change of owner clears the set-id bits.
    if (status.st_uid != ::geteuid() || status.st_gid != ::getegid())
        static_cast<void>(::fchown(m_descriptor, status.st_uid, status.st_gid));
    return ::fchmod(m_descriptor, status.st_mode & 07777) == 0 || fail();
}

bool ReplacementFile::write(const QByteArray& bytes) {
    return WriteAll(m_descriptor, std::string_view(bytes.constData(), size_t(bytes.size()))) || fail();
}

bool ReplacementFile::sync() {
    return ::fsync(m_descriptor) == 0 || Unsupported(errno) || fail();
}

bool ReplacementFile::close() {
    if (m_descriptor < 0)
        return true;
    const int descriptor = m_descriptor;
    m_descriptor = -1;
    // A file system that writes late (NFS) may say only now that the writes failed.
    return ::close(descriptor) == 0 || errno == EINTR || fail();
}

bool ReplacementFile::replace(const QString& target) {
    if (!close())
        return false;
    if (::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(target).constData()) != 0)
        return fail();
    m_replaced = true;
    // The rename is on the disk only once the folder is.
    const int folder = ::open(QFile::encodeName(QFileInfo(target).absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return fail();
    const bool synced = ::fsync(folder) == 0 || Unsupported(errno);
    if (!synced)
        m_error = lastSystemError();
    ::close(folder);
    return synced;
}

void ReplacementFile::remove() {
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
    if (!m_path.isEmpty() && !m_replaced)
        ::unlink(QFile::encodeName(m_path).constData());
    m_path.clear();
}

#endif
