// SPDX-License-Identifier: MIT
#pragma once

#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <optional>
#include <vector>

#include "rules/PageRules.h"

class QMimeData;

// What a page reports when it cannot be left: the box to correct and the message to show.
struct ValidationFailure {
    QPointer<QWidget> Box;
    QString Message;
};

// The read-only box that shows the code. Its lines break only between the parts of the code (at
// the blanks between sections and before a part's colon), never inside a part: the text it shows
// carries invisible joiners and break points for that, which neither its code() nor a copy has.
class CodeBox : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit CodeBox(QWidget* parent = nullptr);

    const QString& code() const { return m_code; }
    void setCode(const QString& code);
    // The code as the box shows it, with the joiners and break points.
    static QString shownForm(const QString& code);
    // A text of the box without them.
    static QString withoutMarks(QString text);

  protected:
    QMimeData* createMimeDataFromSelection() const override;

  private:
    QString m_code;
};

// One page of the sheet: a view of its part of the answers. It builds a control for each of its
// questions, shows the answers and what the rules leave open, and reports every change the user makes
// with answerChanged; it never changes an answer itself. At its foot: the read-only code box with
// "&Decode" and "&Copy Code". The questions scroll above the foot when the screen is too small.
// A page is made empty and builds its controls when first asked to (build), at the latest when it
// is first shown: the sheet comes up without waiting for the pages not yet seen.
class AnswerPage : public QWidget {
    Q_OBJECT
  public:
    AnswerPage(PageId page, const AnswerSet& answers, QWidget* parent = nullptr);

    PageId pageId() const { return m_page; }
    QString caption() const;

    // Builds the page's controls, once; then says so with built().
    void build();
    bool isBuilt() const { return m_built; }
    void setVisible(bool visible) override;

    // Every answer of the page into its control (count boxes too when withCounts), and the open
    // questions; nothing before the page is built. Nothing shown counts as the user's change.
    void showAnswers(bool withCounts = true);
    void showCode(const QString& code);
    // The page is about to be left: blank count boxes become "0", then every count is checked in the
    // page's order. A failure keeps the page.
    std::optional<ValidationFailure> leave();

    // Null until the foot is built.
    CodeBox* codeBox() const { return m_codeBox; }
    // The note under the code box while a pasted code can be taken back; null until the foot is built.
    QLabel* pasteNote() const { return m_pasteNote; }
    // The control of a question, by its index on the page.
    QWidget* control(int question) const { return m_controls.at(static_cast<size_t>(question)); }

    // The keys that paste a code, from any page.
    static QKeySequence pasteCodeKeys() { return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V); }
    // The keys that bring back the answers from before a paste.
    static QKeySequence undoPasteKeys() { return QKeySequence(QKeySequence::Undo); }
    // Says beside the code box that a code was taken and can be taken back, and offers "Undo Paste"
    // in the box's menu; or neither.
    void setPasteUndoable(bool undoable);

  signals:
    // The page's controls have just been made.
    void built();
    // The user gave a question a value (see AnswerQuestion).
    void answerChanged(int question, int value);
    void decodeRequested(const QString& code);
    void pasteCodeRequested();
    void undoPasteRequested();

  protected:
    // Makes the page's own controls in body(), in the order of the page, and ends with buildFoot.
    virtual void buildQuestions() = 0;
    // Puts the code box and its buttons under the page's own controls. Made after them, they come
    // last in the tab order; afterFoot, if given, comes after them.
    void buildFoot(QWidget* afterFoot = nullptr);
    // Where a page puts its own controls, above the code box.
    QVBoxLayout* body() const { return m_body; }

    // The control of a question, built and wired: a check box, a drop-down or selection list filled
    // from its table, a slider or spin with its range, a count box. A page that needs a control of its
    // own kind makes it and hands it to bindQuestion.
    QWidget* makeQuestion(const char* name, QWidget* parent);
    template <typename Control> Control* makeQuestion(const char* name, QWidget* parent) {
        return static_cast<Control*>(makeQuestion(name, parent));
    }
    void bindQuestion(const char* name, QWidget* control);
    // The frame of a group of questions, closed when none of them is open.
    QGroupBox* makeGroup(const char* name, QWidget* parent);
    // A question's caption as the page shows it, with its mnemonic.
    QString questionCaption(const char* name) const;
    // A widget that opens and closes with a question (its label or frame).
    void follow(QWidget* widget, const char* question);
    // A tune's spin in its "Tune" frame, named "TuneFrame<name>" for the spin "Boost<name>".
    QGroupBox* makeTuneFrame(QWidget* parent, const char* tune);

    const AnswerSet& answers() const { return m_answers; }
    int questionIndex(const char* name) const;
    // Shows what follows from the answers without being one (a description, a label).
    virtual void showDerived() {}

  private:
    void checkEveryQuestionPlaced() const;
    void showAnswer(int question);
    void applyOpenQuestions();
    void showCodeBoxMenu(const QPoint& position);
    void copyCode();

    PageId m_page;
    const AnswerSet& m_answers;
    std::vector<QWidget*> m_controls; // by question index
    std::vector<std::pair<QWidget*, int>> m_followers;
    std::vector<std::pair<QGroupBox*, int>> m_groups;
    bool m_built = false;
    QVBoxLayout* m_body = nullptr;
    CodeBox* m_codeBox = nullptr;
    QPushButton* m_copyCode = nullptr;
    QLabel* m_pasteNote = nullptr;
    bool m_pasteUndoable = false;
    QTimer m_copiedTimer;
};
