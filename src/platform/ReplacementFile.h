// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

// A new file made beside the one it is to replace, on the same file system, and put in its place in
// one step once it is whole and on the disk: until then the old file is untouched. Every step checks
// what the system says, and error() tells it in the system's words ("No space left on device").
class ReplacementFile {
  public:
    ReplacementFile() = default;
    // Removes the file, unless it has replaced another.
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Makes a new, empty file in folder, named prefix + six random letters and digits + suffix.
    bool create(const QString& folder, const QString& prefix, const QString& suffix);
    // Gives it the permissions of the file at model, and its owner where the system allows; a model
    // that does not exist leaves the new file as made.
    bool takeAttributesOf(const QString& model);
    bool write(const QByteArray& bytes);
    // Flushes what was written to the disk.
    bool sync();
    bool close();
    // Renames the file over target, where the platform allows also flushing the folder to the disk.
    // False with the file in place when only that flush failed: see replaced().
    bool replace(const QString& target);
    bool replaced() const { return m_replaced; }
    void remove();

    QString path() const { return m_path; }
    QString error() const { return m_error; }

  private:
    bool fail();

    QString m_path;
    QString m_error;
    bool m_replaced = false;
#ifdef Q_OS_WIN
    void* m_handle = nullptr;
#else
    int m_descriptor = -1;
#endif
};
