#include "pages/EncoderSheet.h"

#include <QCoreApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "Version.h"

EncoderSheet::EncoderSheet(QWidget* parent)
    : QDialog(parent), m_SMPage(*this), m_FavoritesPage(*this, tr("Favorites"), FavoritesSection),
      m_MoreFavoritesPage(*this, tr("More Favorites"), MoreFavoritesSection),
      m_pDislikesPage(std::make_unique<SenshiVillainPage>(*this, tr("Dislikes"), DislikesSection)),
      m_pMoreDislikesPage(std::make_unique<AssistPartPage>(*this, tr("More Dislikes"), MoreDislikesSection)),
      m_ExperiencePage(*this), m_OpinionsPage(*this), m_PersonalPage(*this), m_MorePersonalPage(*this),
      m_EvenMorePersonalPage(*this), m_code(Answers()) {
    setObjectName(QStringLiteral("CGCPropertySheet")); // the object name it has always had
    setWindowTitle(tr("Glomie Code %1 Encoder").arg(QLatin1String(kProgramVersion)));
    setWindowIcon(QIcon(QStringLiteral(":/glomiecode/glomiecode.svg")));

    // Tab order: SM, the favourites, the dislikes, then the rest.
    m_pages = {&m_SMPage,
               &m_FavoritesPage,
               &m_MoreFavoritesPage,
               m_pDislikesPage.get(),
               m_pMoreDislikesPage.get(),
               &m_ExperiencePage,
               &m_OpinionsPage,
               &m_PersonalPage,
               &m_MorePersonalPage,
               &m_EvenMorePersonalPage};

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("Tabs"));
    for (AnswerPage* page : m_pages) {
        page->BuildFoot();
        m_tabs->addTab(page, page->Caption());
    }
    m_tabs->setCurrentIndex(0);
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

    connect(m_tabs, &QTabWidget::currentChanged, this, &EncoderSheet::OnCurrentChanged);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &EncoderSheet::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &EncoderSheet::reject);
    connect(m_buttons, &QDialogButtonBox::helpRequested, this, [this] {
        if (m_helpHandler)
            m_helpHandler();
    });
    // F1 is taken and does nothing; help is the Help button's.
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    f1->setContext(Qt::WindowShortcut);

    auto* paste = new QShortcut(PasteCodeKeys(), this);
    paste->setObjectName(QStringLiteral("PasteCode"));
    paste->setContext(Qt::WindowShortcut);
    connect(paste, &QShortcut::activated, this, &EncoderSheet::PasteCodeFromClipboard);
    // A drop anywhere on the sheet is the sheet's: no box takes the text for itself.
    for (QWidget* child : findChildren<QWidget*>())
        child->setAcceptDrops(false);
    setAcceptDrops(true);
}

EncoderSheet::~EncoderSheet() {
    // Pages leaving the tab widget must not count as the user switching tabs.
    m_tabs->disconnect(this);
    // The heap pages go first, the Dislikes page before the More Dislikes page.
    m_pDislikesPage.reset();
    m_pMoreDislikesPage.reset();
}

AnswerRefs EncoderSheet::Answers() {
    return {&m_SMPage.Answers(),
            &m_FavoritesPage.Answers(),
            &m_MoreFavoritesPage.Answers(),
            m_pDislikesPage ? &m_pDislikesPage->Answers() : nullptr,
            m_pMoreDislikesPage ? &m_pMoreDislikesPage->Answers() : nullptr,
            &m_ExperiencePage.Answers(),
            &m_OpinionsPage.Answers(),
            &m_PersonalPage.Answers(),
            &m_MorePersonalPage.Answers(),
            &m_EvenMorePersonalPage.Answers()};
}

void EncoderSheet::showEvent(QShowEvent* event) {
    if (!m_shown)
        FitToScreen();
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    m_current = m_tabs->currentIndex();
    Page(m_current).OnSetActive();
    if (m_shownHandler)
        m_shownHandler();
}

// The whole of every page where the screen has room for it, and never more than the screen's free
// area: a small screen scrolls the questions instead of pushing OK off it. The window frame is not
// known before the window manager has drawn it; the dialog's own placement assumes this much.
void EncoderSheet::FitToScreen() {
    const QScreen* screen = this->screen();
    if (!screen)
        return;
    const QSize frame(10, 40);
    const QSize room = screen->availableGeometry().size() - frame;
    resize(sizeHint().expandedTo(minimumSizeHint()).boundedTo(room));
}

bool EncoderSheet::LeaveCurrentPage() {
    AnswerPage& page = Page(m_current);
    if (!page.Initialised())
        return true;
    const auto failure = page.OnKillActive();
    if (!failure)
        return true;
    if (m_tabs->currentIndex() != m_current) {
        m_reverting = true;
        m_tabs->setCurrentIndex(m_current);
        m_reverting = false;
    }
    QMessageBox::warning(this, QCoreApplication::applicationName(), failure->Message);
    if (failure->Box) {
        failure->Box->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(failure->Box.data()))
            edit->selectAll();
    }
    return false;
}

void EncoderSheet::OnCurrentChanged(int index) {
    if (m_reverting || index < 0 || index == m_current)
        return;
    if (!LeaveCurrentPage())
        return;
    m_current = index;
    Page(index).OnSetActive();
}

void EncoderSheet::accept() {
    if (LeaveCurrentPage() && (!m_acceptHandler || m_acceptHandler()))
        QDialog::accept();
}
