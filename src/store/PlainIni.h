// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <map>

// A settings file in the INI form QSettings reads and writes, with every value kept as the plain text
// it is: what the settings library would make of "@Variant(...)" (data of any type, deserialised),
// "@ByteArray(...)" or "@Rect(...)" stays text here, and is written back as it came. Written out, a
// file has the groups, keys, escaping, order and line ends QSettings gives it, so that a file saved
// here is the one QSettings would have saved.
class PlainIni {
  public:
    struct Value {
        QString text;
        QStringList list; // a value with a comma outside quotes is a list of texts
        bool isList = false;
        bool operator==(const Value&) const = default;
    };

    PlainIni() = default;
    explicit PlainIni(QByteArrayView data);

    // False when a group header has no ']' (the file is no INI file).
    bool headersOk() const { return m_headersOk; }
    // False when some line is no setting either (a line without '=' that is no ';' comment, as
    // "# comment"): rewriting the file would lose it.
    bool allLinesAreSettings() const { return m_headersOk && m_linesOk; }

    // A key is "group/name" ("name" alone in the General group).
    const Value* find(const QString& key) const;
    QStringList keys() const;
    void set(const QString& key, const QString& text);
    // The file's text, as QSettings writes it.
    QByteArray text() const;

    // The same keys with the same values (in whatever order they were read or set).
    bool operator==(const PlainIni& other) const;

  private:
    struct Entry {
        QString key; // as first met: where keys ignore case, later spellings update its value only
        Value value;
        qsizetype position; // where keys keep their order in the file (Windows); -1 for a new one
    };
    void parseGroup(const QString& group, QByteArrayView data, qsizetype position);

    std::map<QString, Entry> m_entries; // by key (folded to lower case where keys ignore case)
    bool m_headersOk = true;
    bool m_linesOk = true;
};
