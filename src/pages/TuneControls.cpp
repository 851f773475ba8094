#include "pages/TuneControls.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QWheelEvent>
#include <limits>

namespace {
int16_t SetSpin(QSpinBox& spin, int value) {
    if (spin.value() != value) {
        const QSignalBlocker blocker(spin);
        spin.setValue(value);
    }
    return static_cast<int16_t>(spin.value());
}
} // namespace

CodeSlider::CodeSlider(Qt::Orientation orientation, QWidget* parent) : QSlider(orientation, parent) {
    setFocusPolicy(Qt::StrongFocus);
    // Keys, clicks, drags and the wheel end in an action (also when the position stays); a click on
    // the thumb ends in its release; a value set from outside (a screen reader) in a value change.
    connect(this, &QAbstractSlider::actionTriggered, this, [this] {
        // An action from outside an event (a screen reader's "increase"): the slider takes its new
        // position only after announcing it, so the position is taken now, and reported once.
        if (m_depth == 0) {
            const QSignalBlocker blocker(this);
            setValue(sliderPosition());
        }
        Note();
    });
    connect(this, &QAbstractSlider::sliderReleased, this, &CodeSlider::Note);
    connect(this, &QAbstractSlider::valueChanged, this, &CodeSlider::Note);
}

// An action is announced before the slider takes its new value: the report waits until the event
// that caused it has been handled, so that the handler reads the new position.
bool CodeSlider::event(QEvent* event) {
    ++m_depth;
    const bool handled = QSlider::event(event);
    --m_depth;
    Flush();
    return handled;
}

void CodeSlider::Note() {
    m_pending = true;
    Flush();
}

void CodeSlider::Flush() {
    if (m_depth == 0 && m_pending) {
        m_pending = false;
        emit Notified();
    }
}

void CodeSlider::wheelEvent(QWheelEvent* event) {
    if (hasFocus())
        QSlider::wheelEvent(event);
    else
        event->ignore();
}

CodeSpinBox::CodeSpinBox(QWidget* parent) : QSpinBox(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setWrapping(false);
    connect(this, &QSpinBox::valueChanged, this, [this] {
        if (!m_stepping)
            emit Notified();
    });
}

void CodeSpinBox::stepBy(int steps) {
    m_stepping = true;
    QSpinBox::stepBy(steps);
    m_stepping = false;
    emit Notified();
}

QAbstractSpinBox::StepEnabled CodeSpinBox::stepEnabled() const {
    if (isReadOnly() || minimum() == maximum())
        return StepNone;
    return StepUpEnabled | StepDownEnabled;
}

void CodeSpinBox::wheelEvent(QWheelEvent* event) {
    if (hasFocus())
        QSpinBox::wheelEvent(event);
    else
        event->ignore();
}

int16_t ClampTune(QSlider& slider, QSpinBox& spin, bool inverted) {
    const int64_t maximum = slider.maximum(), minimum = slider.minimum(), position = slider.value();
    const int64_t tune = static_cast<int16_t>(spin.value());
    const int64_t effective = inverted ? maximum - position : position;
    if (effective + tune > maximum)
        return SetSpin(spin, static_cast<int>(maximum - effective));
    if (effective + tune < minimum)
        return SetSpin(spin, static_cast<int>(minimum - effective));
    return static_cast<int16_t>(spin.value());
}

int16_t ClampRowTune(int32_t row, QSpinBox& spin) {
    int64_t tune = static_cast<int16_t>(spin.value());
    if (row + tune < 0)
        tune = -int64_t{row};
    if (row + tune > 2)
        tune = 2 - int64_t{row};
    return SetSpin(spin, static_cast<int>(std::clamp<int64_t>(tune, INT16_MIN, INT16_MAX)));
}

void TuneGroup::SetRanges(int minimum, int maximum, int spinMinimum, int spinMaximum) {
    const QSignalBlocker sliderBlocker(Slider);
    const QSignalBlocker spinBlocker(Spin);
    Slider->setRange(minimum, maximum);
    Slider->setTickInterval(1);
    Slider->setSingleStep(1);
    Slider->setPageStep(1);
    Spin->setRange(spinMinimum, spinMaximum);
}

void TuneGroup::Show(int32_t intensity, int16_t boost) {
    const QSignalBlocker sliderBlocker(Slider);
    const QSignalBlocker spinBlocker(Spin);
    Slider->setValue(intensity);
    Spin->setValue(boost);
}

void TuneGroup::SetEnabled(bool enabled) {
    for (QWidget* widget : {static_cast<QWidget*>(Slider), static_cast<QWidget*>(Spin), Frame, Label})
        if (widget)
            widget->setEnabled(enabled);
}

CodeSlider* MakeIntensitySlider(QWidget* parent, const QString& accessibleName, const QString& fieldName,
                                Qt::Orientation orientation) {
    auto* slider = new CodeSlider(orientation, parent);
    slider->setObjectName(QStringLiteral("Intensity") + fieldName);
    slider->setAccessibleName(accessibleName);
    slider->setTickPosition(orientation == Qt::Horizontal ? QSlider::TicksBelow : QSlider::TicksRight);
    return slider;
}

CodeSpinBox* MakeTuneSpin(QWidget* parent, const QString& fieldName, const QString& accessibleName) {
    auto* spin = new CodeSpinBox(parent);
    spin->setObjectName(QStringLiteral("Boost") + fieldName);
    spin->setAccessibleName(accessibleName);
    spin->setAlignment(Qt::AlignCenter);
    return spin;
}

QString TuneName(const QString& subject) {
    return QObject::tr("Tune of %1").arg(subject);
}

TuneGroup MakeTuneGroup(QWidget* parent, const QString& sliderName, const QString& subject,
                        const QString& fieldName, Qt::Orientation orientation) {
    TuneGroup group;
    group.Slider = MakeIntensitySlider(parent, sliderName, fieldName, orientation);
    auto* frame = new QGroupBox(QObject::tr("Tune"), parent);
    frame->setObjectName(QStringLiteral("TuneFrame") + fieldName);
    group.Spin = MakeTuneSpin(frame, fieldName, TuneName(subject));
    auto* layout = new QHBoxLayout(frame);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(group.Spin);
    group.Frame = frame;
    return group;
}

CountBox::CountBox(QWidget* parent) : QLineEdit(parent) {
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    setText(QStringLiteral("0"));
}

int32_t CountBox::ParseCount(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    int64_t value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
        value = value * 10 + (text[i].unicode() - '0');
        if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1)
            value = int64_t{std::numeric_limits<int32_t>::max()} + 1; // saturate, stay small
    }
    if (negative)
        value = -value;
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

void CountBox::ShowCount(int64_t value) {
    setText(QString::number(value));
}

void CountBox::FillBlankCount() {
    if (text().isEmpty())
        setText(QStringLiteral("0"));
}

std::optional<QString> CountBox::Validate(int64_t minimum, int64_t maximum) const {
    const QString digits = text().trimmed();
    bool allDigits = !digits.isEmpty();
    for (const QChar c : digits)
        allDigits = allDigits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (!allDigits)
        return tr("Please enter a positive integer.");
    bool ok = false;
    const qulonglong value = digits.toULongLong(&ok);
    if (!ok || value < static_cast<qulonglong>(std::max<int64_t>(minimum, 0)) ||
        value > static_cast<qulonglong>(maximum))
        return tr("Please enter an integer between %1 and %2.").arg(minimum).arg(maximum);
    return std::nullopt;
}

void ShowFlag(QCheckBox& box, int32_t& flag) {
    if (flag < 0 || flag > 2)
        flag = 0;
    const QSignalBlocker blocker(box);
    box.setCheckState(flag == 2 ? Qt::PartiallyChecked : flag == 1 ? Qt::Checked : Qt::Unchecked);
    // A stored 2 shows as it is, but once the user clicks, the box only ever gives 0 or 1 again.
    if (box.isTristate())
        QObject::connect(
            &box, &QCheckBox::clicked, &box, [&box] { box.setTristate(false); }, Qt::SingleShotConnection);
}

int32_t FlagOf(const QCheckBox& box) {
    switch (box.checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}
