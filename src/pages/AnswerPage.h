#pragma once

#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QWidget>
#include <optional>

#include "pages/CodeLists.h"
#include "pages/TuneControls.h"

class EncoderSheet;

// What every page shares: the read-only CodeBox with "&Decode" and "&Copy Code" at its foot, the
// rebuild request a page makes after storing an answer, and activation and leaving. The questions
// scroll above the foot when the screen is too small for them.
class AnswerPage : public QWidget {
    Q_OBJECT
  public:
    AnswerPage(EncoderSheet& sheet, const QString& caption, int sectionNumber);
    ~AnswerPage() override;

    // Puts the CodeBox and its buttons under the page's own controls. Made after them, they come
    // last in the tab order.
    void BuildFoot();

    QString Caption() const { return m_caption; }
    int SectionNumber() const { return m_sectionNumber; }

    // The one way a page reports a changed answer: rebuild its section, show the new code.
    void RequestRebuild(int section);
    // The page's own section.
    void RequestRebuild() { RequestRebuild(m_sectionNumber); }

    // The page became the current tab: show the current code, then (on the first activation) set up
    // the controls from the answers, or (later) show the answers in them again.
    void OnSetActive();
    // The page's answers were replaced from outside the page (a pasted code): its controls show them,
    // and a page not shown yet is set up with them now.
    void TakeAnswers();
    // As if the user touched every slider and spin of the page once without moving it: each stores
    // what its control can hold, and a tune goes back within its slider's range.
    void TouchEveryLevel();
    // The page is about to be left: normalise count boxes and check them. A failure keeps the page.
    virtual std::optional<ValidationFailure> OnKillActive() { return std::nullopt; }
    bool Initialised() const { return m_initialised; }

    void OnCopyCode();
    void OnDecode();

    // Null until the foot is built; a page without it shows and copies nothing.
    QPlainTextEdit* CodeBox() const { return m_codeBox; }
    // Where the page's questions scroll.
    QScrollArea* ScrollArea() const { return m_scrollArea; }

  protected:
    // Where a page puts its own controls, above the code box.
    QVBoxLayout* Body() const { return m_body; }
    // A control of the page's own that Tab reaches after the foot, if any.
    virtual QWidget* AfterFoot() const { return nullptr; }
    // A count box's number is stored and coded on every keystroke; its range is checked only when the
    // page is left.
    template <typename Field> void StoreCount(Field& field, const CountBox& box) {
        field = static_cast<Field>(CountBox::ParseCount(box.text()));
        RequestRebuild();
    }
    // A selection list's answer is the mask of all its selected rows.
    void StoreSelection(int32_t& field, const CodeListBox& list) {
        field = static_cast<int32_t>(list.GetSelectionMask());
        RequestRebuild();
    }

    // First activation: ranges and list contents, then ShowAnswers.
    virtual void OnInitDialog() {}
    // Every answer into its control, shown as stored, and the enable rules that follow from them.
    virtual void ShowAnswers() {}
    // Later activations: the answers the page exchanges with its check boxes, lists and count boxes.
    virtual void UpdateControls() {}

  private:
    void Initialise();
    void ShowCodeBoxMenu(const QPoint& position);

    EncoderSheet& m_sheet;
    QString m_caption;
    int m_sectionNumber;
    bool m_initialised = false;
    QScrollArea* m_scrollArea;
    QVBoxLayout* m_body;
    QPlainTextEdit* m_codeBox = nullptr;
};
