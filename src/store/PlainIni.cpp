// SPDX-License-Identifier: MIT
#include "store/PlainIni.h"

#include "platform/NativeSettings.h"
#include "text/HexDigit.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <vector>

namespace {

// As QSettings has them: on Windows an INI file's keys ignore case and keep the order they have in
// the file, with new keys and groups ahead of the others; elsewhere keys are exact and sorted.
const bool kKeysKeepOrder = IniKeysIgnoreCaseAndKeepOrder();
const QByteArray kLineEnd = IniLineEnd();

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool EndsARun(char c) {
    return c == '\n' || c == '\r' || c == '"' || c == ';' || c == '=' || c == '\\';
}

QString Folded(const QString& key) {
    return kKeysKeepOrder ? key.toLower() : key;
}

// The next line from pos: a quoted part or a backslash can carry it over a line end, a ';' outside
// quotes ends it, and a line that starts with ';' is a comment, skipped. equals is where its first
// '=' outside quotes is, or -1. False at the end of the data.
bool NextLine(QByteArrayView data, qsizetype& pos, qsizetype& start, qsizetype& length, qsizetype& equals) {
    const qsizetype size = data.size();
    bool inQuotes = false;
    equals = -1;
    start = pos;
    while (start < size && IsBlank(data[start]))
        ++start;
    qsizetype i = start;
    while (i < size) {
        const char c = data[i++];
        if (!EndsARun(c))
            continue;
        if (c == '=') {
            if (!inQuotes && equals < 0)
                equals = i - 1;
        } else if (c == '\n' || c == '\r') {
            if (i == start + 1) {
                ++start;
            } else if (!inQuotes) {
                --i;
                break;
            }
        } else if (c == '\\') {
            if (i < size) {
                const char next = data[i++];
                if (i < size && ((next == '\n' && data[i] == '\r') || (next == '\r' && data[i] == '\n')))
                    ++i;
            }
        } else if (c == '"') {
            inQuotes = !inQuotes;
        } else if (i == start + 1) { // ';' opening a line: a comment, and the blanks after it
            while (i < size && data[i] != '\n' && data[i] != '\r')
                ++i;
            while (i < size && IsBlank(data[i]))
                ++i;
            start = i;
        } else if (!inQuotes) {
            --i;
            break;
        }
    }
    pos = i;
    length = i - start;
    return length > 0;
}

// A key or a group name: '\' stands for '/', "%XX" and "%UXXXX" for a character.
QString UnescapeKey(QByteArrayView key) {
    const QString text = QString::fromUtf8(key);
    QString result;
    result.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == u'\\') {
            result += u'/';
            ++i;
            continue;
        }
        if (c != u'%' || i == text.size() - 1) {
            result += c;
            ++i;
            continue;
        }
        const bool wide = text[i + 1] == u'U';
        const qsizetype first = i + (wide ? 2 : 1);
        const qsizetype digits = wide ? 4 : 2;
        bool ok = first + digits <= text.size();
        // Read as QSettings reads it (blanks around the digits pass).
        const char16_t value = ok ? QStringView(text).sliced(first, digits).toUShort(&ok, 16) : 0;
        if (!ok) {
            result += u'%';
            ++i;
            continue;
        }
        result += QChar(value);
        i = first + digits;
    }
    return result;
}

void EscapeKey(const QString& key, QByteArray& out) {
    for (const QChar c : key) {
        const char16_t u = c.unicode();
        if (u == '/')
            out += '\\';
        else if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' ||
                 u == '-' || u == '.')
            out += char(u);
        else if (u <= 0xFF)
            out += '%' + QByteArray::number(u, 16).toUpper().rightJustified(2, '0');
        else
            out += "%U" + QByteArray::number(u, 16).toUpper().rightJustified(4, '0');
    }
}

void ChopBlanks(QString& text, qsizetype limit) {
    while (text.size() > limit && (text.back() == u' ' || text.back() == u'\t'))
        text.chop(1);
}

// A value as its text: quotes taken off, C escapes read, blanks around it dropped; with a comma outside
// quotes, a list. Nothing else: "@..." is text like any other.
PlainIni::Value UnescapeValue(QByteArrayView s) {
    static constexpr char kEscapes[][2] = {{'a', '\a'}, {'b', '\b'},  {'f', '\f'}, {'n', '\n'},
                                           {'r', '\r'}, {'t', '\t'},  {'v', '\v'}, {'"', '"'},
                                           {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
    PlainIni::Value value;
    QString& text = value.text;
    QStringDecoder fromUtf8(QStringDecoder::Utf8);
    bool inQuotes = false;
    bool quoted = false;
    const qsizetype size = s.size();
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < size && (s[i] == ' ' || s[i] == '\t'))
            ++i;
    };
    skipBlanks();
    qsizetype chopLimit = 0; // blanks after an escape or inside quotes are the value's own
    bool chopAtEnd = true;
    while (i < size) {
        const char c = s[i];
        if (c == '\\') {
            ++i;
            if (i >= size) {
                chopAtEnd = false;
                break;
            }
            const char e = s[i++];
            const auto simple = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                             [e](const char(&row)[2]) { return row[0] == e; });
            if (simple != std::end(kEscapes)) {
                text += QLatin1Char((*simple)[1]);
            } else if ((e == 'x' && i < size && HexDigitValue(uchar(s[i])) >= 0) || (e >= '0' && e <= '7')) {
                const bool hex = e == 'x';
                char16_t code = hex ? 0 : char16_t(e - '0');
                while (i < size && (hex ? HexDigitValue(uchar(s[i])) >= 0 : (s[i] >= '0' && s[i] <= '7')))
                    code =
                        char16_t(hex ? code * 16 + HexDigitValue(uchar(s[i++])) : code * 8 + (s[i++] - '0'));
                text += QChar(code);
                if (i >= size) {
                    chopAtEnd = false;
                    break;
                }
            } else if (e == 'x' && i >= size) {
                chopAtEnd = false;
                break;
            } else if ((e == '\n' || e == '\r') && i < size && (s[i] == '\n' || s[i] == '\r') && s[i] != e) {
                ++i; // a line carried over "\<CR><LF>"
            }
            chopLimit = text.size();
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipBlanks();
                chopLimit = text.size();
            }
        } else if (c == ',' && !inQuotes) {
            if (!quoted)
                ChopBlanks(text, chopLimit);
            value.isList = true;
            value.list.append(text);
            text.clear();
            quoted = false;
            ++i;
            skipBlanks();
            chopLimit = 0;
        } else {
            qsizetype j = i + 1;
            while (j < size && s[j] != '\\' && s[j] != '"' && s[j] != ',')
                ++j;
            text += fromUtf8(s.sliced(i, j - i));
            i = j;
        }
    }
    if (chopAtEnd && !quoted)
        ChopBlanks(text, chopLimit);
    if (value.isList) {
        value.list.append(text);
        text.clear();
    }
    return value;
}

// A text as a value: C escapes for control characters, quotes where it has ',', ';' or '=' or blanks
// at its ends; the data QSettings writes as "@ByteArray(...)", "@Variant(...)" or "@DateTime(...)"
// keeps its bytes past 0x7E escaped, all else is UTF-8.
void EscapeText(const QString& text, QByteArray& out) {
    const bool utf8 = !text.startsWith(QLatin1String("@ByteArray(")) &&
                      !text.startsWith(QLatin1String("@Variant(")) &&
                      !text.startsWith(QLatin1String("@DateTime("));
    QStringEncoder toUtf8(QStringEncoder::Utf8);
    bool needsQuotes = false;
    bool escapeNextIfHex = false; // after "\0" or "\xNN", a hex digit would be read as part of it
    const qsizetype start = out.size();
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == ';' || c == ',' || c == '=')
            needsQuotes = true;
        if (escapeNextIfHex && HexDigitValue(c) >= 0) {
            out += "\\x" + QByteArray::number(c, 16);
            continue;
        }
        escapeNextIfHex = false;
        switch (c) {
        case '\0':
            out += "\\0";
            escapeNextIfHex = true;
            break;
        case '\a':
            out += "\\a";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\v':
            out += "\\v";
            break;
        case '"':
        case '\\':
            out += '\\';
            out += char(c);
            break;
        default:
            if (c <= 0x1F || (c >= 0x7F && !utf8)) {
                out += "\\x" + QByteArray::number(c, 16);
                escapeNextIfHex = true;
            } else if (c < 0x7F) {
                out += char(c);
            } else {
                out += toUtf8(QStringView(&qc, 1));
            }
        }
    }
    if (needsQuotes || (start < out.size() && (out[start] == ' ' || out.back() == ' '))) {
        out.insert(start, '"');
        out += '"';
    }
}

} // namespace

PlainIni::PlainIni(QByteArrayView data) {
    struct Group {
        QString name;
        qsizetype position;
        QByteArray lines;
    };
    std::map<QString, Group> groups; // a group named twice is one
    QString group;                   // "" for General, else its name and '/'
    qsizetype groupStart = 0;
    qsizetype groupPosition = 0;
    qsizetype position = 0; // lines so far, which orders the keys where they keep their order
    qsizetype pos = data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype equals = -1;
    const auto closeGroup = [&](qsizetype end) {
        const auto [it, added] = groups.try_emplace(Folded(group), Group{group, groupPosition, {}});
        if (!it->second.lines.isEmpty())
            it->second.lines += '\n';
        it->second.lines += data.sliced(groupStart, end - groupStart);
        groupPosition = ++position;
    };
    while (NextLine(data, pos, start, length, equals)) {
        const QByteArrayView line = data.sliced(start, length);
        if (line.startsWith('[')) {
            closeGroup(start);
            qsizetype close = line.indexOf(']');
            if (close < 0) {
                m_headersOk = false;
                close = length;
            }
            const QByteArrayView name = line.first(close).sliced(1).trimmed();
            if (name.compare("general", Qt::CaseInsensitive) == 0) {
                group.clear();
            } else {
                group = name.compare("%general", Qt::CaseInsensitive) == 0
                            ? QString::fromLatin1(name.sliced(1))
                            : UnescapeKey(name);
                group += u'/';
            }
            groupStart = pos;
        }
        ++position;
    }
    closeGroup(data.size());
    for (const auto& [folded, g] : groups)
        parseGroup(g.name, g.lines, g.position);
}

void PlainIni::parseGroup(const QString& group, QByteArrayView data, qsizetype position) {
    qsizetype pos = 0;
    qsizetype start = 0;
    qsizetype length = 0;
    qsizetype equals = -1;
    while (NextLine(data, pos, start, length, equals)) {
        const QByteArrayView line = data.sliced(start, length);
        if (equals < 0) {
            if (!line.startsWith(';'))
                m_linesOk = false;
            continue;
        }
        const QString key = group + UnescapeKey(line.first(equals - start).trimmed());
        Value value = UnescapeValue(line.sliced(equals - start + 1));
        const auto [it, added] =
            m_entries.try_emplace(Folded(key), Entry{key, value, kKeysKeepOrder ? position : -1});
        if (!added)
            it->second.value = std::move(value);
        ++position;
    }
}

const PlainIni::Value* PlainIni::find(const QString& key) const {
    const auto it = m_entries.find(Folded(key));
    return it == m_entries.end() ? nullptr : &it->second.value;
}

QStringList PlainIni::keys() const {
    QStringList keys;
    for (const auto& [folded, entry] : m_entries)
        keys.append(entry.key);
    return keys;
}

void PlainIni::set(const QString& key, const QString& text) {
    const auto [it, added] = m_entries.try_emplace(Folded(key), Entry{key, {text, {}, false}, -1});
    if (!added)
        it->second.value = Value{text, {}, false};
}

bool PlainIni::operator==(const PlainIni& other) const {
    return std::equal(m_entries.begin(), m_entries.end(), other.m_entries.begin(), other.m_entries.end(),
                      [](const auto& a, const auto& b) {
                          return a.first == b.first && a.second.key == b.second.key &&
                                 a.second.value == b.second.value;
                      });
}

QByteArray PlainIni::text() const {
    // Groups by name as written; a group comes where its first key stood, and keys in the order they
    // stood (where they keep it), new ones first; else both by name.
    struct Group {
        qsizetype position = -1;
        // In order of where they stood, then by name; keys that come to the same line ("/x" and "x")
        // are one, the last.
        std::map<std::pair<qsizetype, QString>, const Value*> keys;
    };
    std::map<QString, Group> groups;
    for (const auto& [folded, entry] : m_entries) {
        const qsizetype slash = entry.key.indexOf(u'/');
        Group& group = groups[slash < 0 ? QString() : entry.key.left(slash)];
        if (size_t(entry.position) < size_t(group.position)) // -1, a new key, comes after every other
            group.position = entry.position;
        group.keys[{entry.position, slash < 0 ? entry.key : entry.key.mid(slash + 1)}] = &entry.value;
    }
    std::vector<std::pair<QString, const Group*>> order;
    for (const auto& [name, group] : groups)
        order.emplace_back(name, &group);
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.second->position < b.second->position; });

    QByteArray out;
    for (const auto& [name, group] : order) {
        QByteArray header;
        EscapeKey(name, header);
        if (header.isEmpty())
            header = "[General]";
        else if (header.compare("general", Qt::CaseInsensitive) == 0)
            header = "[%General]";
        else
            header = '[' + header + ']';
        if (!out.isEmpty())
            out += kLineEnd;
        out += header + kLineEnd;
        for (const auto& [place, value] : group->keys) {
            EscapeKey(place.second, out);
            out += '=';
            if (!value->isList) {
                EscapeText(value->text, out);
            } else {
                for (qsizetype i = 0; i < value->list.size(); ++i) {
                    if (i > 0)
                        out += ", ";
                    EscapeText(value->list[i], out);
                }
            }
            out += kLineEnd;
        }
    }
    return out;
}
