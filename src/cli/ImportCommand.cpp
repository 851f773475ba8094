// SPDX-License-Identifier: MIT
#include <QCommandLineParser>

#include "Commands.h"
#include "code/Encode.h"
#include "settings/SettingsLayout.h"

namespace {

const char kImportHelp[] = "usage: glomiecode-cli import [--settings FILE] CODE\n"
                           "\n"
                           "Stores the answers a Glomie Code carries, so that the encoder carries on from\n"
                           "them: afterwards `glomiecode-cli code` with the same store prints CODE again.\n"
                           "Quote CODE; several arguments are joined with blanks. Every answer is written\n"
                           "at once, and only when all of the code was read; otherwise nothing changes.\n"
                           "Whatever the code leaves out is stored as a first run has it.\n"
                           "\n"
                           "options:\n"
                           "  --settings FILE  store into FILE, an INI file (made when missing), instead\n"
                           "                   of the encoder's own stored answers\n"
                           "  -h, --help       show this help\n"
                           "\n"
                           "exit status: 0 when the answers were stored; 3 when they were not because\n"
                           "the text holds no Glomie Code, some of the code could not be read, the text\n"
                           "holds more than the code, or the code needs answers the encoder does not keep\n"
                           "(a manga intensity or tune, a weight or body fat not told); 1 when the store\n"
                           "cannot be written; 2 for a wrong option; 4 when the answers were stored but\n"
                           "this could not be told on the standard output.\n";

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Writes through to the store, remembering whether any value could not be written.
class CheckedWrites : public ProfileStore {
  public:
    explicit CheckedWrites(ProfileStore& store) : m_store(store) {}
    int32_t getProfileInt(std::string_view section, std::string_view name, int32_t def) override {
        return m_store.getProfileInt(section, name, def);
    }
    bool writeProfileInt(std::string_view section, std::string_view name, int32_t value) override {
        const bool written = m_store.writeProfileInt(section, name, value);
        m_failed = m_failed || !written;
        return written;
    }
    bool failed() const { return m_failed; }

  private:
    ProfileStore& m_store;
    bool m_failed = false;
};

// Why the answers cannot be stored so that `code` prints the code again; empty when they can.
QString WhyNotStorable(const DecodeResult& result, const QByteArray& text) {
    if (result.CodeBegin != 0 || result.CodeEnd != static_cast<size_t>(text.size()))
        return QStringLiteral("the text holds more than the code; give the code alone");
    QStringList unstored;
    for (const UnstoredAnswer& answer : UnstoredAnswers(result.Answers)) {
        if (answer.Value != 0)
            unstored << QString::fromLatin1(answer.Name);
    }
    if (!unstored.isEmpty())
        return QStringLiteral(
                   "the code needs answers the encoder keeps only while it runs and never stores (") +
               unstored.join(QStringLiteral(", ")) +
               QStringLiteral("), so the stored answers could not give this code again");
    const std::string again = EncodeGlomieCode(result.Answers);
    if (again != std::string_view(text.constData(), static_cast<size_t>(text.size())))
        return QStringLiteral("the code is not written the way the encoder writes it, which would be: ") +
               FromUtf8(again);
    return {};
}

} // namespace

int RunImport(CommandContext& context) {
    QCommandLineParser parser;
    const QCommandLineOption settings(QStringLiteral("settings"), QString(), QStringLiteral("FILE"));
    parser.addOption(settings);
    if (const auto done = ParseCommandLine(parser, "import", context, kImportHelp))
        return *done;
    if (const auto refused = RefuseEmptyFileName(parser, settings, context, kImportHelp))
        return *refused;
    if (parser.positionalArguments().isEmpty()) {
        context.err << "glomiecode-cli: import needs the code\n\n" << kImportHelp;
        return ExitUsage;
    }
    const QByteArray text = parser.positionalArguments().join(QLatin1Char(' ')).trimmed().toUtf8();
    DecodeResult result = DecodeText(text);
    PrintDecodeProblems(result, text, context.err);
    // Any text that does not give a whole code is refused alike: nothing is stored.
    if (!result.HeaderFound || !result.complete()) {
        context.err << "glomiecode-cli: nothing was stored\n";
        return ExitPartly;
    }
    if (const QString why = WhyNotStorable(result, text); !why.isEmpty()) {
        context.err << "glomiecode-cli: nothing was stored: " << why << '\n';
        return ExitPartly;
    }

    const auto store = OpenStore(parser.value(settings), false, context.err);
    if (!store)
        return ExitFailure;
    CheckedWrites checked(*store);
    SaveSettings(checked, result.Answers);
    // What the encoder will load from now on must give the code back; the file is replaced only then.
    std::string stored;
    const bool committed = store->commit([&](ProfileStore& written) {
        stored = EncodeGlomieCode(LoadAnswers(written));
        return !checked.failed() &&
               stored == std::string_view(text.constData(), static_cast<size_t>(text.size()));
    });
    if (!committed) {
        context.err << "glomiecode-cli: cannot write the settings '" << store->fileName() << "'";
        if (!stored.empty() && stored != std::string_view(text.constData(), static_cast<size_t>(text.size())))
            context.err << ": they would read back as another code: " << FromUtf8(stored) << '\n';
        else
            context.err << ": "
                        << (checked.failed() ? QStringLiteral("a value was refused") : store->commitError())
                        << (store->commitReplacedFile() ? "\n" : "; nothing was changed\n");
        return ExitFailure;
    }
    context.out << "Stored the answers of the code in " << store->fileName() << '\n';
    return StandardOutputWritten(context.out) ? ExitOk : ExitOutputLost;
}
