// SPDX-License-Identifier: MIT
#include "pages/AnswerPage.h"

#include <QAccessible>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextDocumentFragment>
#include <memory>

#include "pages/AnswerControls.h"
#include "pages/CodeLists.h"

namespace {

// Scrolls a page's questions, and asks for their whole size so that the sheet opens large enough
// for them where the screen allows.
class PageScrollArea : public QScrollArea {
  public:
    using QScrollArea::QScrollArea;

    QSize sizeHint() const override {
        if (!widget())
            return QScrollArea::sizeHint();
        // With room for the scroll bar a small screen brings, so that the questions need no
        // scrolling sideways once it is there.
        const int frame = 2 * frameWidth();
        return widget()->sizeHint() + QSize(frame + verticalScrollBar()->sizeHint().width(), frame);
    }
};

// The questions' captions and names are the engine's; they are translated in one context.
QString Translated(std::string_view text) {
    return QCoreApplication::translate("Questions", std::string(text).c_str());
}

} // namespace

namespace {
constexpr QChar WordJoiner(0x2060);
constexpr QChar BreakPoint(0x200B); // a zero-width space
} // namespace

CodeBox::CodeBox(QWidget* parent) : QPlainTextEdit(parent) {}

void CodeBox::setCode(const QString& code) {
    if (code == m_code && !document()->isEmpty())
        return;
    m_code = code;
    setPlainText(shownForm(code));
}

QString CodeBox::shownForm(const QString& code) {
    QString shown;
    shown.reserve(code.size() * 2);
    bool sectionStart = true; // the first colon of a section follows its tag and stays with it
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == QLatin1Char(' ')) {
            shown += c;
            sectionStart = true;
            continue;
        }
        if (i > 0 && code[i - 1] != QLatin1Char(' '))
            shown += c == QLatin1Char(':') && !sectionStart ? BreakPoint : WordJoiner;
        if (c == QLatin1Char(':'))
            sectionStart = false;
        shown += c;
    }
    return shown;
}

QString CodeBox::withoutMarks(QString text) {
    text.remove(WordJoiner);
    text.remove(BreakPoint);
    return text;
}

QMimeData* CodeBox::createMimeDataFromSelection() const {
    auto* data = new QMimeData;
    data->setText(withoutMarks(textCursor().selection().toPlainText()));
    return data;
}

AnswerPage::AnswerPage(PageId page, const AnswerSet& answers, QWidget* parent)
    : QWidget(parent), m_page(page), m_answers(answers), m_controls(QuestionsOf(page).size(), nullptr) {}

void AnswerPage::build() {
    if (m_built)
        return;
    m_built = true;
    auto* layout = new QVBoxLayout(this);
    auto* scrollArea = new PageScrollArea(this);
    scrollArea->setFrameShape(QFrame::NoFrame);
    scrollArea->setFocusPolicy(Qt::NoFocus);
    scrollArea->setWidgetResizable(true);
    auto* body = new QWidget;
    m_body = new QVBoxLayout(body);
    m_body->setContentsMargins(0, 0, 0, 0);
    scrollArea->setWidget(body);
    layout->addWidget(scrollArea, 1);
    buildQuestions();
    emit built();
}

// Built before it is first shown, so that its controls come up with it.
void AnswerPage::setVisible(bool visible) {
    if (visible)
        build();
    QWidget::setVisible(visible);
}

QString AnswerPage::caption() const {
    return QCoreApplication::translate("EncoderSheet", std::string(PageCaption(m_page)).c_str());
}

int AnswerPage::questionIndex(const char* name) const {
    const int index = QuestionIndex(m_page, name);
    Q_ASSERT_X(index >= 0, "AnswerPage", name);
    return index;
}

QString AnswerPage::questionCaption(const char* name) const {
    return Translated(QuestionsOf(m_page)[static_cast<size_t>(questionIndex(name))].Caption);
}

QWidget* AnswerPage::makeQuestion(const char* name, QWidget* parent) {
    const Question& question = QuestionsOf(m_page)[static_cast<size_t>(questionIndex(name))];
    QWidget* control = nullptr;
    switch (question.Kind) {
    case ControlKind::Check:
        control = new FlagBox(Translated(question.Caption), parent);
        break;
    case ControlKind::List:
        control = new CodeComboBox(parent);
        break;
    case ControlKind::Slider:
        control = new CodeSlider(Qt::Horizontal, parent);
        break;
    case ControlKind::Tune:
    case ControlKind::Spin:
        control = new CodeSpinBox(parent);
        break;
    case ControlKind::Count:
        control = new CountBox(parent);
        break;
    case ControlKind::Selection:
        control = new CodeListBox(parent);
        break;
    }
    bindQuestion(name, control);
    return control;
}

void AnswerPage::bindQuestion(const char* name, QWidget* control) {
    const int index = questionIndex(name);
    const Question& question = QuestionsOf(m_page)[static_cast<size_t>(index)];
    m_controls[static_cast<size_t>(index)] = control;
    control->setObjectName(QString::fromLatin1(name));
    control->setAccessibleName(Translated(AccessibleNameOf(question)));
    const auto report = [this, index](int value) { emit answerChanged(index, value); };

    if (auto* box = qobject_cast<QCheckBox*>(control)) {
        connect(box, &QCheckBox::clicked, this, [box, report] { report(FlagOf(*box)); });
    } else if (auto* list = qobject_cast<CodeComboBox*>(control)) {
        list->fillFromTable(*question.Table);
        connect(list, &QComboBox::currentIndexChanged, this, report);
    } else if (auto* slider = qobject_cast<CodeSlider*>(control)) {
        const QSignalBlocker blocker(slider);
        slider->setRange(question.Minimum, question.Maximum);
        slider->setTickInterval(1);
        slider->setSingleStep(1);
        slider->setPageStep(1);
        if (slider->tickPosition() == QSlider::NoTicks)
            slider->setTickPosition(slider->orientation() == Qt::Horizontal ? QSlider::TicksBelow
                                                                            : QSlider::TicksRight);
        connect(slider, &CodeSlider::notified, this, [slider, report] { report(slider->value()); });
    } else if (auto* spin = qobject_cast<CodeSpinBox*>(control)) {
        const QSignalBlocker blocker(spin);
        spin->setRange(question.Minimum, question.Maximum);
        if (question.Kind == ControlKind::Tune)
            spin->setAlignment(Qt::AlignCenter);
        connect(spin, &CodeSpinBox::notified, this, [spin, report] { report(spin->value()); });
    } else if (auto* count = qobject_cast<CountBox*>(control)) {
        // Stored and coded on every keystroke; the range is checked only when the page is left.
        connect(count, &QLineEdit::textChanged, this,
                [report](const QString& text) { report(ParseCount(text.toStdString())); });
    } else if (auto* selection = qobject_cast<CodeListBox*>(control)) {
        selection->fillFromTable(*question.Table);
        connect(selection, &QListWidget::itemSelectionChanged, this,
                [selection, report] { report(static_cast<int32_t>(selection->selectionMask())); });
    }
}

QGroupBox* AnswerPage::makeGroup(const char* name, QWidget* parent) {
    const auto groups = GroupsOf(m_page);
    for (size_t i = 0; i < groups.size(); ++i) {
        if (groups[i].Name != name)
            continue;
        auto* frame = new QGroupBox(Translated(groups[i].Caption), parent);
        frame->setObjectName(QString::fromLatin1(name));
        frame->setAccessibleName(QString::fromStdString(PlainCaption(frame->title().toStdString())));
        m_groups.emplace_back(frame, static_cast<int>(i));
        return frame;
    }
    Q_ASSERT_X(false, "AnswerPage::makeGroup", name);
    return new QGroupBox(parent);
}

void AnswerPage::follow(QWidget* widget, const char* question) {
    m_followers.emplace_back(widget, questionIndex(question));
}

QGroupBox* AnswerPage::makeTuneFrame(QWidget* parent, const char* tune) {
    const QString name = QString::fromLatin1(tune);
    auto* frame = new QGroupBox(questionCaption(tune), parent);
    frame->setObjectName(QStringLiteral("TuneFrame") + name.mid(QLatin1String("Boost").size()));
    frame->setAccessibleName(frame->title());
    follow(frame, tune);
    auto* layout = new QHBoxLayout(frame);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(makeQuestion(tune, frame));
    return frame;
}

void AnswerPage::checkEveryQuestionPlaced() const {
    // A question a page places by name and forgets has no control: say which, and stop a debug build.
    QStringList missing;
    for (size_t i = 0; i < m_controls.size(); ++i)
        if (!m_controls[i] || !isAncestorOf(m_controls[i]))
            missing << QString::fromLatin1(QuestionName(m_page, static_cast<int>(i)));
    if (missing.isEmpty())
        return;
    qCritical("The %s page has no control for %s", PageCaption(m_page).data(),
              qPrintable(missing.join(QStringLiteral(", "))));
    Q_ASSERT_X(false, "AnswerPage", "a question of the page has no control");
}

void AnswerPage::buildFoot(QWidget* afterFoot) {
    if (m_codeBox)
        return;
    // Every page builds its foot last, once its questions are placed.
    checkEveryQuestionPlaced();
    auto* footer = new QHBoxLayout;
    m_codeBox = new CodeBox(this);
    m_codeBox->setObjectName(QStringLiteral("CodeBox"));
    m_codeBox->setAccessibleName(tr("Code"));
    m_codeBox->setReadOnly(true);
    m_codeBox->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_codeBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_codeBox->setTabChangesFocus(true);
    m_codeBox->setFixedHeight(m_codeBox->fontMetrics().lineSpacing() * 3 + 12);
    // The box's own menu (Copy, Select All) with "Paste Code" beside them.
    m_codeBox->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_codeBox, &QWidget::customContextMenuRequested, this, &AnswerPage::showCodeBoxMenu);
    // Under the box, while a pasted code can be taken back.
    m_pasteNote = new QLabel(tr("Code taken: Ctrl+Z brings back your answers"), this);
    m_pasteNote->setAccessibleName(m_pasteNote->text());
    m_pasteNote->setVisible(m_pasteUndoable);
    if (m_pasteUndoable)
        m_codeBox->setAccessibleDescription(m_pasteNote->text());
    auto* codeColumn = new QVBoxLayout;
    codeColumn->addWidget(m_codeBox);
    codeColumn->addWidget(m_pasteNote);
    footer->addLayout(codeColumn, 1);

    auto* buttons = new QVBoxLayout;
    auto* decode = new QPushButton(tr("&Decode"), this);
    decode->setObjectName(QStringLiteral("Decode"));
    auto* copy = new QPushButton(tr("&Copy Code"), this);
    copy->setObjectName(QStringLiteral("CopyCode"));
    // It says "Copied" for a moment after each copy (a screen reader hears its name change), and
    // keeps its width meanwhile.
    copy->setMinimumWidth(copy->sizeHint().width());
    m_copyCode = copy;
    m_copiedTimer.setSingleShot(true);
    m_copiedTimer.setInterval(2000);
    connect(&m_copiedTimer, &QTimer::timeout, copy, [copy] { copy->setText(tr("&Copy Code")); });
    for (QPushButton* button : {decode, copy})
        button->setAutoDefault(false);
    buttons->addWidget(decode);
    buttons->addWidget(copy);
    buttons->addStretch();
    footer->addLayout(buttons);
    static_cast<QVBoxLayout*>(layout())->addLayout(footer);
    if (afterFoot)
        setTabOrder(copy, afterFoot);

    connect(decode, &QPushButton::clicked, this, [this] { emit decodeRequested(m_codeBox->code()); });
    connect(copy, &QPushButton::clicked, this, &AnswerPage::copyCode);
}

void AnswerPage::showCode(const QString& code) {
    if (m_codeBox)
        m_codeBox->setCode(code);
}

void AnswerPage::showAnswers(bool withCounts) {
    if (!m_built)
        return;
    const auto questions = QuestionsOf(m_page);
    for (size_t i = 0; i < questions.size(); ++i)
        if (withCounts || questions[i].Kind != ControlKind::Count)
            showAnswer(static_cast<int>(i));
    showDerived();
    applyOpenQuestions();
}

void AnswerPage::showAnswer(int question) {
    QWidget* control = m_controls[static_cast<size_t>(question)];
    if (!control)
        return;
    const int32_t shown = ShownValue(m_answers, m_page, question);
    const QSignalBlocker blocker(control);
    if (auto* box = qobject_cast<QCheckBox*>(control))
        ShowFlag(*box, shown);
    else if (auto* list = qobject_cast<CodeComboBox*>(control))
        list->showRow(shown);
    else if (auto* slider = qobject_cast<QSlider*>(control))
        slider->setValue(shown);
    else if (auto* spin = qobject_cast<QSpinBox*>(control))
        spin->setValue(shown);
    else if (auto* count = qobject_cast<CountBox*>(control))
        count->showCount(QuestionsOf(m_page)[static_cast<size_t>(question)].Field.Type == FieldType::UInt32
                             ? int64_t{static_cast<uint32_t>(shown)}
                             : int64_t{shown});
    else if (auto* selection = qobject_cast<CodeListBox*>(control))
        // Bits past the list select nothing; the answer keeps them until the list is changed.
        selection->showSelectionMask(static_cast<uint32_t>(shown));
}

void AnswerPage::applyOpenQuestions() {
    const OpenQuestions open = OpenQuestionsOf(m_answers, m_page);
    for (size_t i = 0; i < m_controls.size(); ++i)
        if (m_controls[i])
            m_controls[i]->setEnabled(open.test(i));
    for (const auto& [widget, question] : m_followers)
        widget->setEnabled(open.test(static_cast<size_t>(question)));
    for (const auto& [frame, group] : m_groups)
        frame->setEnabled(GroupOpen(m_page, group, open));
}

std::optional<ValidationFailure> AnswerPage::leave() {
    const std::vector<int> counts = CountsInCheckOrder(m_page);
    for (int question : counts)
        static_cast<CountBox*>(control(question))->fillBlankCount();
    for (int question : counts) {
        const Question& q = QuestionsOf(m_page)[static_cast<size_t>(question)];
        auto* box = static_cast<CountBox*>(control(question));
        if (auto message = box->validate(q.Minimum, q.Maximum))
            return ValidationFailure{box, *message};
    }
    return std::nullopt;
}

void AnswerPage::showCodeBoxMenu(const QPoint& position) {
    const std::unique_ptr<QMenu> menu(m_codeBox->createStandardContextMenu(position));
    menu->setObjectName(QStringLiteral("CodeBoxMenu"));
    menu->addSeparator();
    QAction* paste = menu->addAction(tr("&Paste Code"));
    paste->setObjectName(QStringLiteral("PasteCode"));
    paste->setShortcut(pasteCodeKeys()); // shown; the sheet's shortcut does the work
    QAction* undo = menu->addAction(tr("&Undo Paste"));
    undo->setObjectName(QStringLiteral("UndoPaste"));
    undo->setShortcut(undoPasteKeys());
    undo->setEnabled(m_pasteUndoable);
    QAction* chosen = menu->exec(m_codeBox->viewport()->mapToGlobal(position));
    if (chosen == paste)
        emit pasteCodeRequested();
    else if (chosen == undo)
        emit undoPasteRequested();
}

void AnswerPage::setPasteUndoable(bool undoable) {
    if (m_pasteUndoable == undoable)
        return;
    m_pasteUndoable = undoable;
    if (!m_pasteNote)
        return;
    m_pasteNote->setVisible(undoable);
    // A screen reader hears the note when it comes, and again with the code box.
    m_codeBox->setAccessibleDescription(undoable ? m_pasteNote->text() : QString());
    if (undoable && isVisible()) {
        QAccessibleEvent alert(m_pasteNote, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
}

void AnswerPage::copyCode() {
    m_codeBox->selectAll();
    m_codeBox->ensureCursorVisible();
    QGuiApplication::clipboard()->setText(m_codeBox->code());
    m_copyCode->setText(tr("Copied"));
    m_copiedTimer.start();
}
