#include "pages/ExperiencePage.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QStylePainter>
#include <algorithm>

#include "code/CodeFrame.h"
#include "pages/PageControls.h"
#include "vocabulary/Tables.h"

namespace {

constexpr int MaximumCount = 200;
constexpr int MaximumIntensity = 4;
constexpr int MaximumYears = 100; // half years

// Whole years, and "+" for a further half year; a damaged value shows as stored.
QString YearsText(int halfYears) {
    return QString::number(halfYears / 2) + (halfYears % 2 != 0 ? QStringLiteral("+") : QString());
}

// An up-down control without a text of its own: the years label beside it shows the years. It is
// only as wide as its arrows, so no empty text field sits beside the label; its value as a screen
// reader hears it is the label's text.
class YearsSpin : public CodeSpinBox {
  public:
    explicit YearsSpin(QWidget* parent) : CodeSpinBox(parent) {
        // The text is there for screen readers only: read-only (no caret) and drawn in no colour.
        lineEdit()->setReadOnly(true);
        QPalette palette = lineEdit()->palette();
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            for (QPalette::ColorRole role : {QPalette::Text, QPalette::HighlightedText, QPalette::Highlight})
                palette.setColor(group, role, Qt::transparent);
        lineEdit()->setPalette(palette);
    }

    QSize sizeHint() const override {
        QStyleOptionSpinBox option;
        initStyleOption(&option);
        const QRect up = style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, this);
        const QRect down = style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxDown, this);
        const int frame = style()->pixelMetric(QStyle::PM_SpinBoxFrameWidth, &option, this);
        return {up.united(down).width() + 2 * frame + 2, CodeSpinBox::sizeHint().height()};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    QString textFromValue(int value) const override { return YearsText(value); }
    int valueFromText(const QString&) const override { return value(); }
    QValidator::State validate(QString&, int&) const override { return QValidator::Acceptable; }
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

// A list of the parts of the series, as wide as its longest row and tall enough for all of them. Its
// size is known before it is filled, so the sheet opens large enough for the page.
class PartListBox : public CodeListBox {
  public:
    using CodeListBox::CodeListBox;

    QSize sizeHint() const override { return SizeFor(PartTable.m_nCount - 1); }
    QSize minimumSizeHint() const override { return SizeFor(4); }

  private:
    QSize SizeFor(int rows) const {
        int width = 0;
        for (int32_t row = 1; row < PartTable.m_nCount; ++row)
            width = std::max(width, fontMetrics().horizontalAdvance(
                                        QString::fromStdString(PartTable.m_pEntries[row].m_strDescription)));
        const int frame = 2 * frameWidth();
        const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        return {width + scrollBar + frame + 2 * fontMetrics().averageCharWidth(),
                rows * (fontMetrics().lineSpacing() + 2) + frame};
    }
};

// A slider with a captioned tune spin beside it ("Tune") or above it ("T" on the upright sliders).
// An upright slider has its minimum at the top, and the up key moves the thumb up.
TuneGroup MakeCaptionedTuneGroup(QWidget* parent, const QString& subject, const QString& fieldName,
                                 const QString& caption, Qt::Orientation orientation) {
    TuneGroup group;
    group.Inverted = orientation == Qt::Vertical;
    if (group.Inverted) {
        group.Slider = new UprightSlider(parent);
        group.Slider->setObjectName(QStringLiteral("Intensity") + fieldName);
        group.Slider->setTickPosition(QSlider::TicksRight);
    } else {
        group.Slider = MakeIntensitySlider(parent, QString(), fieldName, orientation);
    }
    group.Slider->setAccessibleName(ExperiencePage::tr("Intensity of the %1").arg(subject));
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QStringLiteral("TuneFrame") + fieldName);
    label->setAlignment(Qt::AlignCenter);
    group.Spin = MakeTuneSpin(parent, fieldName, TuneName(ExperiencePage::tr("the %1").arg(subject)));
    label->setBuddy(group.Spin);
    group.Frame = label;
    return group;
}

// The forms in the order of their group boxes, which is also the order of the arrays of the page.
struct AnimeDescription {
    const char* Caption;
    const char* Name;    // the count's field name, which names the form's controls
    const char* Subject; // what a screen reader calls the form: "raw anime"
    ExperiencePage::AnimeFields Fields;
};
const AnimeDescription AnimeForms[ExperiencePage::AnimeFormCount] = {
    {QT_TRANSLATE_NOOP("ExperiencePage", "Ra&w Anime"),
     "Raw",
     QT_TRANSLATE_NOOP("ExperiencePage", "raw anime"),
     {&ExperienceAnswers::Raw, &ExperienceAnswers::RawComplete, &ExperienceAnswers::RawPartial, &ExperienceAnswers::IntensityRaw,
      &ExperienceAnswers::BoostRaw}},
    {QT_TRANSLATE_NOOP("ExperiencePage", "S&ubbed Anime"),
     "Sub",
     QT_TRANSLATE_NOOP("ExperiencePage", "subbed anime"),
     {&ExperienceAnswers::Sub, &ExperienceAnswers::SubComplete, &ExperienceAnswers::SubPartial, &ExperienceAnswers::IntensitySub,
      &ExperienceAnswers::BoostSub}},
    {QT_TRANSLATE_NOOP("ExperiencePage", "&Dubbed Anime"),
     "Dub",
     QT_TRANSLATE_NOOP("ExperiencePage", "dubbed anime"),
     {&ExperienceAnswers::Dub, &ExperienceAnswers::DubComplete, &ExperienceAnswers::DubPartial, &ExperienceAnswers::IntensityDub,
      &ExperienceAnswers::BoostDub}},
};

struct MangaDescription {
    const char* Caption;
    const char* Name;
    const char* Subject;
    ExperiencePage::MangaFields Fields;
};
const MangaDescription MangaForms[ExperiencePage::MangaFormCount] = {
    {QT_TRANSLATE_NOOP("ExperiencePage", "&Raw Manga"),
     "MangaRaw",
     QT_TRANSLATE_NOOP("ExperiencePage", "raw manga"),
     {&ExperienceAnswers::MangaRaw, &ExperienceAnswers::IntensityMangaRaw, &ExperienceAnswers::BoostMangaRaw}},
    {QT_TRANSLATE_NOOP("ExperiencePage", "Tran&slated Manga"),
     "MangaSub",
     QT_TRANSLATE_NOOP("ExperiencePage", "translated manga"),
     {&ExperienceAnswers::MangaSub, &ExperienceAnswers::IntensityMangaSub, &ExperienceAnswers::BoostMangaSub}},
};

// A form's group box holding its count box, both named after the count's field.
QGroupBox* MakeFormFrame(QWidget* page, const char* caption, const QString& name, const QString& countName,
                         CountBox*& count) {
    QGroupBox* group = MakeFrame(page, QCoreApplication::translate("ExperiencePage", caption),
                                 name + QStringLiteral("Group"));
    count = MakeCountBox(group, name, countName, Qt::AlignCenter);
    return group;
}

} // namespace

ExperiencePage::ExperiencePage(EncoderSheet& sheet)
    : AnswerPage(sheet, tr("Experience"), ExperienceSection) {
    auto* head = new QHBoxLayout;
    auto* years = MakeFrame(this, tr("&Years"), QStringLiteral("YearsGroup"));
    auto* yearsLayout = new QHBoxLayout(years);
    m_yearsLabel = new QLabel(QStringLiteral("0"), years);
    m_yearsLabel->setObjectName(QStringLiteral("YearsLabel"));
    m_yearsLabel->setAlignment(Qt::AlignCenter);
    m_yearsLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_yearsLabel->setMinimumWidth(m_yearsLabel->fontMetrics().horizontalAdvance(QStringLiteral("000+")));
    m_years = new YearsSpin(years);
    m_years->setObjectName(QStringLiteral("Years"));
    m_years->setAccessibleName(tr("Years as a fan"));
    yearsLayout->addWidget(m_yearsLabel);
    yearsLayout->addWidget(m_years);
    head->addWidget(years);
    m_byNumbers = MakeFlagBox(this, tr("Specify Anime by &Number of Episodes"), QStringLiteral("ByNumbers"));
    head->addWidget(m_byNumbers);
    head->addStretch();
    Body()->addLayout(head);

    auto* anime = new QHBoxLayout;
    for (size_t i = 0; i < m_anime.size(); ++i)
        anime->addWidget(BuildAnimeForm(m_anime[i], AnimeForms[i].Caption, AnimeForms[i].Name,
                                        tr(AnimeForms[i].Subject), AnimeForms[i].Fields));
    Body()->addLayout(anime, 1);

    auto* manga = new QHBoxLayout;
    for (size_t i = 0; i < m_manga.size(); ++i)
        manga->addWidget(BuildMangaForm(m_manga[i], MangaForms[i].Caption, MangaForms[i].Name,
                                        tr(MangaForms[i].Subject), MangaForms[i].Fields));
    Body()->addLayout(manga);

    connect(m_years, &CodeSpinBox::Notified, this, [this] { OnYearsChanged(m_years->value()); });
    connect(m_byNumbers, &QCheckBox::clicked, this, &ExperiencePage::OnByNumbersClicked);
}

QGroupBox* ExperiencePage::BuildAnimeForm(AnimeForm& form, const char* caption, const char* fieldName,
                                          const QString& subject, const AnimeFields& fields) {
    form.Fields = fields;
    const QString name = QString::fromLatin1(fieldName);
    QGroupBox* group =
        MakeFormFrame(this, caption, name, tr("Episodes of the %1").arg(subject), form.EpisodesBox);

    const auto makeList = [&](const QString& part, const QString& letter, const QString& accessibleName,
                              QLabel*& label) {
        label = new QLabel(letter, group);
        label->setObjectName(name + part + QStringLiteral("Label"));
        label->setAlignment(Qt::AlignCenter);
        auto* list = new PartListBox(group);
        list->setObjectName(name + part);
        list->setAccessibleName(accessibleName);
        label->setBuddy(list);
        return list;
    };
    form.CompleteList = makeList(QStringLiteral("Complete"), tr("C"),
                                 tr("Parts of the %1 seen completely").arg(subject), form.CompleteLabel);
    form.PartialList = makeList(QStringLiteral("Partial"), tr("P"),
                                tr("Parts of the %1 seen partially").arg(subject), form.PartialLabel);
    form.Tune = MakeCaptionedTuneGroup(group, subject, name, tr("T"), Qt::Vertical);

    // The lists one above the other, each headed by its letter, beside the upright slider.
    auto* grid = new QGridLayout(group);
    grid->addWidget(form.EpisodesBox, 0, 0, 1, 2);
    grid->addWidget(form.CompleteLabel, 1, 0, Qt::AlignTop);
    grid->addWidget(form.CompleteList, 1, 1);
    grid->addWidget(form.PartialLabel, 2, 0, Qt::AlignTop);
    grid->addWidget(form.PartialList, 2, 1);
    grid->addWidget(form.Tune.Slider, 0, 2, 3, 1, Qt::AlignHCenter);
    grid->addWidget(form.Tune.Frame, 0, 3);
    grid->addWidget(form.Tune.Spin, 1, 3, Qt::AlignTop);
    grid->setColumnStretch(1, 1);

    connect(form.EpisodesBox, &QLineEdit::textChanged, this,
            [this, &form] { OnCountChanged(m_answers.*form.Fields.Episodes, *form.EpisodesBox); });
    connect(form.CompleteList, &QListWidget::itemSelectionChanged, this,
            [this, &form] { OnSelectionChanged(m_answers.*form.Fields.Complete, *form.CompleteList); });
    connect(form.PartialList, &QListWidget::itemSelectionChanged, this,
            [this, &form] { OnSelectionChanged(m_answers.*form.Fields.Partial, *form.PartialList); });
    form.Tune.Connect(this, m_answers.*fields.Intensity, m_answers.*fields.Boost,
                      [this] { RequestRebuild(); });
    return group;
}

QGroupBox* ExperiencePage::BuildMangaForm(MangaForm& form, const char* caption, const char* fieldName,
                                          const QString& subject, const MangaFields& fields) {
    form.Fields = fields;
    const QString name = QString::fromLatin1(fieldName);
    QGroupBox* group =
        MakeFormFrame(this, caption, name, tr("Amount of the %1").arg(subject), form.AmountBox);
    form.Tune = MakeCaptionedTuneGroup(group, subject, name, tr("Tune"), Qt::Horizontal);

    auto* layout = new QHBoxLayout(group);
    layout->addWidget(form.AmountBox);
    layout->addWidget(form.Tune.Slider, 1);
    layout->addWidget(form.Tune.Frame);
    layout->addWidget(form.Tune.Spin);

    connect(form.AmountBox, &QLineEdit::textChanged, this,
            [this, &form] { OnCountChanged(m_answers.*form.Fields.Amount, *form.AmountBox); });
    form.Tune.Connect(this, m_answers.*fields.Intensity, m_answers.*fields.Boost,
                      [this] { RequestRebuild(); });
    return group;
}

void ExperiencePage::OnInitDialog() {
    // The check box and the counts first; a count shown here counts as typed, as on every activation.
    UpdateControls();
    {
        const QSignalBlocker blocker(m_years);
        m_years->setRange(0, MaximumYears);
    }
    for (AnimeForm& form : m_anime) {
        form.CompleteList->FillFromTable(PartTable);
        form.PartialList->FillFromTable(PartTable);
        form.Tune.SetRanges(0, MaximumIntensity, 0, MaximumIntensity);
    }
    for (MangaForm& form : m_manga)
        form.Tune.SetRanges(0, MaximumIntensity, 0, MaximumIntensity);
    ShowAnswers();
}

void ExperiencePage::ShowAnswers() {
    ShowFlag(*m_byNumbers, m_answers.ByNumbers);
    for (const auto& [box, field] : CountsInExchangeOrder()) {
        const QSignalBlocker blocker(box);
        box->ShowCount(*field);
    }
    {
        const QSignalBlocker blocker(m_years);
        m_years->setValue(m_answers.Years);
    }
    for (AnimeForm& form : m_anime) {
        // Bits past the list select nothing; the field keeps them until the list is changed.
        form.CompleteList->ShowSelectionMask(static_cast<uint32_t>(m_answers.*form.Fields.Complete));
        form.PartialList->ShowSelectionMask(static_cast<uint32_t>(m_answers.*form.Fields.Partial));
        form.Tune.Show(m_answers.*form.Fields.Intensity, m_answers.*form.Fields.Boost);
    }
    for (MangaForm& form : m_manga)
        form.Tune.Show(m_answers.*form.Fields.Intensity, m_answers.*form.Fields.Boost);
    RefreshYearsLabel();
    ModeSwitch();
    GroupRules();
}

void ExperiencePage::UpdateControls() {
    // A damaged flag (outside 0..2) becomes 0, and the code follows it.
    const int32_t stored = m_answers.ByNumbers;
    ShowFlag(*m_byNumbers, m_answers.ByNumbers);
    if (m_answers.ByNumbers != stored)
        RequestRebuild();
    for (const auto& [box, field] : CountsInExchangeOrder())
        box->ShowCount(*field);
}

std::optional<ValidationFailure> ExperiencePage::OnKillActive() {
    for (CountBox* box :
         {m_anime[RawForm].EpisodesBox, m_anime[SubForm].EpisodesBox, m_anime[DubForm].EpisodesBox,
          m_manga[RawForm].AmountBox, m_manga[SubForm].AmountBox})
        box->FillBlankCount();
    for (const auto& [box, field] : CountsInExchangeOrder())
        if (auto message = box->Validate(0, MaximumCount))
            return ValidationFailure{box, *message};
    return std::nullopt;
}

// Dubbed, subbed, translated manga, raw anime, raw manga: the first failing box is the one reported.
std::array<std::pair<CountBox*, uint32_t*>, 5> ExperiencePage::CountsInExchangeOrder() {
    return {{{m_anime[DubForm].EpisodesBox, &m_answers.Dub},
             {m_anime[SubForm].EpisodesBox, &m_answers.Sub},
             {m_manga[SubForm].AmountBox, &m_answers.MangaSub},
             {m_anime[RawForm].EpisodesBox, &m_answers.Raw},
             {m_manga[RawForm].AmountBox, &m_answers.MangaRaw}}};
}

void ExperiencePage::OnYearsChanged(int position) {
    m_answers.Years = static_cast<int16_t>(position);
    RefreshYearsLabel();
    RequestRebuild();
}

void ExperiencePage::OnByNumbersClicked() {
    m_answers.ByNumbers = FlagOf(*m_byNumbers);
    ModeSwitch();
    GroupRules();
    RequestRebuild();
}

// Out-of-range counts are stored and coded at once; leaving the page refuses them.
void ExperiencePage::OnCountChanged(uint32_t& field, const CountBox& box) {
    StoreCount(field, box);
    GroupRules();
}

// Bits the list has no rows for are dropped once the list is changed.
void ExperiencePage::OnSelectionChanged(int32_t& field, const CodeListBox& list) {
    StoreSelection(field, list);
    GroupRules();
}

void ExperiencePage::RefreshYearsLabel() {
    m_yearsLabel->setText(YearsText(m_answers.Years));
}

// Anime by numbers of episodes opens the anime count boxes; by parts, the part lists. Both keep their
// values.
void ExperiencePage::ModeSwitch() {
    const bool byNumbers = m_answers.ByNumbers != 0;
    for (AnimeForm& form : m_anime) {
        form.EpisodesBox->setEnabled(byNumbers);
        for (QWidget* byParts : std::initializer_list<QWidget*>{form.CompleteLabel, form.CompleteList,
                                                                form.PartialLabel, form.PartialList})
            byParts->setEnabled(!byNumbers);
    }
}

// A form's intensity and tune are open while the form has been seen; closing them keeps their values.
void ExperiencePage::GroupRules() {
    for (AnimeForm& form : m_anime)
        form.Tune.SetEnabled(AnimeFormAnswered(form));
    for (MangaForm& form : m_manga)
        form.Tune.SetEnabled(m_answers.*form.Fields.Amount != 0);
}

bool ExperiencePage::AnimeFormAnswered(const AnimeForm& form) const {
    if (m_answers.ByNumbers != 0)
        return m_answers.*form.Fields.Episodes != 0;
    return m_answers.*form.Fields.Complete != 0 || m_answers.*form.Fields.Partial != 0;
}
