// SPDX-License-Identifier: MIT
#include "app/HelpWindow.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>

#include "pages/MessageBoxes.h"

HelpWindow::HelpWindow(const QString& text, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("HelpWindow"));
    PrepareDialog(*this, tr("Glomie Code Encoder Help"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("HelpText"));
    m_text->setAccessibleName(tr("Help"));
    m_text->setReadOnly(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Lines wrap to the window, between words, so nothing needs sideways scrolling.
    m_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_text->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->setPlainText(text);

    m_findBar = new QWidget(this);
    auto* findLayout = new QHBoxLayout(m_findBar);
    findLayout->setContentsMargins(0, 0, 0, 0);
    auto* findLabel = new QLabel(tr("&Find:"), m_findBar);
    m_find = new QLineEdit(m_findBar);
    m_find->setObjectName(QStringLiteral("Find"));
    m_find->setAccessibleName(tr("Find"));
    findLabel->setBuddy(m_find);
    auto* next = new QPushButton(tr("Find &Next"), m_findBar);
    next->setObjectName(QStringLiteral("FindNext"));
    next->setAutoDefault(false);
    m_notFound = new QLabel(m_findBar);
    m_notFound->setObjectName(QStringLiteral("NotFound"));
    findLayout->addWidget(findLabel);
    findLayout->addWidget(m_find, 1);
    findLayout->addWidget(next);
    findLayout->addWidget(m_notFound);
    m_findBar->hide();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->setObjectName(QStringLiteral("Buttons"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_findBar);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(next, &QPushButton::clicked, this, &HelpWindow::findNext);
    // Return in the find box finds (the dialog would take it for its Close button otherwise).
    m_find->installEventFilter(this);
    connect(m_find, &QLineEdit::textEdited, m_notFound, &QLabel::clear);
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, &HelpWindow::showFind);
    auto* again = new QShortcut(QKeySequence::FindNext, this);
    connect(again, &QShortcut::activated, this, &HelpWindow::findNext);

    // Eighty columns and thirty lines where the screen has room for them: the file's lines then
    // wrap only where the window is made narrower.
    const QFontMetrics metrics(m_text->font());
    const QMargins margins = layout->contentsMargins();
    const int around = 2 * static_cast<int>(m_text->document()->documentMargin()) + 2 * m_text->frameWidth() +
                       m_text->verticalScrollBar()->sizeHint().width() + margins.left() + margins.right() + 4;
    QSize wanted(metrics.horizontalAdvance(QLatin1Char('M')) * 80 + around, metrics.lineSpacing() * 32);
    if (const QScreen* screen = parent ? parent->screen() : this->screen())
        wanted = wanted.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(wanted);
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_find && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            findNext();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void HelpWindow::showFind() {
    m_findBar->show();
    m_find->setFocus(Qt::ShortcutFocusReason);
    m_find->selectAll();
}

bool HelpWindow::findNext() {
    const QString wanted = m_find->text();
    if (wanted.isEmpty())
        return false;
    if (m_text->find(wanted))
        return true;
    // From the top again.
    QTextCursor start = m_text->textCursor();
    start.movePosition(QTextCursor::Start);
    m_text->setTextCursor(start);
    const bool found = m_text->find(wanted);
    m_notFound->setText(found ? QString() : tr("Not found"));
    return found;
}
