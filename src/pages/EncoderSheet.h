// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QTabWidget>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "code/CodeFrame.h"
#include "pages/AnswerPage.h"

// The encoder's one window: ten tabbed pages with OK, Cancel and Help. It owns the answers, the one
// model every page shows, and the code made of them: a page reports what the user changed, the sheet
// asks the page rules what follows, rebuilds the code and shows both.
class EncoderSheet : public QDialog {
    Q_OBJECT
  public:
    // The window's icon is asked of icon once the first pages are built (the application reads it
    // meanwhile); without icon, the sheet reads it itself.
    explicit EncoderSheet(QWidget* parent = nullptr, const std::function<QIcon()>& icon = {});
    ~EncoderSheet() override;

    const AnswerSet& answers() const { return m_answers; }
    // Replaces every answer, as loaded from the settings: they are shown as they are.
    void setAnswers(const AnswerSet& answers);
    const std::string& fullCode() const { return m_code.fullCode(); }

    QTabWidget& tabs() const { return *m_tabs; }
    // The page at a tab position, in tab order; built, if it was not yet.
    AnswerPage& page(int index) const;

    // What the Help button does; the application sets it.
    void setHelpHandler(std::function<void()> handler) { m_helpHandler = std::move(handler); }
    // What "&Thanks to ..." on the SM page does.
    void setThanksHandler(std::function<void(QWidget&)> handler) { m_thanksHandler = std::move(handler); }
    // What "&Decode" does with the code of the page it was pressed on.
    void setDecodeHandler(std::function<void(QWidget&, const QString&)> handler) {
        m_decodeHandler = std::move(handler);
    }
    // Where the sheet was left last time (its geometry, without the frame). It opens there when that
    // still fits a screen; otherwise, and without one, as large as its pages where the screen allows.
    void setPlace(const QRect& place);
    // Each called once, in turn, just after the sheet is first shown, its window on the screen (the
    // application shows its splash over it then).
    void addShownHandler(std::function<void()> handler) { m_shownHandlers.push_back(std::move(handler)); }
    // Each called once, in turn, when the sheet has been drawn and every page built: for work that
    // nobody waits for (the application opens the way for later copies then).
    void addSettledHandler(std::function<void()> handler) { m_settledHandlers.push_back(std::move(handler)); }
    // Asked on OK once the current page may be left: false keeps the sheet open (the application
    // saves the answers here, and keeps them on the screen when they could not be saved).
    void setAcceptHandler(std::function<bool()> handler) { m_acceptHandler = std::move(handler); }

    // What became of a pasted code.
    enum class PasteOutcome { Taken, TakenInPart, Left, NoCode };
    // Takes the answers of the first Glomie Code in the text into every page, as if the user had set
    // each control. When part of it cannot be taken as it is, the user is asked whether to take the
    // rest or leave the answers as they were. Nothing is stored before OK.
    PasteOutcome pasteCode(const QString& text);
    // The same with the clipboard's text (Ctrl+Shift+V, "Paste Code" in the code box's menu).
    PasteOutcome pasteCodeFromClipboard();
    // Brings back every answer from before the last code taken, until the user changes an answer;
    // false when there is nothing to bring back.
    bool undoPaste();
    bool canUndoPaste() const { return m_beforePaste.has_value(); }

  public slots:
    // OK: the current page must agree to be left first.
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;
    // Once the sheet is drawn, the pages not built with it are built, one at a time.
    bool event(QEvent* event) override;
    // Text dropped anywhere on the sheet is pasted as a code.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    // Ctrl+Z is the sheet's while a paste can be taken back, in every box of it.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void addPage(AnswerPage* page);
    // A page built after the sheet: its controls are the sheet's like the others'.
    void adoptPage(AnswerPage& page);
    void keepButtonsLast();
    void startBuildingPages();
    void buildNextPage();
    void applyAnswer(AnswerPage& page, int question, int value);
    void currentChanged(int index);
    // Ctrl+Tab and the like: the next (1) or previous (-1) page, round the ends.
    void turnPage(int step);
    void activate(AnswerPage& page);
    bool leaveCurrentPage();
    bool keptPlaceFits() const;
    void buildWidestPage();
    void fitToScreen();
    // The answers of a pasted code into every page, each showing them.
    void takeAnswers(const AnswerSet& answers);
    void showAnswersEverywhere();
    void setPasteUndoable(std::optional<AnswerSet> before);

    AnswerSet m_answers;
    std::optional<AnswerSet> m_beforePaste;
    CodeFrame m_code{m_answers};
    QTabWidget* m_tabs = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    std::array<AnswerPage*, kPageCount> m_pages{};
    QRect m_place;
    int m_current = 0;
    bool m_reverting = false;
    bool m_shown = false;
    bool m_buildingPages = false;
    std::function<void()> m_helpHandler;
    std::function<void(QWidget&)> m_thanksHandler;
    std::function<void(QWidget&, const QString&)> m_decodeHandler;
    std::vector<std::function<void()>> m_shownHandlers;
    std::vector<std::function<void()>> m_settledHandlers;
    std::function<bool()> m_acceptHandler;
};
