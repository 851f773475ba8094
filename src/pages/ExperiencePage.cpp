// SPDX-License-Identifier: MIT
#include "pages/ExperiencePage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QStylePainter>
#include <algorithm>

#include "pages/AnswerControls.h"
#include "pages/CodeLists.h"
#include "vocabulary/Tables.h"

namespace {

// An up-down control without a text of its own: the years label beside it shows the years. Only its
// arrows are drawn, so no empty text field sits beside the label; its text is there for screen
// readers (its value as they hear it is the label's text) and to hold the focus.
class YearsSpin : public CodeSpinBox {
  public:
    explicit YearsSpin(QWidget* parent) : CodeSpinBox(parent) {
        lineEdit()->setReadOnly(true);
        setFrame(false);
    }

    QSize sizeHint() const override { return arrows().size() + QSize(2, 2); }
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    QString textFromValue(int value) const override { return QString::fromStdString(YearsText(value)); }
    int valueFromText(const QString&) const override { return value(); }
    QValidator::State validate(QString&, int&) const override { return QValidator::Acceptable; }

    void resizeEvent(QResizeEvent* event) override {
        CodeSpinBox::resizeEvent(event);
        lineEdit()->setGeometry(0, 0, 0, height()); // takes the focus, shows nothing
    }
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionSpinBox option;
        initStyleOption(&option);
        option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
        option.frame = false;
        painter.drawComplexControl(QStyle::CC_SpinBox, option);
        if (hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = arrows().adjusted(-1, -1, 1, 1);
            painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
    }

  private:
    QRect arrows() const {
        QStyleOptionSpinBox option;
        initStyleOption(&option);
        const QRect up = style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, this);
        const QRect down = style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxDown, this);
        return up.united(down);
    }
};

// An upright slider whose filled part grows from the bottom, where there is no intensity, up to the
// thumb. Its positions run from the top, so the style would fill it from the top: the picture is
// drawn with the range and its direction both mirrored, which leaves the thumb where it is.
class UprightSlider : public CodeSlider {
  public:
    explicit UprightSlider(QWidget* parent) : CodeSlider(Qt::Vertical, parent) {
        setInvertedAppearance(true);
        setInvertedControls(true);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionSlider option;
        initStyleOption(&option);
        option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
        if (tickPosition() != NoTicks)
            option.subControls |= QStyle::SC_SliderTickmarks;
        option.upsideDown = !option.upsideDown;
        option.sliderPosition = option.maximum + option.minimum - option.sliderPosition;
        option.sliderValue = option.maximum + option.minimum - option.sliderValue;
        painter.drawComplexControl(QStyle::CC_Slider, option);
    }
};

// A list of the parts of the series, as wide as its longest row and tall enough for all of them, on
// any screen: the page scrolls, never the list. Its size is known before it is filled, so the sheet
// opens large enough for the page.
class PartListBox : public CodeListBox {
  public:
    using CodeListBox::CodeListBox;

    QSize sizeHint() const override { return sizeFor(PartTable.count() - 1); }
    QSize minimumSizeHint() const override { return sizeFor(PartTable.count() - 1); }

  protected:
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
            m_widestRow = -1;
        CodeListBox::changeEvent(event);
    }

  private:
    QSize sizeFor(int rows) const {
        // Measured once for each font: the layouts ask for the size many times while the sheet opens.
        if (m_widestRow < 0) {
            m_widestRow = 0;
            for (int32_t row = 1; row < PartTable.count(); ++row)
                m_widestRow = std::max(m_widestRow, fontMetrics().horizontalAdvance(QString::fromStdString(
                                                        PartTable.getEntry(row).Description)));
        }
        const int frame = 2 * frameWidth();
        return {m_widestRow + frame + 2 * fontMetrics().averageCharWidth(),
                rows * (fontMetrics().lineSpacing() + 2) + frame};
    }

    mutable int m_widestRow = -1; // the widest description in the list's font; -1 until measured
};

} // namespace

ExperiencePage::ExperiencePage(const AnswerSet& answers, QWidget* parent)
    : AnswerPage(PageId::Experience, answers, parent) {}

void ExperiencePage::buildQuestions() {
    auto* head = new QHBoxLayout;
    QGroupBox* years = makeGroup("YearsGroup", this);
    auto* yearsLayout = new QHBoxLayout(years);
    m_yearsLabel = new QLabel(QStringLiteral("0"), years);
    m_yearsLabel->setObjectName(QStringLiteral("YearsLabel"));
    m_yearsLabel->setAlignment(Qt::AlignCenter);
    m_yearsLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_yearsLabel->setMinimumWidth(m_yearsLabel->fontMetrics().horizontalAdvance(QStringLiteral("000+")));
    auto* yearsSpin = new YearsSpin(years);
    bindQuestion("Years", yearsSpin);
    yearsLayout->addWidget(m_yearsLabel);
    yearsLayout->addWidget(yearsSpin);
    head->addWidget(years);
    head->addWidget(makeQuestion("ByNumbers", this));
    head->addStretch();
    body()->addLayout(head);

    auto* anime = new QHBoxLayout;
    for (const char* form : {"Raw", "Sub", "Dub"})
        anime->addWidget(buildAnimeForm(form));
    body()->addLayout(anime, 1);

    auto* manga = new QHBoxLayout;
    for (const char* form : {"MangaRaw", "MangaSub"})
        manga->addWidget(buildMangaForm(form));
    body()->addLayout(manga);
    buildFoot();
}

// The form's group box and count box are named after the count: "Raw", "RawGroup", and so are its
// lists, slider and tune: "RawComplete", "IntensityRaw", "BoostRaw".
QGroupBox* ExperiencePage::buildAnimeForm(const char* form) {
    const QString name = QString::fromLatin1(form);
    const auto named = [&](const char* before, const char* after) {
        return (QLatin1String(before) + name + QLatin1String(after)).toLatin1();
    };
    QGroupBox* group = makeGroup(named("", "Group").constData(), this);
    auto* episodes = makeQuestion<CountBox>(form, group);
    episodes->setAlignment(Qt::AlignCenter);

    const auto makeList = [&](const char* part, QLabel*& label) {
        const QByteArray question = named("", part);
        label = new QLabel(questionCaption(question.constData()), group);
        label->setObjectName(QString::fromLatin1(named("", part)) + QStringLiteral("Label"));
        label->setAlignment(Qt::AlignCenter);
        auto* list = new PartListBox(group);
        bindQuestion(question.constData(), list);
        label->setBuddy(list);
        // The bare letter in words, for the mouse and for screen readers.
        const QString meaning = QLatin1String(part) == QLatin1String("Complete")
                                    ? tr("C: the parts seen completely")
                                    : tr("P: the parts seen partially");
        for (QWidget* widget : {static_cast<QWidget*>(label), static_cast<QWidget*>(list)}) {
            widget->setToolTip(meaning);
            widget->setAccessibleDescription(meaning);
        }
        follow(label, question.constData());
        return list;
    };
    QLabel* completeLabel = nullptr;
    QLabel* partialLabel = nullptr;
    CodeListBox* complete = makeList("Complete", completeLabel);
    CodeListBox* partial = makeList("Partial", partialLabel);

    auto* slider = new UprightSlider(group);
    bindQuestion(named("Intensity", "").constData(), slider);
    const QString intensity = tr("Intensity: strongest at the top, none at the bottom");
    slider->setToolTip(intensity);
    slider->setAccessibleDescription(intensity);
    const auto [tuneLabel, spin] = buildTune(name, group);

    // The lists one above the other, each headed by its letter, beside the upright slider.
    auto* grid = new QGridLayout(group);
    grid->addWidget(episodes, 0, 0, 1, 2);
    grid->addWidget(completeLabel, 1, 0, Qt::AlignTop);
    grid->addWidget(complete, 1, 1);
    grid->addWidget(partialLabel, 2, 0, Qt::AlignTop);
    grid->addWidget(partial, 2, 1);
    grid->addWidget(slider, 0, 2, 3, 1, Qt::AlignHCenter);
    grid->addWidget(tuneLabel, 0, 3);
    grid->addWidget(spin, 1, 3, Qt::AlignTop);
    grid->setColumnStretch(1, 1);
    return group;
}

// A form's tune: its spin box under a centred caption that opens and closes with it.
std::pair<QLabel*, QWidget*> ExperiencePage::buildTune(const QString& form, QGroupBox* group) {
    const QByteArray tune = (QLatin1String("Boost") + form).toLatin1();
    auto* label = new QLabel(questionCaption(tune.constData()), group);
    label->setObjectName(QLatin1String("TuneFrame") + form);
    label->setAlignment(Qt::AlignCenter);
    follow(label, tune.constData());
    QWidget* spin = makeQuestion(tune.constData(), group);
    label->setBuddy(spin);
    const QString meaning = tr("T: the tune, a finer step of the intensity beside it");
    for (QWidget* widget : {static_cast<QWidget*>(label), spin}) {
        widget->setToolTip(meaning);
        widget->setAccessibleDescription(meaning);
    }
    return {label, spin};
}

QGroupBox* ExperiencePage::buildMangaForm(const char* form) {
    const QString name = QString::fromLatin1(form);
    const auto named = [&](const char* before, const char* after) {
        return (QLatin1String(before) + name + QLatin1String(after)).toLatin1();
    };
    QGroupBox* group = makeGroup(named("", "Group").constData(), this);
    auto* amount = makeQuestion<CountBox>(form, group);
    amount->setAlignment(Qt::AlignCenter);
    QWidget* slider = makeQuestion(named("Intensity", "").constData(), group);
    const auto [tuneLabel, spin] = buildTune(name, group);

    auto* layout = new QHBoxLayout(group);
    layout->addWidget(amount);
    layout->addWidget(slider, 1);
    layout->addWidget(tuneLabel);
    layout->addWidget(spin);
    return group;
}

void ExperiencePage::showDerived() {
    m_yearsLabel->setText(QString::fromStdString(YearsText(answers().Experience.Years)));
}
