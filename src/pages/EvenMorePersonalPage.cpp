#include "pages/EvenMorePersonalPage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "code/CodeFrame.h"
#include "pages/PageControls.h"
#include "vocabulary/Tables.h"

namespace {

constexpr std::array<EvenMorePersonalPage::TunedRowDescription, 2> TunedRows = {{
    {"Preference", QT_TRANSLATE_NOOP("EvenMorePersonalPage", "relationship preference"), &EvenMorePersonalAnswers::Preference,
     &EvenMorePersonalAnswers::BoostPreference},
    {"Status", QT_TRANSLATE_NOOP("EvenMorePersonalPage", "relationship status"), &EvenMorePersonalAnswers::Status,
     &EvenMorePersonalAnswers::BoostStatus},
}};

void SetEnabled(const QList<QWidget*>& controls, bool enabled) {
    for (QWidget* control : controls)
        control->setEnabled(enabled);
}

} // namespace

EvenMorePersonalPage::EvenMorePersonalPage(EncoderSheet& sheet)
    : AnswerPage(sheet, tr("Even More Personal"), EvenMorePersonalSection) {
    // The omit boxes come first in the tab order, in a column of their own at the right.
    auto* omits = new QVBoxLayout;
    m_omitSign = MakeFlagBox(this, tr("&Omit Astrological Sign"), QStringLiteral("OmitSign"));
    m_omitGender = MakeFlagBox(this, tr("O&mit Gender"), QStringLiteral("OmitGender"));
    m_omitRelationship = MakeFlagBox(this, tr("Om&it Relationship"), QStringLiteral("OmitRelationship"));
    for (QCheckBox* box : {m_omitSign, m_omitGender, m_omitRelationship})
        omits->addWidget(box);
    omits->addStretch();

    auto* columns = new QHBoxLayout;
    auto* answers = new QVBoxLayout;
    answers->addWidget(BuildSign());
    answers->addWidget(BuildGender());
    answers->addWidget(BuildRelationship());
    columns->addLayout(answers, 1);
    columns->addLayout(omits);
    Body()->addLayout(columns);
    Body()->addStretch();

    BindFlag(m_omitSign, this, m_answers.OmitSign, [this] {
        SignRule();
        RequestRebuild();
    });
    BindFlag(m_omitGender, this, m_answers.OmitGender, [this] {
        GenderRule();
        RequestRebuild();
    });
    BindFlag(m_omitRelationship, this, m_answers.OmitRelationship, [this] {
        RelationshipRule();
        RequestRebuild();
    });
}

QGroupBox* EvenMorePersonalPage::BuildSign() {
    auto* group = MakeFrame(this, tr("Astrological Sign (&*)"), QStringLiteral("SignGroup"));
    auto* layout = new QHBoxLayout(group);
    m_sign = MakeCodeList(group, QStringLiteral("Sign"), tr("Astrological sign"));
    layout->addWidget(m_sign);
    layout->addStretch();
    m_signControls = {m_sign, group};
    BindRow(m_sign, this, m_answers.Sign, [this] { RequestRebuild(); });
    return group;
}

QGroupBox* EvenMorePersonalPage::BuildGender() {
    auto* group = MakeFrame(this, tr("Gender (&xyz)"), QStringLiteral("GenderGroup"));
    auto* layout = new QVBoxLayout(group);
    m_gender = MakeCodeList(group, QStringLiteral("Gender"), tr("Gender"));
    layout->addWidget(m_gender);

    auto* kink = MakeFrame(group, tr("&Kink Factor and Membership"), QStringLiteral("KinkGroup"));
    auto* kinkLayout = new QGridLayout(kink);
    m_usePurity = MakeFlagBox(kink, tr("&Use Purity Quiz"), QStringLiteral("UsePurity"));
    kinkLayout->addWidget(m_usePurity, 0, 0);
    m_quizGroup = MakeFrame(kink, tr("Quiz Score (&%)"), QStringLiteral("QuizGroup"));
    auto* quizLayout = new QHBoxLayout(m_quizGroup);
    m_purity = MakeCountBox(m_quizGroup, QStringLiteral("Purity"), tr("Purity quiz score"), Qt::AlignCenter);
    quizLayout->addWidget(m_purity);
    kinkLayout->addWidget(m_quizGroup, 1, 0);

    auto* factor = MakeFrame(kink, QString(), QStringLiteral("KinkFactorGroup"));
    factor->setAccessibleName(kink->accessibleName());
    auto* factorLayout = new QGridLayout(factor);
    m_noTellKink = MakeFlagBox(factor, tr("&Not Telling"), QStringLiteral("NoTellKink"));
    m_noTellKink->setAccessibleName(tr("Not telling the kink factor"));
    m_kink = MakeLevelTuneGroup(factor, tr("Kink factor"), tr("the kink factor"), QStringLiteral("Kink"));
    m_kinkMembership = MakeCodeList(factor, QStringLiteral("KinkMembership"), tr("Kink membership"));
    factorLayout->addWidget(m_noTellKink, 0, 0);
    factorLayout->addWidget(m_kink.Slider, 1, 0);
    factorLayout->addWidget(m_kink.Frame, 1, 1);
    factorLayout->addWidget(m_kinkMembership, 2, 0, 1, 2);
    kinkLayout->addWidget(factor, 0, 1, 2, 1);
    kinkLayout->setColumnStretch(1, 1);
    layout->addWidget(kink);
    m_genderControls = {m_gender, m_usePurity, group, kink, factor};

    const auto rebuild = [this] { RequestRebuild(); };
    BindRow(m_gender, this, m_answers.Gender, rebuild);
    BindFlag(m_usePurity, this, m_answers.UsePurity, [this] {
        RequestRebuild();
        GenderRule();
    });
    connect(m_purity, &QLineEdit::textChanged, this, [this] { StoreCount(m_answers.Purity, *m_purity); });
    m_kink.Connect(this, m_answers.Kink, m_answers.BoostKink, rebuild);
    BindFlag(m_noTellKink, this, m_answers.NoTellKink, [this] {
        RequestRebuild();
        GenderRule();
    });
    BindRow(m_kinkMembership, this, m_answers.KinkMembership, rebuild);
    return group;
}

QGroupBox* EvenMorePersonalPage::BuildRelationship() {
    auto* group =
        MakeFrame(this, tr("&Relationship Preference and Status"), QStringLiteral("RelationshipGroup"));
    auto* layout = new QGridLayout(group);
    m_relationshipControls = {group};
    for (size_t i = 0; i < m_relationship.size(); ++i) {
        TunedRow& row = m_relationship[i];
        row.Description = &TunedRows[i];
        const QString name = QLatin1String(row.Description->Name);
        const QString subject = tr(row.Description->Subject);
        row.List = MakeCodeList(group, name, subject.left(1).toUpper() + subject.mid(1));
        row.Frame = MakeFrame(group, tr("Tune"), QStringLiteral("TuneFrame") + name);
        row.Spin = MakeTuneSpin(row.Frame, name, TuneName(tr("the %1").arg(subject)));
        auto* frameLayout = new QHBoxLayout(row.Frame);
        frameLayout->setContentsMargins(4, 2, 4, 2);
        frameLayout->addWidget(row.Spin);
        layout->addWidget(row.List, static_cast<int>(i), 0);
        layout->addWidget(row.Frame, static_cast<int>(i), 1);
        m_relationshipControls << row.List << row.Spin << row.Frame;

        // Row plus tune stays within the three rows, whichever of the two the user moves.
        const auto clamp = [this, &row] {
            m_answers.*row.Description->Boost = ClampRowTune(m_answers.*row.Description->Row, *row.Spin);
            RequestRebuild();
        };
        BindRow(row.List, this, m_answers.*row.Description->Row, clamp);
        connect(row.Spin, &CodeSpinBox::Notified, this, clamp);
    }
    layout->setColumnStretch(0, 1);
    return group;
}

void EvenMorePersonalPage::OnInitDialog() {
    // Setting the count box's text counts as a change: the score is stored again and rebuilt.
    m_purity->ShowCount(m_answers.Purity);
    m_sign->FillFromTable(SignTable);
    for (size_t i = 0; i < m_relationship.size(); ++i)
        m_relationship[i].List->FillFromTable(i == 0 ? PreferenceTable : StatusTable);
    for (TunedRow& row : m_relationship) {
        const QSignalBlocker blocker(row.Spin);
        row.Spin->setRange(-2, 2);
    }
    m_gender->FillFromTable(GenderTable);
    m_kinkMembership->FillFromTable(KinkTable);
    m_kink.SetRanges(-3, 3, -6, 6);
    ShowAnswers();
}

void EvenMorePersonalPage::ShowAnswers() {
    for (TunedRow& row : m_relationship) {
        const QSignalBlocker blocker(row.Spin);
        row.Spin->setValue(m_answers.*row.Description->Boost);
    }
    m_kink.Show(m_answers.Kink, m_answers.BoostKink);
    UpdateControls();
    SignRule();
    GenderRule();
    RelationshipRule();
    // A damaged flag has just been set to 0; the code must say so too.
    RequestRebuild();
}

void EvenMorePersonalPage::UpdateControls() {
    ShowFlagsAndRows();
    const QSignalBlocker blocker(m_purity);
    m_purity->ShowCount(m_answers.Purity);
}

void EvenMorePersonalPage::ShowFlagsAndRows() {
    m_gender->ShowRow(m_answers.Gender);
    m_sign->ShowRow(m_answers.Sign);
    m_kinkMembership->ShowRow(m_answers.KinkMembership);
    for (TunedRow& row : m_relationship)
        row.List->ShowRow(m_answers.*row.Description->Row);
    ShowFlag(*m_omitGender, m_answers.OmitGender);
    ShowFlag(*m_omitRelationship, m_answers.OmitRelationship);
    ShowFlag(*m_omitSign, m_answers.OmitSign);
    ShowFlag(*m_usePurity, m_answers.UsePurity);
    ShowFlag(*m_noTellKink, m_answers.NoTellKink);
}

std::optional<ValidationFailure> EvenMorePersonalPage::OnKillActive() {
    m_purity->FillBlankCount();
    if (auto message = m_purity->Validate(0, 500))
        return ValidationFailure{m_purity, *message};
    return std::nullopt;
}

void EvenMorePersonalPage::SignRule() {
    SetEnabled(m_signControls, m_answers.OmitSign == 0);
}

// The gender opens the kink answers; the quiz score and the kink factor with its membership exclude
// each other; not telling closes only the factor.
void EvenMorePersonalPage::GenderRule() {
    const bool a = m_answers.OmitGender == 0;
    SetEnabled(m_genderControls, a);
    const bool b = a && m_answers.UsePurity == 0;
    m_noTellKink->setEnabled(b);
    m_kinkMembership->setEnabled(b);
    const bool c = b && m_answers.NoTellKink == 0;
    m_kink.SetEnabled(c);
    const bool d = m_answers.OmitGender == 0 && m_answers.UsePurity != 0;
    m_purity->setEnabled(d);
    m_quizGroup->setEnabled(d);
}

void EvenMorePersonalPage::RelationshipRule() {
    SetEnabled(m_relationshipControls, m_answers.OmitRelationship == 0);
}
