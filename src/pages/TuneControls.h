#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QSlider>
#include <QSpinBox>
#include <QString>
#include <cstdint>
#include <optional>

// The compound controls several pages share: the tune group (an intensity slider with a "Tune"
// spin), the count box and the check-box exchange.

// A slider that reports every user action, also one that leaves the thumb where it was (End at the
// end, a click on the thumb): stored values past the range are corrected by any touch. The mouse
// wheel moves it only while it has the focus; otherwise the wheel scrolls the page.
class CodeSlider : public QSlider {
    Q_OBJECT
  public:
    explicit CodeSlider(Qt::Orientation orientation, QWidget* parent = nullptr);
    // Reports an action that leaves the thumb where it is.
    void Touch() { emit Notified(); }

  signals:
    // Once per action, after the new position has been taken.
    void Notified();

  protected:
    bool event(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void Note();
    void Flush();
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
    void Touch() { emit Notified(); }

  signals:
    void Notified();

  protected:
    // Both arrows always answer, as they do at the ends of a plain up-down control.
    StepEnabled stepEnabled() const override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    bool m_stepping = false;
};

// Keeps effective intensity + boost within the slider's range by moving only the spin; returns the
// boost. An inverted slider (the Experience page's upright ones) has its strongest position at 0.
int16_t ClampTune(QSlider& slider, QSpinBox& spin, bool inverted);

// Keeps a three-row list's row plus its tune within rows 0..2; returns the tune.
int16_t ClampRowTune(int32_t row, QSpinBox& spin);

// An intensity slider, its tune spin, and the frame or caption that goes with the spin.
struct TuneGroup {
    CodeSlider* Slider = nullptr;
    CodeSpinBox* Spin = nullptr;
    QWidget* Frame = nullptr; // the "Tune" group box or caption, enabled with the group
    QWidget* Label = nullptr; // an extra caption enabled with the group, if any
    bool Inverted = false;

    // Ranges and steps as the page sets them when it is first shown.
    void SetRanges(int minimum, int maximum, int spinMinimum, int spinMaximum);
    // Shows stored values as they are, limited only by each control's own range.
    void Show(int32_t intensity, int16_t boost);
    void SetEnabled(bool enabled);

    // Wires the handlers: a slider step stores the intensity and then the clamped boost, a spin step
    // the clamped boost; either then calls rebuild.
    template <typename Rebuild>
    void Connect(QObject* context, int32_t& intensity, int16_t& boost, Rebuild rebuild) {
        QObject::connect(Slider, &CodeSlider::Notified, context, [this, &intensity, &boost, rebuild] {
            intensity = Slider->value();
            boost = ClampTune(*Slider, *Spin, Inverted);
            rebuild();
        });
        QObject::connect(Spin, &CodeSpinBox::Notified, context, [this, &boost, rebuild] {
            boost = ClampTune(*Slider, *Spin, Inverted);
            rebuild();
        });
    }
};

// The two halves of a tune group, for pages that lay them out their own way: a slider named
// "Intensity<field>" and a spin named "Boost<field>".
CodeSlider* MakeIntensitySlider(QWidget* parent, const QString& accessibleName, const QString& fieldName,
                                Qt::Orientation orientation);
CodeSpinBox* MakeTuneSpin(QWidget* parent, const QString& fieldName, const QString& accessibleName);

// What a screen reader calls the tune of a subject: "Tune of the first senshi".
QString TuneName(const QString& subject);

// Builds a slider, a "Tune" group box holding a spin, and returns them as a group. The slider is
// called sliderName, the spin the tune of subject.
TuneGroup MakeTuneGroup(QWidget* parent, const QString& sliderName, const QString& subject,
                        const QString& fieldName, Qt::Orientation orientation = Qt::Horizontal);

// A digits-only edit box holding a whole number, stored on every change.
class CountBox : public QLineEdit {
    Q_OBJECT
  public:
    explicit CountBox(QWidget* parent = nullptr);

    // Leading blanks, an optional sign, then digits up to the first non-digit; no digits give 0.
    // A number too large for 32 bits saturates.
    static int32_t ParseCount(const QString& text);

    void ShowCount(int64_t value);
    // Leaving the page turns a blank box into "0".
    void FillBlankCount();
    // The check made on leaving the page: nothing when the text is a number in minimum..maximum, else
    // the message to show.
    std::optional<QString> Validate(int64_t minimum, int64_t maximum) const;
};

// Shows a flag in a check box; a stored value outside 0..2 becomes 0, in the field too.
void ShowFlag(QCheckBox& box, int32_t& flag);
// The check state as the flag stores it.
int32_t FlagOf(const QCheckBox& box);

// What a page reports when it cannot be left: the box to correct and the message to show.
struct ValidationFailure {
    QPointer<QWidget> Box;
    QString Message;
};
