// SPDX-License-Identifier: MIT
#include "pages/EncoderSheet.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "pages/EvenMorePersonalPage.h"
#include "pages/ExperiencePage.h"
#include "pages/MessageBoxes.h"
#include "pages/MorePersonalPage.h"
#include "pages/ObsessionPage.h"
#include "pages/OpinionsPage.h"
#include "pages/PersonalPage.h"
#include "pages/ProgramIcon.h"
#include "pages/RatedChoicesPage.h"

#include "Version.h"

namespace {

// The window frame is not known before the window manager has drawn it; the sheet's placement
// assumes this much, as the dialog's own does.
constexpr QSize kAssumedFrame(10, 40);

// How long after the first show the pages not yet built are built even if the sheet has not been
// drawn: a drawn sheet starts on them within a few milliseconds.
constexpr int kBuildUndrawnMs = 1000;

} // namespace

EncoderSheet::EncoderSheet(QWidget* parent, const std::function<QIcon()>& icon) : QDialog(parent) {
    setWindowTitle(tr("Glomie Code %1 Encoder").arg(QLatin1String(kProgramVersion)));

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("Tabs"));
    // Tab order: SM, the favourites, the dislikes, then the rest.
    auto* obsession = new ObsessionPage(m_answers);
    connect(obsession, &ObsessionPage::thanksRequested, this, [this, obsession] {
        if (m_thanksHandler)
            m_thanksHandler(*obsession);
    });
    addPage(obsession);
    for (PageId rated : {PageId::Favorites, PageId::MoreFavorites, PageId::Dislikes, PageId::MoreDislikes})
        addPage(new RatedChoicesPage(rated, m_answers));
    addPage(new ExperiencePage(m_answers));
    addPage(new OpinionsPage(m_answers));
    addPage(new PersonalPage(m_answers));
    addPage(new MorePersonalPage(m_answers));
    addPage(new EvenMorePersonalPage(m_answers));
    m_tabs->setCurrentIndex(0);
    // Built with the sheet: the page shown first. The others are built once it is drawn.
    m_pages[static_cast<size_t>(PageId::Obsession)]->build();
    setWindowIcon(icon ? icon() : ProgramIcon());
    // On a narrow screen the tabs scroll; their arrows are for the mouse (the keyboard has Ctrl+Tab),
    // and Tab goes from the tabs straight to the page.
    for (auto* arrow : m_tabs->tabBar()->findChildren<QToolButton*>())
        arrow->setFocusPolicy(Qt::NoFocus);

    m_buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    m_buttons->setObjectName(QStringLiteral("Buttons"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(m_buttons);

    connect(m_tabs, &QTabWidget::currentChanged, this, &EncoderSheet::currentChanged);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &EncoderSheet::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &EncoderSheet::reject);
    connect(m_buttons, &QDialogButtonBox::helpRequested, this, [this] {
        if (m_helpHandler)
            m_helpHandler();
    });
    // The next and the previous page from every control, the lists, buttons and code box too, which
    // would otherwise take the keys for themselves or ignore them.
    const std::pair<QKeySequence, int> pageKeys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1},
    };
    for (const auto& [keys, step] : pageKeys) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step = step] { turnPage(step); });
    }
    // F1 asks for help, as the Help button does.
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setContext(Qt::WindowShortcut);
    connect(f1, &QShortcut::activated, this, [this] {
        if (m_helpHandler)
            m_helpHandler();
    });

    auto* paste = new QShortcut(AnswerPage::pasteCodeKeys(), this);
    paste->setObjectName(QStringLiteral("PasteCode"));
    paste->setContext(Qt::WindowShortcut);
    connect(paste, &QShortcut::activated, this, &EncoderSheet::pasteCodeFromClipboard);
    auto* undo = new QShortcut(AnswerPage::undoPasteKeys(), this);
    undo->setObjectName(QStringLiteral("UndoPaste"));
    undo->setContext(Qt::WindowShortcut);
    connect(undo, &QShortcut::activated, this, &EncoderSheet::undoPaste);
    // A drop anywhere on the sheet is the sheet's: no box takes the text for itself.
    for (QWidget* child : findChildren<QWidget*>()) {
        child->setAcceptDrops(false);
        child->installEventFilter(this);
    }
    setAcceptDrops(true);

    m_code.rebuildCode(RebuildAll);
}

EncoderSheet::~EncoderSheet() {
    // Pages leaving the tab widget must not count as the user switching tabs.
    m_tabs->disconnect(this);
}

void EncoderSheet::addPage(AnswerPage* page) {
    m_pages[static_cast<size_t>(page->pageId())] = page;
    m_tabs->addTab(page, page->caption());
    connect(page, &AnswerPage::answerChanged, this,
            [this, page](int question, int value) { applyAnswer(*page, question, value); });
    connect(page, &AnswerPage::decodeRequested, this, [this, page](const QString& code) {
        if (m_decodeHandler)
            m_decodeHandler(*page, code);
    });
    connect(page, &AnswerPage::pasteCodeRequested, this, &EncoderSheet::pasteCodeFromClipboard);
    connect(page, &AnswerPage::undoPasteRequested, this, &EncoderSheet::undoPaste);
    connect(page, &AnswerPage::built, this, [this, page] { adoptPage(*page); });
}

AnswerPage& EncoderSheet::page(int index) const {
    AnswerPage& page = *m_pages.at(static_cast<size_t>(index));
    page.build();
    return page;
}

void EncoderSheet::adoptPage(AnswerPage& page) {
    // The pages built with the sheet are taken in at its end, with the rest of it.
    if (!m_buttons)
        return;
    for (QWidget* child : page.findChildren<QWidget*>()) {
        child->setAcceptDrops(false);
        child->installEventFilter(this);
    }
    keepButtonsLast();
    page.showAnswers();
}

// Controls made after the sheet come last in its focus chain, behind OK, Cancel and Help: the buttons
// go back to its end, so that Tab reaches them from the last control of every page, as it did.
void EncoderSheet::keepButtonsLast() {
    QWidget* last = previousInFocusChain();
    while (last != this && (last->focusPolicy() == Qt::NoFocus || m_buttons->isAncestorOf(last)))
        last = last->previousInFocusChain();
    // The box passes the focus to its first button and moves with its buttons; only a widget that
    // takes the focus is moved, though.
    const Qt::FocusPolicy policy = m_buttons->focusPolicy();
    m_buttons->setFocusPolicy(Qt::TabFocus);
    QWidget::setTabOrder(last, m_buttons);
    m_buttons->setFocusPolicy(policy);
}

bool EncoderSheet::event(QEvent* event) {
    if (event->type() == QEvent::Paint)
        startBuildingPages();
    return QDialog::event(event);
}

void EncoderSheet::startBuildingPages() {
    if (m_buildingPages)
        return;
    m_buildingPages = true;
    QTimer::singleShot(0, this, &EncoderSheet::buildNextPage);
}

// One page at a time, so that what the user does meanwhile is not kept waiting.
void EncoderSheet::buildNextPage() {
    const auto unbuilt =
        std::find_if(m_pages.begin(), m_pages.end(), [](AnswerPage* each) { return !each->isBuilt(); });
    if (unbuilt == m_pages.end()) {
        for (const auto& handler : std::exchange(m_settledHandlers, {}))
            handler();
        return;
    }
    (*unbuilt)->build();
    QTimer::singleShot(0, this, &EncoderSheet::buildNextPage);
}

void EncoderSheet::setAnswers(const AnswerSet& answers) {
    setPasteUndoable(std::nullopt);
    m_answers = answers;
    m_code.rebuildCode(RebuildAll);
    if (m_shown)
        activate(page(m_current));
}

void EncoderSheet::applyAnswer(AnswerPage& page, int question, int value) {
    // The user's own change is the last step now; the answers from before the paste are gone.
    setPasteUndoable(std::nullopt);
    AnswerQuestion(m_answers, page.pageId(), question, value);
    m_code.rebuildCode(SectionOf(page.pageId()));
    // A count box keeps its text as typed: its number is the answer.
    page.showAnswers(false);
    page.showCode(QString::fromStdString(m_code.fullCode()));
}

// A page shows the answers whenever it comes to the front; a flag or count its controls cannot show
// as stored is taken as they show it.
void EncoderSheet::activate(AnswerPage& page) {
    if (TakeAsShown(m_answers, page.pageId()))
        m_code.rebuildCode(SectionOf(page.pageId()));
    page.showAnswers();
    page.showCode(QString::fromStdString(m_code.fullCode()));
}

void EncoderSheet::takeAnswers(const AnswerSet& answers) {
    setPasteUndoable(m_answers);
    m_answers = answers;
    showAnswersEverywhere();
}

bool EncoderSheet::undoPaste() {
    if (!m_beforePaste)
        return false;
    m_answers = *m_beforePaste;
    setPasteUndoable(std::nullopt);
    showAnswersEverywhere();
    return true;
}

void EncoderSheet::showAnswersEverywhere() {
    m_code.rebuildCode(RebuildAll);
    for (AnswerPage* each : m_pages)
        each->showAnswers();
    page(m_current).showCode(QString::fromStdString(m_code.fullCode()));
}

void EncoderSheet::setPasteUndoable(std::optional<AnswerSet> before) {
    m_beforePaste = std::move(before);
    for (AnswerPage* each : m_pages)
        each->setPasteUndoable(m_beforePaste.has_value());
}

bool EncoderSheet::eventFilter(QObject* watched, QEvent* event) {
    // A box with an undo of its own would take the keys first; it has nothing to undo that came
    // after the paste, since any change of the user's ends the paste's undo.
    if (m_beforePaste && event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo)) {
        event->ignore();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void EncoderSheet::showEvent(QShowEvent* event) {
    if (!m_shown) {
        // A place kept from the last time holds the size the pages need; otherwise the sheet finds it.
        if (keptPlaceFits())
            setGeometry(QRect(m_place.topLeft(), m_place.size().expandedTo(minimumSizeHint())));
        else
            fitToScreen();
    }
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    m_current = m_tabs->currentIndex();
    activate(page(m_current));
    // The pages not yet built come once the sheet is drawn; a sheet that is not drawn (started
    // minimised) still gets them, and its settled handlers, soon after.
    QTimer::singleShot(kBuildUndrawnMs, this, &EncoderSheet::startBuildingPages);
    // Once the window is on the screen: what the handler shows comes up over it.
    if (!m_shownHandlers.empty())
        QTimer::singleShot(0, this, [this] {
            for (const auto& handler : m_shownHandlers)
                handler();
        });
}

void EncoderSheet::setPlace(const QRect& place) {
    m_place = place;
    // Without a place to open at, the sheet is sized to its widest page, built now rather than while
    // the sheet is being shown, which would lay it out twice.
    if (!keptPlaceFits())
        buildWidestPage();
}

// Experience is the widest and tallest page: the sheet opens as large as it needs.
void EncoderSheet::buildWidestPage() {
    m_pages[static_cast<size_t>(PageId::Experience)]->build();
}

// Whether the place kept from the last time is whole on some screen with the window's frame.
bool EncoderSheet::keptPlaceFits() const {
    if (!m_place.isValid())
        return false;
    const QRect framed = m_place.adjusted(0, 0, kAssumedFrame.width(), kAssumedFrame.height());
    const auto screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
                       [&](const QScreen* screen) { return screen->availableGeometry().contains(framed); });
}

// The whole of every page where the screen has room for it, and never more than the screen's free
// area: a small screen scrolls the questions instead of pushing OK off it.
void EncoderSheet::fitToScreen() {
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    buildWidestPage();
    const QSize room = screen->availableGeometry().size() - kAssumedFrame;
    resize(sizeHint().expandedTo(minimumSizeHint()).boundedTo(room));
}

bool EncoderSheet::leaveCurrentPage() {
    if (!m_shown)
        return true;
    const auto failure = page(m_current).leave();
    if (!failure)
        return true;
    if (m_tabs->currentIndex() != m_current) {
        m_reverting = true;
        m_tabs->setCurrentIndex(m_current);
        m_reverting = false;
    }
    ShowMessage(this, QMessageBox::Warning, failure->Message);
    if (failure->Box) {
        failure->Box->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(failure->Box.data()))
            edit->selectAll();
    }
    return false;
}

void EncoderSheet::currentChanged(int index) {
    if (m_reverting || index < 0 || index == m_current || !m_shown)
        return;
    if (!leaveCurrentPage())
        return;
    m_current = index;
    activate(page(index));
}

void EncoderSheet::turnPage(int step) {
    const int count = m_tabs->count();
    const int from = m_tabs->currentIndex();
    const bool inPages = m_tabs->isAncestorOf(focusWidget());
    m_tabs->setCurrentIndex((from + step + count) % count);
    // A control of the page left behind had the focus: the tabs take it, as they show where one is.
    // (A page that may not be left keeps it, in the box to correct.)
    if (inPages && m_tabs->currentIndex() != from)
        m_tabs->tabBar()->setFocus(Qt::ShortcutFocusReason);
}

void EncoderSheet::accept() {
    if (leaveCurrentPage() && (!m_acceptHandler || m_acceptHandler()))
        QDialog::accept();
}
