// SPDX-License-Identifier: MIT
#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QString>
#include <cstdint>
#include <optional>

// The controls answers are given with, beside the lists: a slider and a spin that report every
// action, the count box, and a flag in a check box.

// A slider that reports every user action, also one that leaves the thumb where it was (End at the
// end, a click on the thumb): stored values past the range are corrected by any touch. The mouse
// wheel moves it only while it has the focus; otherwise the wheel scrolls the page.
class CodeSlider : public QSlider {
    Q_OBJECT
  public:
    explicit CodeSlider(Qt::Orientation orientation, QWidget* parent = nullptr);
    // Reports an action that leaves the thumb where it is.
    void touch() { emit notified(); }

  signals:
    // Once per action, after the new position has been taken.
    void notified();

  protected:
    bool event(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void note();
    void flush();
    int m_depth = 0;
    bool m_pending = false;
};

// A spin that reports every step, also one at either end of its range, which it never wraps past.
// Typed numbers and the wheel (with the focus only) count as steps too.
class CodeSpinBox : public QSpinBox {
    Q_OBJECT
  public:
    explicit CodeSpinBox(QWidget* parent = nullptr);
    void stepBy(int steps) override;
    // Reports a step that leaves the value where it is.
    void touch() { emit notified(); }

  signals:
    void notified();

  protected:
    // Both arrows always answer, as they do at the ends of a plain up-down control.
    StepEnabled stepEnabled() const override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    bool m_stepping = false;
};

// A digits-only edit box holding a whole number.
class CountBox : public QLineEdit {
    Q_OBJECT
  public:
    explicit CountBox(QWidget* parent = nullptr);

    void showCount(int64_t value);
    // Leaving the page turns a blank box into "0".
    void fillBlankCount();
    // The check made on leaving the page: nothing when the text is a number in minimum..maximum, else
    // the message to show.
    std::optional<QString> validate(int64_t minimum, int64_t maximum) const;
};

// A check box for a flag. A stored 2 shows in the third state, but once the user clicks, the box
// only ever gives 0 or 1 again.
class FlagBox : public QCheckBox {
    Q_OBJECT
  public:
    using QCheckBox::QCheckBox;

  protected:
    void nextCheckState() override;
};

// Shows a flag in a check box: 1 checked, 2 in the third state, anything else clear.
void ShowFlag(QCheckBox& box, int32_t flag);
// The check state as the flag stores it.
int32_t FlagOf(const QCheckBox& box);
