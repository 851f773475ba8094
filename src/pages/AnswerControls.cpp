// SPDX-License-Identifier: MIT
#include "pages/AnswerControls.h"

#include "rules/PageRules.h"

#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QWheelEvent>
#include <limits>

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
        note();
    });
    connect(this, &QAbstractSlider::sliderReleased, this, &CodeSlider::note);
    connect(this, &QAbstractSlider::valueChanged, this, &CodeSlider::note);
}

// An action is announced before the slider takes its new value: the report waits until the event
// that caused it has been handled, so that the handler reads the new position.
bool CodeSlider::event(QEvent* event) {
    ++m_depth;
    const bool handled = QSlider::event(event);
    --m_depth;
    flush();
    return handled;
}

void CodeSlider::note() {
    m_pending = true;
    flush();
}

void CodeSlider::flush() {
    if (m_depth == 0 && m_pending) {
        m_pending = false;
        emit notified();
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
            emit notified();
    });
}

void CodeSpinBox::stepBy(int steps) {
    m_stepping = true;
    QSpinBox::stepBy(steps);
    m_stepping = false;
    emit notified();
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

CountBox::CountBox(QWidget* parent) : QLineEdit(parent) {
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    setText(QStringLiteral("0"));
}

void CountBox::showCount(int64_t value) {
    setText(QString::number(value));
}

void CountBox::fillBlankCount() {
    if (text().isEmpty())
        setText(QStringLiteral("0"));
}

std::optional<QString> CountBox::validate(int64_t minimum, int64_t maximum) const {
    const std::string problem = CountProblem(text().trimmed().toStdString(), minimum, maximum);
    if (problem.empty())
        return std::nullopt;
    return QString::fromStdString(problem);
}

void FlagBox::nextCheckState() {
    const bool third = isTristate();
    QCheckBox::nextCheckState();
    if (third)
        setTristate(false);
}

void ShowFlag(QCheckBox& box, int32_t flag) {
    const QSignalBlocker blocker(box);
    box.setTristate(flag == 2);
    box.setCheckState(flag == 2 ? Qt::PartiallyChecked : flag == 1 ? Qt::Checked : Qt::Unchecked);
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
