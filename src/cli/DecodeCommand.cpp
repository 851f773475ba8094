// SPDX-License-Identifier: MIT
#include <QBuffer>
#include <QCommandLineParser>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "Commands.h"
#include "code/Sections.h"
#include "decoder/Decoder.h"
#include "settings/SettingsLayout.h"
#include "text/EscapeControls.h"

namespace {

const char kDecodeHelp[] = "usage: glomiecode-cli decode [--json] [--each-line] [CODE]\n"
                           "\n"
                           "Reads a Glomie Code and says what it means, one sentence a line, grouped by\n"
                           "page. CODE is the code, or any text that holds one (quote it: a code holds\n"
                           "blanks and characters the shell treats specially); several arguments are\n"
                           "joined with blanks. Without CODE the text is read from standard input.\n"
                           "\n"
                           "options:\n"
                           "  --json      print, as one JSON object, the answers the code carries (every\n"
                           "              settings value by its name, grouped by the settings sections\n"
                           "              SM, Fav, Dis, Exp, Op and Per, and under \"notStored\" the\n"
                           "              answers the encoder does not keep in its settings), the\n"
                           "              sentences and the problems\n"
                           "  --each-line read one code from each line of the input (standard input,\n"
                           "              or CODE's lines) and print the results in order: each code's\n"
                           "              sentences after a line \"== line N\", or with --json one JSON\n"
                           "              object a line, with \"line\" added; a line that cannot be read\n"
                           "              gives its problems there, and the others go on\n"
                           "  -h, --help  show this help\n"
                           "\n"
                           "Positions count characters from 0, from the start of the text.\n"
                           "\n"
                           "exit status: 0 when all of the code was read; 3 when some of it could not be\n"
                           "(the rest is still printed, and each problem is told on standard error);\n"
                           "1 when the text holds no Glomie Code; 2 for a wrong option. With --each-line,\n"
                           "1 when any line holds no code, else 3 when any was read only in part.\n";

// The position as a count of characters rather than UTF-8 bytes.
qsizetype CharacterPosition(const QByteArray& text, size_t bytes) {
    return QString::fromUtf8(text.left(static_cast<qsizetype>(bytes))).size();
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The answers as SaveSettings writes them, by section and value name.
class JsonAnswers : public ProfileStore {
  public:
    int32_t getProfileInt(std::string_view, std::string_view, int32_t def) override { return def; }
    bool writeProfileInt(std::string_view section, std::string_view name, int32_t value) override {
        put(QString::fromLatin1(section.data(), static_cast<qsizetype>(section.size())),
            QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())), value, m_stored);
        return true;
    }
    void putUnstored(const UnstoredAnswer& answer) {
        put(QString::fromLatin1(answer.Section), QString::fromLatin1(answer.Name), answer.Value, m_unstored);
    }
    QJsonObject stored() const { return object(m_stored); }
    QJsonObject unstored() const { return object(m_unstored); }

  private:
    using Sections = std::map<QString, QJsonObject>;
    // Each section's object is filled in place: taking it out and putting it back for every value
    // would copy it each time.
    static void put(const QString& section, const QString& name, int32_t value, Sections& into) {
        into[section].insert(name, value);
    }
    static QJsonObject object(const Sections& sections) {
        QJsonObject all;
        for (const auto& [name, values] : sections)
            all.insert(name, values);
        return all;
    }

    Sections m_stored, m_unstored;
};

QJsonDocument ResultJson(DecodeResult& result, const QByteArray& text) {
    JsonAnswers answers;
    SaveSettings(answers, result.Answers);
    for (const UnstoredAnswer& unstored : UnstoredAnswers(result.Answers))
        answers.putUnstored(unstored);
    QJsonArray sentences;
    for (const DecodedSentence& s : result.Sentences) {
        sentences.append(QJsonObject{{"section", s.Section},
                                     {"title", QString::fromLatin1(SectionTitle(s.Section))},
                                     {"position", CharacterPosition(text, s.Position)},
                                     {"text", FromUtf8(result.text(s))},
                                     {"ambiguous", s.Ambiguous}});
    }
    QJsonArray problems;
    for (const DecodeProblem& p : result.Problems) {
        problems.append(QJsonObject{{"position", CharacterPosition(text, p.Position)},
                                    {"text", FromUtf8(p.Text)},
                                    {"message", FromUtf8(p.Message)}});
    }
    const QByteArray code = text.mid(static_cast<qsizetype>(result.CodeBegin),
                                     static_cast<qsizetype>(result.CodeEnd - result.CodeBegin));
    return QJsonDocument(QJsonObject{{"code", QString::fromUtf8(code)},
                                     {"complete", result.complete()},
                                     {"answers", answers.stored()},
                                     {"notStored", answers.unstored()},
                                     {"sentences", sentences},
                                     {"problems", problems}});
}

// The same object as ResultJson, written on one line without Qt's JSON classes: a batch of ten
// thousand codes spends most of its time there otherwise. Keys in the same (sorted) order.
class JsonLine {
  public:
    JsonLine() { m_text.reserve(16 * 1024); }
    void key(std::string_view name) {
        separate();
        quoted(name);
        m_text += ':';
        m_first = true; // the value follows without a comma
    }
    void open(char bracket) {
        separate();
        m_text += bracket;
        m_first = true;
    }
    void close(char bracket) {
        m_text += bracket;
        m_first = false;
    }
    void number(long long value) {
        separate();
        m_text += std::to_string(value);
    }
    void boolean(bool value) {
        separate();
        m_text += value ? "true" : "false";
    }
    void string(std::string_view text) {
        separate();
        quoted(text);
    }
    std::string& text() { return m_text; }

  private:
    void quoted(std::string_view text) {
        m_text += '"';
        static constexpr char kHex[] = "0123456789abcdef";
        size_t at = 0;
        while (at < text.size()) {
            // What needs no escape is copied a run at a time.
            size_t end = at;
            while (end < text.size() && text[end] != '"' && text[end] != '\\' &&
                   static_cast<unsigned char>(text[end]) >= 0x20)
                ++end;
            m_text.append(text.data() + at, end - at);
            if (end == text.size())
                break;
            const char c = text[end];
            const char* named = c == '"'    ? "\\\""
                                : c == '\\' ? "\\\\"
                                : c == '\n' ? "\\n"
                                : c == '\r' ? "\\r"
                                : c == '\t' ? "\\t"
                                : c == '\b' ? "\\b"
                                : c == '\f' ? "\\f"
                                            : nullptr;
            if (named) {
                m_text += named;
            } else {
                m_text += "\\u00";
                m_text += kHex[c >> 4];
                m_text += kHex[c & 0xF];
            }
            at = end + 1;
        }
        m_text += '"';
    }
    void separate() {
        if (!m_first)
            m_text += ',';
        m_first = false;
    }

    std::string m_text;
    bool m_first = true;
};

// Answers by section and value name, sorted as JSON objects sort them.
class SortedAnswers : public ProfileStore {
  public:
    using Sections = std::map<std::string, std::map<std::string, int32_t>, std::less<>>;
    int32_t getProfileInt(std::string_view, std::string_view, int32_t def) override { return def; }
    bool writeProfileInt(std::string_view section, std::string_view name, int32_t value) override {
        m_sections[std::string(section)][std::string(name)] = value;
        return true;
    }
    Sections& sections() { return m_sections; }

  private:
    Sections m_sections;
};

void WriteSections(JsonLine& json, const SortedAnswers::Sections& sections) {
    json.open('{');
    for (const auto& [section, values] : sections) {
        json.key(section);
        json.open('{');
        for (const auto& [name, value] : values) {
            json.key(name);
            json.number(value);
        }
        json.close('}');
    }
    json.close('}');
}

// Positions in characters (UTF-16 units, as JSON readers count them); plain ASCII is counted at once.
class CharacterPositions {
  public:
    explicit CharacterPositions(const QByteArray& text)
        : m_text(text), m_ascii(std::all_of(text.begin(), text.end(), [](char c) { return c >= 0; })) {}
    long long operator()(size_t bytes) const {
        return m_ascii ? static_cast<long long>(bytes) : CharacterPosition(m_text, bytes);
    }

  private:
    const QByteArray& m_text;
    bool m_ascii;
};

std::string ResultJsonLine(const DecodeResult& result, const QByteArray& text, qsizetype line) {
    SortedAnswers stored;
    SaveSettings(stored, result.Answers);
    SortedAnswers unstored;
    for (const UnstoredAnswer& answer : UnstoredAnswers(result.Answers))
        unstored.writeProfileInt(answer.Section, answer.Name, answer.Value);
    const CharacterPositions position(text);
    JsonLine json;
    json.open('{');
    json.key("answers");
    WriteSections(json, stored.sections());
    json.key("code");
    json.string(std::string_view(text.constData(), text.size())
                    .substr(result.CodeBegin, result.CodeEnd - result.CodeBegin));
    json.key("complete");
    json.boolean(result.complete());
    json.key("line");
    json.number(line);
    json.key("notStored");
    WriteSections(json, unstored.sections());
    json.key("problems");
    json.open('[');
    for (const DecodeProblem& p : result.Problems) {
        json.open('{');
        json.key("message");
        json.string(p.Message);
        json.key("position");
        json.number(position(p.Position));
        json.key("text");
        json.string(p.Text);
        json.close('}');
    }
    json.close(']');
    json.key("sentences");
    json.open('[');
    for (const DecodedSentence& s : result.Sentences) {
        json.open('{');
        json.key("ambiguous");
        json.boolean(s.Ambiguous);
        json.key("position");
        json.number(position(s.Position));
        json.key("section");
        json.number(s.Section);
        json.key("text");
        json.string(result.text(s));
        json.key("title");
        json.string(SectionTitle(s.Section));
        json.close('}');
    }
    json.close(']');
    json.close('}');
    return std::move(json.text());
}

// A line of --each-line --json that holds no code at all.
QJsonObject NoCodeJson() {
    return QJsonObject{
        {"code", QJsonValue::Null},
        {"complete", false},
        {"answers", QJsonObject()},
        {"notStored", QJsonObject()},
        {"sentences", QJsonArray()},
        {"problems",
         QJsonArray{QJsonObject{{"position", 0},
                                {"text", QString()},
                                {"message", QStringLiteral("no Glomie Code found: a code starts with \"") +
                                                QString::fromLatin1(kHeaderPrefix) + QLatin1Char('"')}}}}};
}

void PrintSentences(const DecodeResult& result, QTextStream& out) {
    const char* heading = nullptr;
    for (const DecodedSentence& s : result.Sentences) {
        const char* title = SectionTitle(s.Section);
        if (!heading || qstrcmp(heading, title) != 0)
            out << title << '\n';
        heading = title;
        out << "  " << FromUtf8(result.text(s)) << '\n';
    }
}

} // namespace

DecodeResult DecodeText(const QByteArray& text) {
    return DecodeGlomieCode(std::string_view(text.constData(), static_cast<size_t>(text.size())));
}

void PrintDecodeProblems(const DecodeResult& result, const QByteArray& text, QTextStream& err) {
    if (!result.HeaderFound) {
        err << "glomiecode-cli: no Glomie Code found: a code starts with \"" << kHeaderPrefix << "\"\n";
        return;
    }
    // The text comes from the user's input, which may hold terminal controls (ESC ] 0 ; ... BEL
    // retitles a terminal): they are shown, not obeyed.
    for (const DecodeProblem& p : result.Problems) {
        err << "glomiecode-cli: cannot read the code at position " << CharacterPosition(text, p.Position)
            << ", \"" << FromUtf8(EscapeControls(p.Text)) << "\": " << FromUtf8(EscapeControls(p.Message))
            << '\n';
    }
}

std::optional<int> ParseCommandLine(QCommandLineParser& parser, const char* command, CommandContext& context,
                                    const char* help) {
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    if (!parser.parse(QStringList{QString::fromLatin1(command)} + context.arguments)) {
        context.err << "glomiecode-cli: " << ForTerminal(parser.errorText()) << "\n\n" << help;
        return ExitUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        context.out << help;
        return ExitOk;
    }
    return std::nullopt;
}

namespace {

// decode --each-line: one code a line, each result in order; the worst status of them all.
int DecodeEachLine(QIODevice& input, bool json, CommandContext& context) {
    int status = ExitOk;
    qsizetype number = 0;
    const auto worse = [&status](int other) {
        if (other == ExitFailure || (other == ExitPartly && status == ExitOk))
            status = other;
    };
    while (!input.atEnd()) {
        QByteArray line = input.readLine();
        if (line.isEmpty() && input.atEnd()) // a pipe tells its end only when read
            break;
        ++number;
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        DecodeResult result = DecodeText(line);
        if (!result.HeaderFound) {
            worse(ExitFailure);
            context.err << "glomiecode-cli: line " << number << ": no Glomie Code found\n";
        } else if (!result.complete()) {
            worse(ExitPartly);
            context.err << "glomiecode-cli: line " << number << ":\n";
            PrintDecodeProblems(result, line, context.err);
        }
        if (json && result.HeaderFound) {
            // Bytes as they are: through the text stream each line would go to UTF-16 and back.
            std::string json = ResultJsonLine(result, line, number);
            json += '\n';
            context.out.flush();
            std::fwrite(json.data(), 1, json.size(), stdout);
        } else if (json) {
            QJsonObject object = NoCodeJson();
            object.insert(QStringLiteral("line"), number);
            context.out << QJsonDocument(object).toJson(QJsonDocument::Compact) << '\n';
        } else {
            context.out << "== line " << number << '\n';
            PrintSentences(result, context.out);
        }
    }
    return status;
}

} // namespace

int RunDecode(CommandContext& context) {
    QCommandLineParser parser;
    const QCommandLineOption json(QStringLiteral("json"));
    const QCommandLineOption eachLine(QStringLiteral("each-line"));
    parser.addOption(json);
    parser.addOption(eachLine);
    if (const auto done = ParseCommandLine(parser, "decode", context, kDecodeHelp))
        return *done;
    if (parser.isSet(eachLine)) {
        QFile in;
        QByteArray given = parser.positionalArguments().join(QLatin1Char(' ')).toUtf8();
        QBuffer buffer(&given);
        QIODevice& input = parser.positionalArguments().isEmpty() ? static_cast<QIODevice&>(in) : buffer;
        if (!(parser.positionalArguments().isEmpty() ? in.open(stdin, QIODevice::ReadOnly)
                                                     : buffer.open(QIODevice::ReadOnly))) {
            context.err << "glomiecode-cli: cannot read standard input\n";
            return ExitFailure;
        }
        return DecodeEachLine(input, parser.isSet(json), context);
    }
    QByteArray text;
    if (parser.positionalArguments().isEmpty()) {
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly)) {
            context.err << "glomiecode-cli: cannot read standard input\n";
            return ExitFailure;
        }
        text = in.readAll();
    } else {
        text = parser.positionalArguments().join(QLatin1Char(' ')).toUtf8();
    }

    DecodeResult result = DecodeText(text);
    PrintDecodeProblems(result, text, context.err);
    if (!result.HeaderFound)
        return ExitFailure;
    if (parser.isSet(json))
        context.out << ResultJson(result, text).toJson(QJsonDocument::Indented);
    else
        PrintSentences(result, context.out);
    return result.complete() ? ExitOk : ExitPartly;
}
