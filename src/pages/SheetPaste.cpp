// Pasting a Glomie Code into the sheet: the clipboard's text, or text dropped on the sheet, read
// back into every page's answers.
#include <QClipboard>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>

#include "code/Encode.h"
#include "code/Sections.h"
#include "decoder/Decoder.h"
#include "pages/EncoderSheet.h"
#include "pages/MessageBoxes.h"

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// What the user is told of a part of the code that could not be taken as it is.
struct PasteProblem {
    qsizetype Position; // in characters, from the start of the pasted text
    QString Text;
    QString Message;
};

QString Translate(const char* text) {
    return QCoreApplication::translate("EncoderSheet", text);
}

// The problems of a pasted code: what the decoder could not read, then what the pages could not take
// as it is (a level or tune beyond what a control offers), then a code written otherwise than the
// encoder writes it. `settled` is the code of the answers as the pages took them.
std::vector<PasteProblem> PasteProblems(const DecodeResult& result, const QByteArray& text,
                                        const CodeFrame& settled) {
    const auto position = [&text](size_t bytes) {
        return QString::fromUtf8(text.left(static_cast<qsizetype>(bytes))).size();
    };
    std::vector<PasteProblem> problems;
    for (const DecodeProblem& problem : result.Problems)
        problems.push_back({position(problem.Position), FromUtf8(problem.Text), FromUtf8(problem.Message)});

    CodeFrame read(result.Answers);
    read.RebuildCode(RebuildAll);
    const std::string_view code(text.constData() + result.CodeBegin, result.CodeEnd - result.CodeBegin);
    bool sectionsDiffer = false;
    for (int section = HeaderSection; section <= EvenMorePersonalSection; ++section) {
        const std::string& wanted = read.SectionString(section);
        const std::string& taken = settled.SectionString(section);
        if (wanted == taken)
            continue;
        sectionsDiffer = true;
        const size_t at = code.find(wanted);
        problems.push_back(
            {position(result.CodeBegin + (at == std::string_view::npos ? 0 : at)), FromUtf8(wanted),
             taken.empty()
                 ? Translate("more than the page offers; the page leaves it out")
                 : Translate("more than the page offers; the page takes it as \"%1\"").arg(FromUtf8(taken))});
    }
    if (result.Problems.empty() && !sectionsDiffer && read.FullCode() != code)
        problems.push_back({position(result.CodeBegin), FromUtf8(code),
                            Translate("written otherwise than the encoder writes it, which is \"%1\"")
                                .arg(FromUtf8(read.FullCode()))});
    return problems;
}

// Asks whether to take what was read; true to take it.
bool TakeWhatWasRead(QWidget* parent, const std::vector<PasteProblem>& problems) {
    constexpr size_t Shown = 12;
    QStringList lines;
    for (size_t i = 0; i < problems.size() && i < Shown; ++i) {
        const PasteProblem& problem = problems[i];
        QString text = problem.Text;
        if (text.size() > 40)
            text = text.left(40) + QStringLiteral("...");
        lines << Translate("At position %1, \"%2\": %3").arg(problem.Position).arg(text, problem.Message);
    }
    if (problems.size() > Shown)
        lines << QCoreApplication::translate("EncoderSheet", "and %n more", nullptr,
                                             static_cast<int>(problems.size() - Shown));

    QMessageBox box(QMessageBox::Warning, ProgramTitle(), Translate("Part of the code cannot be taken as it is."),
                    QMessageBox::NoButton, parent);
    PrepareDialog(box);
    box.setObjectName(QStringLiteral("PasteProblems"));
    box.setInformativeText(lines.join(QLatin1Char('\n')));
    QPushButton* take = box.addButton(Translate("&Take What Was Read"), QMessageBox::AcceptRole);
    QPushButton* leave = box.addButton(Translate("&Leave My Answers"), QMessageBox::RejectRole);
    box.setDefaultButton(leave);
    box.setEscapeButton(leave);
    box.exec();
    return box.clickedButton() == take;
}

} // namespace

EncoderSheet::PasteOutcome EncoderSheet::pasteCodeFromClipboard() {
    const QString text = QGuiApplication::clipboard()->text();
    if (text.trimmed().isEmpty()) {
        ShowMessage(this, QMessageBox::Information, tr("The clipboard holds no text to read a code from."));
        return PasteOutcome::NoCode;
    }
    return pasteCode(text);
}

EncoderSheet::PasteOutcome EncoderSheet::pasteCode(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    const DecodeResult result = DecodeGlomieCode(std::string_view(utf8.constData(), utf8.size()));
    if (!result.HeaderFound) {
        ShowMessage(this, QMessageBox::Information,
                    tr("The text holds no Glomie Code; a code starts with \"%1\".")
                        .arg(QString::fromLatin1(kHeaderPrefix)));
        return PasteOutcome::NoCode;
    }
    // The answers as the pages take them: as if the user had set every control, shown each page and
    // touched every slider and spin. Nothing changes before the user has said what to take.
    AnswerSet settled = result.Answers;
    for (int each = 0; each < PageCount; ++each)
        TakeAsShown(settled, static_cast<PageId>(each));
    FitToControls(settled);
    CodeFrame settledCode(settled);
    settledCode.RebuildCode(RebuildAll);
    const std::vector<PasteProblem> problems = PasteProblems(result, utf8, settledCode);
    if (!problems.empty() && !TakeWhatWasRead(this, problems))
        return PasteOutcome::Left;
    takeAnswers(settled);
    return problems.empty() ? PasteOutcome::Taken : PasteOutcome::TakenInPart;
}

void EncoderSheet::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasText())
        event->acceptProposedAction();
}

void EncoderSheet::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasText())
        event->acceptProposedAction();
}

void EncoderSheet::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasText())
        return;
    event->acceptProposedAction();
    // The drop ends first, so that the program the text came from is not kept waiting by a message.
    QTimer::singleShot(0, this, [this, text = event->mimeData()->text()] { pasteCode(text); });
}
