// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "decoder/Decoder.h"
#include "settings/SettingsLayout.h"

namespace {

// The command line ends its lines as its platform does (CRLF on Windows): read as text, each ends in '\n'.
const QIODevice::OpenMode kTextMode = QIODevice::ReadWrite | QIODevice::Text;

struct CliRun {
    int status = -1;
    QString out, err;
};

// Runs the real command line with its own empty home, so no test ever sees the user's settings.
CliRun Decode(const QStringList& arguments, const QByteArray& input = {}) {
    static QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/config"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(GLOMIECODE_CLI), QStringList{QStringLiteral("decode")} + arguments,
                  kTextMode);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

const QString kCode = QStringLiteral("GlomieCode(1.12.05) SM:5-[7+]m+ F:sMo>+++:pSS D:vBe>--- X:***[*] O:h- "
                                     "P:a23:w?:hBrD++m[b]:x75%");

TEST(DecodeCommand, PrintsTheSentencesGroupedByPage) {
    const CliRun run = Decode({kCode});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, QString());
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList headings;
    for (const QString& line : lines) {
        if (!line.startsWith(QLatin1Char(' ')))
            headings << line;
    }
    EXPECT_EQ(headings,
              (QStringList{"Obsession", "Favourites", "Dislikes", "Experience", "Opinions", "Personal"}));
    EXPECT_TRUE(
        lines.contains(QStringLiteral("  Disliked villain: Queen Beryl (increasing, intensity 3 of 3).")))
        << run.out.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("  Weight: not telling.")));
    EXPECT_EQ(lines.size(), 6 + 12); // six headings, twelve sentences
}

TEST(DecodeCommand, ReadsStandardInputWithoutAnArgument) {
    const CliRun fromArgument = Decode({kCode});
    const CliRun fromInput = Decode({}, "My code is\n" + kCode.toUtf8() + "\nbye\n");
    EXPECT_EQ(fromInput.status, 0) << fromInput.err.toStdString();
    EXPECT_EQ(fromInput.out, fromArgument.out);
}

TEST(DecodeCommand, JoinsSeveralArgumentsWithBlanks) {
    const CliRun run =
        Decode({QStringLiteral("GlomieCode(1.12.05)"), QStringLiteral("SM:5"), QStringLiteral("O:h")});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("Hentai: 0 on a scale from -3 to 3.")));
}

TEST(DecodeCommand, APartlyReadCodeExitsWithThreeAndTellsEachProblem) {
    const CliRun run = Decode({QStringLiteral("GlomieCode(1.12.05) SM:5 O:q:h P:a999x")});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err,
              QStringLiteral(
                  "glomiecode-cli: cannot read the code at position 27, \"q\": no such subsection in the "
                  "opinions\nglomiecode-cli: cannot read the code at position 37, \"x\": did not expect "
                  "this here\n"));
    EXPECT_TRUE(run.out.contains(QStringLiteral("Hentai")));
    EXPECT_FALSE(run.out.contains(QStringLiteral("Age")));
}

TEST(DecodeCommand, TextWithoutACodeExitsWithOne) {
    for (const QByteArray& input : {QByteArray("hello world\n"), QByteArray()}) {
        const CliRun run = Decode({}, input);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, QString());
        EXPECT_TRUE(run.err.contains(QStringLiteral("no Glomie Code found"))) << run.err.toStdString();
    }
    EXPECT_EQ(Decode({QStringLiteral("GlomieCode")}).status, 1);
}

TEST(DecodeCommand, JsonHoldsEveryAnswerBySectionAndTheSentences) {
    const CliRun run = Decode({QStringLiteral("--json"), kCode});
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    QJsonParseError error;
    const QJsonObject json = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    EXPECT_EQ(json.value("code").toString(), kCode);
    EXPECT_TRUE(json.value("complete").toBool());
    EXPECT_TRUE(json.value("problems").toArray().isEmpty());

    // Every settings value under its section, with the value the decoder gives.
    DecodeResult decoded = DecodeGlomieCode(kCode.toStdString());
    struct Expected : ProfileStore {
        std::vector<std::tuple<QString, QString, int32_t>> values;
        int32_t getProfileInt(std::string_view, std::string_view, int32_t def) override { return def; }
        bool writeProfileInt(std::string_view section, std::string_view name, int32_t value) override {
            values.emplace_back(QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())),
                                QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())), value);
            return true;
        }
    } expected;
    SaveSettings(expected, decoded.Answers);
    const QJsonObject answers = json.value("answers").toObject();
    EXPECT_EQ(answers.keys(), (QStringList{"Dis", "Exp", "Fav", "Op", "Per", "SM"}));
    int values = 0;
    for (const QString& section : answers.keys())
        values += static_cast<int>(answers.value(section).toObject().size());
    EXPECT_EQ(values, static_cast<int>(expected.values.size()));
    for (const auto& [section, name, value] : expected.values) {
        const QJsonValue found = answers.value(section).toObject().value(name);
        ASSERT_TRUE(found.isDouble()) << section.toStdString() << "/" << name.toStdString();
        EXPECT_EQ(found.toInt(), value) << section.toStdString() << "/" << name.toStdString();
    }
    EXPECT_EQ(answers.value("SM").toObject().value("Pri").toInt(), 14);
    EXPECT_EQ(answers.value("Dis").toObject().value("Villian0").toInt(), 14);

    const QJsonObject notStored = json.value("notStored").toObject();
    EXPECT_EQ(notStored.value("Per").toObject().value("NoTellWeight").toInt(), 1);
    EXPECT_EQ(notStored.value("Per").toObject().value("NoTellFat").toInt(), 0);
    EXPECT_TRUE(notStored.value("Exp").toObject().contains("BoostMangaSub"));

    const QJsonArray sentences = json.value("sentences").toArray();
    ASSERT_EQ(sentences.size(), static_cast<qsizetype>(decoded.Sentences.size()));
    const QJsonObject ambiguous = sentences.at(4).toObject();
    EXPECT_EQ(ambiguous.value("section").toInt(), 4);
    EXPECT_EQ(ambiguous.value("title").toString(), "Favourites");
    EXPECT_TRUE(ambiguous.value("ambiguous").toBool());
    EXPECT_EQ(ambiguous.value("text").toString().toStdString(), decoded.text(decoded.Sentences[4]));
}

TEST(DecodeCommand, JsonTellsProblemsByCharacterPosition) {
    // "é" is two bytes but one character.
    const CliRun run =
        Decode({QStringLiteral("--json"), QStringLiteral("\u00e9 GlomieCode(1.12.05) SM:5 O:q")});
    EXPECT_EQ(run.status, 3);
    const QJsonObject json = QJsonDocument::fromJson(run.out.toUtf8()).object();
    EXPECT_FALSE(json.value("complete").toBool());
    const QJsonArray problems = json.value("problems").toArray();
    ASSERT_EQ(problems.size(), 1);
    EXPECT_EQ(problems.at(0).toObject().value("position").toInt(), 29);
    EXPECT_EQ(problems.at(0).toObject().value("text").toString(), "q");
    EXPECT_TRUE(run.err.contains(QStringLiteral("position 29")));
}

// A direction control: explicit embeddings, overrides and isolates by their class, the marks by name.
bool TurnsTheLine(QChar c) {
    switch (c.direction()) {
    case QChar::DirLRE:
    case QChar::DirLRO:
    case QChar::DirRLE:
    case QChar::DirRLO:
    case QChar::DirPDF:
    case QChar::DirLRI:
    case QChar::DirRLI:
    case QChar::DirFSI:
    case QChar::DirPDI:
        return true;
    default:
        return c == u'\u200e' || c == u'\u200f' || c == u'\u061c';
    }
}

// A code pasted from anywhere may hold terminal controls: ESC ] 0 ; ... BEL retitles the window, a
// C1 CSI starts a control sequence, backspaces rub out what was shown, a right-to-left override
// turns the rest of the line around. Told, never obeyed.
TEST(DecodeCommand, ProblemsShowControlCharactersWithoutObeyingThem) {
    const struct {
        QByteArray code;
        QString shown;
    } cases[] = {
        {"GlomieCode(1.12.05) SM:5m- F:s\x1b]0;pwned\x07 O:h", QStringLiteral("\\x1B]0;pwned\\x07")},
        {"GlomieCode(1.12.05) SM:5m- O:h\xc2\x9b"
         "2J",
         QStringLiteral("\\xC2\\x9B2J")},
        {"GlomieCode(1.12.05) SM:5m- P:e\b\bfake\x7f", QStringLiteral("\\x08\\x08fake\\x7F")},
        {"GlomieCode(1.12.05) SM:5m- O:h\xe2\x80\xae"
         "evil\xe2\x81\xa6",
         QStringLiteral("\\u202Eevil\\u2066")},
    };
    for (const auto& hostile : cases) {
        const CliRun run = Decode({QString::fromUtf8(hostile.code)});
        EXPECT_EQ(run.status, 3) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(hostile.shown)) << run.err.toStdString();
        for (const QChar c : run.err)
            EXPECT_TRUE(c == u'\n' ||
                        (c >= u' ' && c != u'\x7f' && (c < u'\x80' || c > u'\x9f') && !TurnsTheLine(c)))
                << "control character " << int(c.unicode()) << " in " << run.err.toStdString();
    }
}

// One code a line: every line gives its result in order, one that cannot be read its problems there,
// and the status is the worst of them.
TEST(DecodeCommand, EachLineGivesItsResultInOrder) {
    const QByteArray input = kCode.toUtf8() + "\nno code here\r\nGlomieCode(1.12.05) SM:5 O:q\n";
    const CliRun json = Decode({QStringLiteral("--each-line"), QStringLiteral("--json")}, input);
    EXPECT_EQ(json.status, 1);
    const QStringList lines = json.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << json.out.toStdString();
    const CliRun single = Decode({QStringLiteral("--json"), kCode});
    QJsonObject first = QJsonDocument::fromJson(lines[0].toUtf8()).object();
    EXPECT_EQ(first.take(QStringLiteral("line")).toInt(), 1);
    EXPECT_EQ(first, QJsonDocument::fromJson(single.out.toUtf8()).object());
    const QJsonObject none = QJsonDocument::fromJson(lines[1].toUtf8()).object();
    EXPECT_EQ(none.value(QStringLiteral("line")).toInt(), 2);
    EXPECT_TRUE(none.value(QStringLiteral("code")).isNull());
    EXPECT_FALSE(none.value(QStringLiteral("problems")).toArray().isEmpty());
    const QJsonObject partly = QJsonDocument::fromJson(lines[2].toUtf8()).object();
    EXPECT_EQ(partly.value(QStringLiteral("line")).toInt(), 3);
    EXPECT_FALSE(partly.value(QStringLiteral("complete")).toBool());
    EXPECT_EQ(partly.value(QStringLiteral("problems")).toArray().size(), 1);

    const CliRun text =
        Decode({QStringLiteral("--each-line")}, kCode.toUtf8() + "\nGlomieCode(1.12.05) SM:5 O:q");
    EXPECT_EQ(text.status, 3);
    EXPECT_EQ(text.out, "== line 1\n" + Decode({kCode}).out + "== line 2\n" +
                            Decode({QStringLiteral("GlomieCode(1.12.05) SM:5 O:q")}).out);
    EXPECT_TRUE(text.err.contains(QStringLiteral("line 2"))) << text.err.toStdString();
}

TEST(DecodeCommand, HelpDescribesEveryOption) {
    const CliRun run = Decode({QStringLiteral("--help")});
    EXPECT_EQ(run.status, 0);
    for (const char* text : {"usage: glomiecode-cli decode [--json] [--each-line] [CODE]", "--json",
                             "--each-line", "-h, --help", "standard input", "exit status"})
        EXPECT_TRUE(run.out.contains(QLatin1String(text))) << text;
}

TEST(DecodeCommand, AnUnknownOptionIsAUsageError) {
    const CliRun run = Decode({QStringLiteral("--xml"), kCode});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("usage:")));
}

} // namespace
