#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QKeySequence>
#include <QTabWidget>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "code/CodeFrame.h"
#include "pages/SenshiVillainPage.h"
#include "pages/AssistPartPage.h"
#include "pages/OpinionsPage.h"
#include "pages/PersonalPage.h"
#include "pages/MorePersonalPage.h"
#include "pages/EvenMorePersonalPage.h"
#include "pages/ObsessionPage.h"
#include "pages/ExperiencePage.h"

// The encoder's one window: ten tabbed pages with OK, Cancel and Help. It owns the pages and the
// code; the pages own the answers.
class EncoderSheet : public QDialog {
    Q_OBJECT
  public:
    explicit EncoderSheet(QWidget* parent = nullptr);
    ~EncoderSheet() override;

    void RebuildCode(int n) { m_code.RebuildCode(n); }
    const std::string& FullCode() const { return m_code.FullCode(); }
    // Every page's answers, for the settings and the code.
    AnswerRefs Answers();

    QTabWidget& Tabs() const { return *m_tabs; }
    // The page at a tab position, in tab order.
    AnswerPage& Page(int index) const { return *m_pages.at(static_cast<size_t>(index)); }
    static constexpr int PageCount = 10;

    // What the Help button does; the application sets it.
    void SetHelpHandler(std::function<void()> handler) { m_helpHandler = std::move(handler); }
    // Called once when the sheet is first shown (the application shows its splash then).
    void SetShownHandler(std::function<void()> handler) { m_shownHandler = std::move(handler); }
    // Asked on OK once the current page may be left: false keeps the sheet open (the application
    // saves the answers here, and keeps them on the screen when they could not be saved).
    void SetAcceptHandler(std::function<bool()> handler) { m_acceptHandler = std::move(handler); }

    // The keys that paste a code, from any page.
    static QKeySequence PasteCodeKeys() { return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V); }
    // What became of a pasted code.
    enum class PasteOutcome { Taken, TakenInPart, Left, NoCode };
    // Takes the answers of the first Glomie Code in the text into every page, as if the user had set
    // each control. When part of it cannot be taken as it is, the user is asked whether to take the
    // rest or leave the answers as they were. Nothing is stored before OK.
    PasteOutcome PasteCode(const QString& text);
    // The same with the clipboard's text (Ctrl+Shift+V, "Paste Code" in the code box's menu).
    PasteOutcome PasteCodeFromClipboard();

    // A copy of every page's answers.
    AnswerSet CopyAnswers();
    // Every page's answers replaced, each page showing them; asTouched: then as if the user had
    // touched every slider and spin, which keeps what the controls can hold.
    void ShowAnswerSet(const AnswerSet& answers, bool asTouched);

    ObsessionPage m_SMPage;
    SenshiVillainPage m_FavoritesPage;
    AssistPartPage m_MoreFavoritesPage;
    std::unique_ptr<SenshiVillainPage> m_pDislikesPage;
    std::unique_ptr<AssistPartPage> m_pMoreDislikesPage;
    ExperiencePage m_ExperiencePage;
    OpinionsPage m_OpinionsPage;
    PersonalPage m_PersonalPage;
    MorePersonalPage m_MorePersonalPage;
    EvenMorePersonalPage m_EvenMorePersonalPage;

  public slots:
    // OK: the current page must agree to be left first.
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;
    // Text dropped anywhere on the sheet is pasted as a code.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void OnCurrentChanged(int index);
    bool LeaveCurrentPage();
    void FitToScreen();
    void AssignAnswers(AnswerSet answers);

    CodeFrame m_code;
    QTabWidget* m_tabs;
    QDialogButtonBox* m_buttons;
    std::array<AnswerPage*, PageCount> m_pages{};
    int m_current = 0;
    bool m_reverting = false;
    bool m_shown = false;
    std::function<void()> m_helpHandler;
    std::function<void()> m_shownHandler;
    std::function<bool()> m_acceptHandler;
};
