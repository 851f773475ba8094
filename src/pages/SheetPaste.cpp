// SPDX-License-Identifier: MIT
// Pasting a Glomie Code into the sheet: the clipboard's text, or text dropped on the sheet, read
// back into every page's answers.
#include <QClipboard>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>

#include "code/Sections.h"
#include "decoder/Decoder.h"
#include "pages/EncoderSheet.h"
#include "pages/MessageBoxes.h"
#include "rules/PageRules.h"
#include "rules/PastedCode.h"

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Translate(const char* text) {
    return QCoreApplication::translate("EncoderSheet", text);
}

// A quoted part of a text keeps its blanks from breaking the line, where it is short enough to
// stand on one line of the box.
QString KeepQuotesWhole(const QString& text) {
    constexpr qsizetype Longest = 48;
    QString kept = text;
    qsizetype open = kept.indexOf(QLatin1Char('"'));
    while (open >= 0) {
        const qsizetype close = kept.indexOf(QLatin1Char('"'), open + 1);
        if (close < 0)
            break;
        if (close - open - 1 <= Longest)
            for (qsizetype i = open + 1; i < close; ++i)
                if (kept[i] == QLatin1Char(' '))
                    kept[i] = QChar::Nbsp;
        open = kept.indexOf(QLatin1Char('"'), close + 1);
    }
    return kept;
}

// What the pages could not take as it is, answer by answer, in the words of the pages: "Experience:
// Episodes of the subbed anime 999; the page goes up to 200, so 200 is taken".
QStringList AnswersNotTakenAsRead(const AnswerSet& read, const AnswerSet& taken) {
    QStringList lines;
    for (int page = 0; page < kPageCount; ++page) {
        const auto id = static_cast<PageId>(page);
        const auto questions = QuestionsOf(id);
        for (const Question& question : questions) {
            const int32_t wanted = ReadAnswer(read, AnswerOf(id, question));
            const int32_t kept = ReadAnswer(taken, AnswerOf(id, question));
            if (wanted == kept)
                continue;
            const QString what =
                Translate("%1: %2 %3")
                    .arg(QCoreApplication::translate("EncoderSheet", std::string(PageCaption(id)).c_str()),
                         QCoreApplication::translate("Questions", AccessibleNameOf(question).c_str()))
                    .arg(wanted);
            if (wanted > question.Maximum && kept == question.Maximum)
                lines << Translate("%1; the page goes up to %2, so %3 is taken")
                             .arg(what)
                             .arg(question.Maximum)
                             .arg(kept);
            else if (wanted < question.Minimum && kept == question.Minimum)
                lines << Translate("%1; the page goes down to %2, so %3 is taken")
                             .arg(what)
                             .arg(question.Minimum)
                             .arg(kept);
            else
                lines << Translate("%1; with the answers beside it the page takes %2").arg(what).arg(kept);
        }
    }
    return lines;
}

// Asks whether to take what was read; true to take it.
bool TakeWhatWasRead(QWidget* parent, const QStringList& problems) {
    constexpr qsizetype Shown = 12;
    QStringList lines = problems.mid(0, Shown);
    if (problems.size() > Shown)
        lines << QCoreApplication::translate("EncoderSheet", "and %n more", nullptr,
                                             static_cast<int>(problems.size() - Shown));

    QMessageBox box(QMessageBox::Warning, ProgramTitle(),
                    Translate("Part of the code cannot be taken as it is."), QMessageBox::NoButton, parent);
    PrepareDialog(box);
    box.setObjectName(QStringLiteral("PasteProblems"));
    box.setInformativeText(lines.join(QLatin1Char('\n')));
    // As wide as its longest line where the screen has room, so that a line breaks only when it must.
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
        int widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, label->fontMetrics().horizontalAdvance(line) + 4);
        const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
        const int room = screen ? screen->availableGeometry().width() - 200 : 600;
        label->setMinimumWidth(std::min(widest, room));
    }
    QPushButton* take = box.addButton(Translate("&Take What Was Read"), QMessageBox::AcceptRole);
    QPushButton* leave = box.addButton(Translate("&Leave My Answers"), QMessageBox::RejectRole);
    box.setDefaultButton(leave);
    box.setEscapeButton(leave);
    box.exec();
    return box.clickedButton() == take;
}

// The problems of a pasted code as the user is told them: what could not be read, in the code's own
// letters; what the pages could not take, answer by answer; a code written otherwise.
QStringList ProblemLines(const QString& text, const PastedCode& pasted) {
    const QByteArray utf8 = text.toUtf8();
    const DecodeResult decoded = DecodeGlomieCode(std::string_view(utf8.constData(), utf8.size()));
    AnswerSet read = decoded.Answers;
    for (int page = 0; page < kPageCount; ++page)
        TakeAsShown(read, static_cast<PageId>(page));
    const QStringList notTaken = AnswersNotTakenAsRead(read, pasted.Answers);

    QStringList lines;
    for (const PasteProblem& problem : pasted.Problems) {
        const QString message = FromUtf8(problem.Message);
        // A part the pages take otherwise is said answer by answer below.
        if (!notTaken.isEmpty() && message.startsWith(QLatin1String("more than the page offers")))
            continue;
        QString part = FromUtf8(problem.Text).trimmed();
        if (part.size() > 40)
            part = part.left(40) + QStringLiteral("...");
        lines << KeepQuotesWhole(Translate("\"%1\": %2").arg(part, message));
    }
    return lines + notTaken;
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
    const PastedCode pasted = ReadPastedCode(std::string_view(utf8.constData(), utf8.size()));
    if (!pasted.Found) {
        ShowMessage(this, QMessageBox::Information,
                    tr("The text holds no Glomie Code; a code starts with \"%1\".")
                        .arg(QString::fromLatin1(kHeaderPrefix)));
        return PasteOutcome::NoCode;
    }
    // Nothing changes before the user has said what to take.
    if (!pasted.Problems.empty() && !TakeWhatWasRead(this, ProblemLines(text, pasted)))
        return PasteOutcome::Left;
    takeAnswers(pasted.Answers);
    return pasted.Problems.empty() ? PasteOutcome::Taken : PasteOutcome::TakenInPart;
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
