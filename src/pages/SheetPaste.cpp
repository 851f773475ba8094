// SPDX-License-Identifier: MIT
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

#include "code/Sections.h"
#include "pages/EncoderSheet.h"
#include "pages/MessageBoxes.h"
#include "rules/PastedCode.h"

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Translate(const char* text) {
    return QCoreApplication::translate("EncoderSheet", text);
}

// Asks whether to take what was read; true to take it.
bool TakeWhatWasRead(QWidget* parent, const std::vector<PasteProblem>& problems) {
    constexpr size_t Shown = 12;
    QStringList lines;
    for (size_t i = 0; i < problems.size() && i < Shown; ++i) {
        const PasteProblem& problem = problems[i];
        QString text = FromUtf8(problem.Text);
        if (text.size() > 40)
            text = text.left(40) + QStringLiteral("...");
        lines << Translate("At position %1, \"%2\": %3")
                     .arg(problem.Position)
                     .arg(text, FromUtf8(problem.Message));
    }
    if (problems.size() > Shown)
        lines << QCoreApplication::translate("EncoderSheet", "and %n more", nullptr,
                                             static_cast<int>(problems.size() - Shown));

    QMessageBox box(QMessageBox::Warning, ProgramTitle(),
                    Translate("Part of the code cannot be taken as it is."), QMessageBox::NoButton, parent);
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
    const PastedCode pasted = ReadPastedCode(std::string_view(utf8.constData(), utf8.size()));
    if (!pasted.Found) {
        ShowMessage(this, QMessageBox::Information,
                    tr("The text holds no Glomie Code; a code starts with \"%1\".")
                        .arg(QString::fromLatin1(kHeaderPrefix)));
        return PasteOutcome::NoCode;
    }
    // Nothing changes before the user has said what to take.
    if (!pasted.Problems.empty() && !TakeWhatWasRead(this, pasted.Problems))
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
