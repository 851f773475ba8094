#include "pages/PersonalPage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "code/CodeFrame.h"
#include "pages/PageControls.h"
#include "vocabulary/Tables.h"

namespace {

#define P0_TR(text) QT_TRANSLATE_NOOP("PersonalPage", text)

using Exact = PersonalPage::ExactNumberDescription;
// In the order they are checked when the page is left.
constexpr std::array<Exact, PersonalPage::ExactNumberCount> ExactNumbers = {{
    {"ExactAge", &PersonalAnswers::ExactAge, 200, Qt::AlignCenter, P0_TR("Age in years")},
    {"ExactWeight", &PersonalAnswers::ExactWeight, 500, Qt::AlignLeft, P0_TR("Weight in pounds")},
    {"ExactStatureIn", &PersonalAnswers::ExactStatureIn, 11, Qt::AlignLeft, P0_TR("Stature, inches")},
    {"ExactStatureFt", &PersonalAnswers::ExactStatureFt, 10, Qt::AlignLeft, P0_TR("Stature, feet")},
}};

// clang-format off
constexpr std::array<PersonalPage::TraitDescription, PersonalPage::TraitCount> Traits = {{
    {"Age", P0_TR("age"), P0_TR("&Age (yrs)"), P0_TR("&Exact"), nullptr, P0_TR("&Omit Age"), -3, 4, -7, 7,
     &PersonalAnswers::OmitAge, &PersonalAnswers::SpecifyExactAge, nullptr, &PersonalAnswers::Age, &PersonalAnswers::BoostAge,
     {0, -1}},
    {"Stature", P0_TR("stature"), P0_TR("&Stature (ft, in)"), P0_TR("E&xact"), nullptr, P0_TR("O&mit Stature"), -3, 3, -6, 6,
     &PersonalAnswers::OmitStature, &PersonalAnswers::SpecifyExactStature, nullptr, &PersonalAnswers::Stature,
     &PersonalAnswers::BoostStature, {3, 2}}, // feet, then inches
    {"Weight", P0_TR("weight"), P0_TR("&Weight (lbs)"), P0_TR("Exa&ct"), P0_TR("&Not Telling"), P0_TR("Om&it Weight"), -3, 3,
     -6, 6, &PersonalAnswers::OmitWeight, &PersonalAnswers::SpecifyExactWeight, &PersonalAnswers::NoTellWeight,
     &PersonalAnswers::Weight, &PersonalAnswers::BoostWeight, {1, -1}},
    {"Fat", P0_TR("body fat"), P0_TR("Body &Fat"), nullptr, P0_TR("Not &Telling"), P0_TR("Omi&t Body Fat"), -3, 3, -6, 6,
     &PersonalAnswers::OmitFat, nullptr, &PersonalAnswers::NoTellFat, &PersonalAnswers::Fat, &PersonalAnswers::BoostFat, {-1, -1}},
}};
// clang-format on

constexpr std::array<PersonalPage::EyeRowDescription, PersonalPage::EyeRowCount> EyeRows = {{
    {"Left0", false, &PersonalAnswers::ColorLeft0, &PersonalAnswers::ColorAdjLeft0, P0_TR("Left eye, first colour"),
     P0_TR("Left eye, intensity of the first colour")},
    {"Left1", false, &PersonalAnswers::ColorLeft1, &PersonalAnswers::ColorAdjLeft1, P0_TR("Left eye, second colour"),
     P0_TR("Left eye, intensity of the second colour")},
    {"Left2", false, &PersonalAnswers::ColorLeft2, &PersonalAnswers::ColorAdjLeft2, P0_TR("Left eye, third colour"),
     P0_TR("Left eye, intensity of the third colour")},
    {"Right0", true, &PersonalAnswers::ColorRight0, &PersonalAnswers::ColorAdjRight0, P0_TR("Right eye, first colour"),
     P0_TR("Right eye, intensity of the first colour")},
    {"Right1", true, &PersonalAnswers::ColorRight1, &PersonalAnswers::ColorAdjRight1, P0_TR("Right eye, second colour"),
     P0_TR("Right eye, intensity of the second colour")},
    {"Right2", true, &PersonalAnswers::ColorRight2, &PersonalAnswers::ColorAdjRight2, P0_TR("Right eye, third colour"),
     P0_TR("Right eye, intensity of the third colour")},
}};

#undef P0_TR

} // namespace

PersonalPage::PersonalPage(EncoderSheet& sheet)
    : AnswerPage(sheet, tr("Personal"), PersonalSection) {
    auto* traits = new QGridLayout;
    for (size_t i = 0; i < m_traits.size(); ++i)
        traits->addWidget(BuildTrait(m_traits[i], Traits[i]), static_cast<int>(i / 2),
                          static_cast<int>(i % 2));
    Body()->addLayout(traits);

    auto* lower = new QHBoxLayout;
    lower->addWidget(BuildEyes(), 1);
    // The omit boxes stand in a column of their own, so that closing a trait never closes them.
    auto* omits = new QVBoxLayout;
    for (Trait& trait : m_traits)
        omits->addWidget(trait.Omit);
    omits->addWidget(m_omitEyes);
    omits->addStretch();
    lower->addLayout(omits);
    Body()->addLayout(lower);
    Body()->addStretch();
}

QGroupBox* PersonalPage::BuildTrait(Trait& trait, const TraitDescription& description) {
    trait.Description = &description;
    const QString name = QLatin1String(description.Name);
    trait.Group = MakeFrame(this, tr(description.GroupCaption), name + QStringLiteral("Group"));
    const QString subject = tr(description.Subject);
    auto* layout = new QVBoxLayout(trait.Group);
    const auto flagChanged = [this, &trait] {
        TraitRule(trait);
        RequestRebuild();
    };
    trait.Omit = MakeFlagBox(this, tr(description.OmitCaption), QStringLiteral("Omit") + name);
    BindFlag(trait.Omit, this, m_answers.*description.Omit, flagChanged);

    auto* top = new QHBoxLayout;
    if (description.ExactCaption) {
        trait.Exact =
            MakeFlagBox(trait.Group, tr(description.ExactCaption), QStringLiteral("SpecifyExact") + name);
        trait.Exact->setAccessibleName(tr("Exact %1").arg(subject));
        top->addWidget(trait.Exact);
        BindFlag(trait.Exact, this, m_answers.*description.SpecifyExact, flagChanged);
    }
    for (int index : description.ExactNumbers) {
        if (index < 0)
            continue;
        const Exact& exact = ExactNumbers[static_cast<size_t>(index)];
        CountBox* box =
            MakeCountBox(trait.Group, QLatin1String(exact.Name), tr(exact.AccessibleName), exact.Alignment);
        top->addWidget(box);
        m_exactNumbers[static_cast<size_t>(index)] = box;
        connect(box, &QLineEdit::textChanged, this, [this, box, &exact, &trait] {
            StoreCount(m_answers.*exact.Field, *box);
            TraitRule(trait);
        });
    }
    if (description.NoTellCaption) {
        trait.NoTell =
            MakeFlagBox(trait.Group, tr(description.NoTellCaption), QStringLiteral("NoTell") + name);
        trait.NoTell->setAccessibleName(tr("Not telling the %1").arg(subject));
        top->addWidget(trait.NoTell);
        BindFlag(trait.NoTell, this, m_answers.*description.NoTell, flagChanged);
    }
    top->addStretch();
    layout->addLayout(top);

    auto* level = new QHBoxLayout;
    trait.Tune = MakeLevelTuneGroup(trait.Group, subject.left(1).toUpper() + subject.mid(1),
                                    tr("the %1").arg(subject), name);
    level->addWidget(trait.Tune.Slider, 1);
    level->addWidget(trait.Tune.Frame);
    layout->addLayout(level);
    trait.Tune.Connect(this, m_answers.*description.Level, m_answers.*description.Boost,
                       [this] { RequestRebuild(); });
    return trait.Group;
}

QGroupBox* PersonalPage::BuildEyes() {
    m_eyes = MakeFrame(this, tr("&Eyes"), QStringLiteral("EyesGroup"));
    auto* layout = new QVBoxLayout(m_eyes);
    auto* top = new QHBoxLayout;
    // Each omit box comes first in the tab order of its trait.
    m_omitEyes = MakeFlagBox(this, tr("Omit& Eyes"), QStringLiteral("OmitEyes"));
    m_same = MakeFlagBox(m_eyes, tr("Both Eyes are the &Same"), QStringLiteral("Same"));
    m_glasses = MakeFlagBox(m_eyes, tr("&Glasses"), QStringLiteral("Glasses"));
    m_contacts = MakeFlagBox(m_eyes, tr("&Contacts"), QStringLiteral("Contacts"));
    for (QCheckBox* box : {m_same, m_glasses, m_contacts})
        top->addWidget(box);
    top->addStretch();
    layout->addLayout(top);
    const auto eyesChanged = [this] {
        EyesRule();
        RequestRebuild();
    };
    BindFlag(m_omitEyes, this, m_answers.OmitEyes, eyesChanged);
    BindFlag(m_same, this, m_answers.Same, eyesChanged);
    BindFlag(m_glasses, this, m_answers.Glasses, [this] { RequestRebuild(); });
    BindFlag(m_contacts, this, m_answers.Contacts, [this] { RequestRebuild(); });

    m_left = MakeFrame(m_eyes, tr("&Left (color, intensity)"), QStringLiteral("LeftGroup"));
    m_right = MakeFrame(m_eyes, tr("&Right (color, intensity)"), QStringLiteral("RightGroup"));
    auto* sides = new QHBoxLayout;
    QGridLayout* grids[] = {new QGridLayout(m_left), new QGridLayout(m_right)};
    for (size_t i = 0; i < m_eyeRows.size(); ++i) {
        EyeRow& row = m_eyeRows[i];
        row.Description = &EyeRows[i];
        QGroupBox* side = row.Description->Right ? m_right : m_left;
        const QString name = QLatin1String(row.Description->Name);
        row.Color = MakeCodeList(side, QStringLiteral("Color") + name, tr(row.Description->ColorName));
        row.Intensity =
            MakeCodeList(side, QStringLiteral("ColorAdj") + name, tr(row.Description->IntensityName));
        QGridLayout* grid = grids[row.Description->Right ? 1 : 0];
        const int line = static_cast<int>(i % 3);
        grid->addWidget(row.Color, line, 0);
        grid->addWidget(row.Intensity, line, 1);
        BindRow(row.Color, this, m_answers.*row.Description->Color, eyesChanged);
        BindRow(row.Intensity, this, m_answers.*row.Description->Intensity, [this] { RequestRebuild(); });
    }
    sides->addWidget(m_left);
    sides->addWidget(m_right);
    layout->addLayout(sides);
    return m_eyes;
}

void PersonalPage::OnInitDialog() {
    // Setting a count box's text counts as a change: each box stores its number and rebuilds.
    for (size_t i = 0; i < m_exactNumbers.size(); ++i)
        m_exactNumbers[i]->ShowCount(m_answers.*ExactNumbers[i].Field);
    for (Trait& trait : m_traits) {
        const TraitDescription& d = *trait.Description;
        trait.Tune.SetRanges(d.Minimum, d.Maximum, d.TuneMinimum, d.TuneMaximum);
    }
    for (EyeRow& row : m_eyeRows) {
        row.Color->FillFromTable(EyeColorTable);
        row.Intensity->FillFromTable(ColorAdjTable);
    }
    ShowAnswers();
}

void PersonalPage::ShowAnswers() {
    UpdateControls();
    for (Trait& trait : m_traits)
        trait.Tune.Show(m_answers.*trait.Description->Level, m_answers.*trait.Description->Boost);
    for (Trait& trait : m_traits)
        TraitRule(trait);
    EyesRule();
    // A damaged flag has just been set to 0; the code must say so too.
    RequestRebuild();
}

void PersonalPage::UpdateControls() {
    ShowFlags();
    for (size_t i = 0; i < m_exactNumbers.size(); ++i) {
        const QSignalBlocker blocker(m_exactNumbers[i]);
        m_exactNumbers[i]->ShowCount(m_answers.*ExactNumbers[i].Field);
    }
    ShowRows();
}

void PersonalPage::ShowFlags() {
    for (Trait& trait : m_traits) {
        const TraitDescription& d = *trait.Description;
        if (trait.Exact)
            ShowFlag(*trait.Exact, m_answers.*d.SpecifyExact);
        if (trait.NoTell)
            ShowFlag(*trait.NoTell, m_answers.*d.NoTell);
        ShowFlag(*trait.Omit, m_answers.*d.Omit);
    }
    ShowFlag(*m_omitEyes, m_answers.OmitEyes);
    ShowFlag(*m_same, m_answers.Same);
    ShowFlag(*m_glasses, m_answers.Glasses);
    ShowFlag(*m_contacts, m_answers.Contacts);
}

void PersonalPage::ShowRows() {
    for (EyeRow& row : m_eyeRows) {
        row.Color->ShowRow(m_answers.*row.Description->Color);
        row.Intensity->ShowRow(m_answers.*row.Description->Intensity);
    }
}

std::optional<ValidationFailure> PersonalPage::OnKillActive() {
    for (const Trait& trait : m_traits)
        for (int index : trait.Description->ExactNumbers)
            if (index >= 0)
                m_exactNumbers[static_cast<size_t>(index)]->FillBlankCount();
    for (size_t i = 0; i < m_exactNumbers.size(); ++i)
        if (auto message = m_exactNumbers[i]->Validate(0, ExactNumbers[i].Maximum))
            return ValidationFailure{m_exactNumbers[i], *message};
    return std::nullopt;
}

// Age, stature, weight and body fat: open unless omitted; an exact number replaces the level and the
// not-telling box; not telling replaces the level.
void PersonalPage::TraitRule(Trait& trait) {
    const TraitDescription& d = *trait.Description;
    const bool exact = d.SpecifyExact && m_answers.*d.SpecifyExact != 0;
    const bool noTell = d.NoTell && m_answers.*d.NoTell != 0;

    const bool a = m_answers.*d.Omit == 0;
    if (trait.Exact)
        trait.Exact->setEnabled(a);
    trait.Group->setEnabled(a);
    for (int index : d.ExactNumbers)
        if (index >= 0)
            m_exactNumbers[static_cast<size_t>(index)]->setEnabled(a && exact);
    const bool b = a && !exact;
    if (trait.NoTell)
        trait.NoTell->setEnabled(b);
    const bool c = b && !noTell;
    trait.Tune.SetEnabled(c);
}

// The eyes: open unless omitted; the right eye only while it is not the same as the left; an
// intensity while its colour is chosen; glasses and contacts while any colour is, right or left.
void PersonalPage::EyesRule() {
    int64_t colours = 0; // damaged rows must not overflow the sum
    for (const EyeRow& row : m_eyeRows)
        colours += m_answers.*row.Description->Color;

    const bool a = m_answers.OmitEyes == 0;
    for (QWidget* control :
         {static_cast<QWidget*>(m_same), static_cast<QWidget*>(m_left), static_cast<QWidget*>(m_eyes)})
        control->setEnabled(a);
    m_glasses->setEnabled(colours != 0 && a);
    m_contacts->setEnabled(colours != 0 && a);
    const bool b = a && m_answers.Same == 0;
    m_right->setEnabled(b);
    for (const EyeRow& row : m_eyeRows) {
        const bool open = row.Description->Right ? b : a;
        row.Color->setEnabled(open);
        row.Intensity->setEnabled(open && m_answers.*row.Description->Color != 0);
    }
}
