#include "pages/ObsessionPage.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QSignalBlocker>

#include "Version.h"
#include "code/CodeFrame.h"
#include "code/Notation.h"
#include "pages/PageControls.h"
#include "service/DecoderQuery.h"
#include "vocabulary/Tables.h"

namespace {
CodeSlider* MakeLevelSlider(QWidget* parent, const QString& objectName, const QString& accessibleName) {
    auto* slider = new CodeSlider(Qt::Horizontal, parent);
    slider->setObjectName(objectName);
    slider->setAccessibleName(accessibleName);
    slider->setTickPosition(QSlider::TicksBelow);
    return slider;
}
} // namespace

ObsessionPage::ObsessionPage(EncoderSheet& sheet)
    : AnswerPage(sheet, tr("SM"), HeaderSection) {
    // The head: icon, about lines and the thanks button.
    auto* head = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/glomiecode/glomiecode.svg")).pixmap(48, 48));
    icon->setAccessibleName(tr("Glomie Code Encoder"));
    head->addWidget(icon);
    const QString decoderHost = qEnvironmentVariable("GLOMIECODE_DECODER_HOST").trimmed();
    const QString decoder = decoderHost.isEmpty()
                                ? tr("Decoder: served by this program on 127.0.0.1 at /cgi-usr/qpx/gcp.pl")
                                : tr("Decoder: %1/cgi-usr/qpx/gcp.pl")
                                      .arg(QString::fromStdString(DecoderSite(decoderHost.toStdString())));
    auto* about = new QLabel(tr("Glomie Code Encoder, version %1").arg(QLatin1String(kProgramVersion)) +
                                 QLatin1Char('\n') + tr("Written by the Glomie Code Encoder developers") +
                                 QLatin1Char('\n') + decoder,
                             this);
    about->setObjectName(QStringLiteral("About"));
    head->addWidget(about, 1);
    auto* thanks = new QPushButton(tr("&Thanks to ..."), this);
    thanks->setObjectName(QStringLiteral("Thanks"));
    thanks->setAutoDefault(false);
    head->addWidget(thanks, 0, Qt::AlignTop);
    Body()->addLayout(head);

    // The obsession levels and their description.
    auto* levels = MakeFrame(this, tr("&Obsession Level"), QStringLiteral("ObsessionGroup"));
    auto* grid = new QGridLayout(levels);
    auto* primaryLabel = new QLabel(tr("&Primary"), levels);
    m_primary = MakeLevelSlider(levels, QStringLiteral("Pri"), tr("Primary obsession level"));
    primaryLabel->setBuddy(m_primary);
    m_secondarySwitch = MakeFlagBox(levels, tr("&Secondary"), QStringLiteral("ChkSec"));
    m_secondary = MakeLevelSlider(levels, QStringLiteral("Sec"), tr("Secondary obsession level"));
    m_secondary->setEnabled(false);
    m_description = new QPlainTextEdit(levels);
    m_description->setObjectName(QStringLiteral("Description"));
    m_description->setAccessibleName(tr("Description of the obsession level"));
    m_description->setReadOnly(true);
    m_description->setTabChangesFocus(true);
    m_description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    grid->addWidget(primaryLabel, 0, 0);
    grid->addWidget(m_primary, 0, 1);
    grid->addWidget(m_secondarySwitch, 1, 0);
    grid->addWidget(m_secondary, 1, 1);
    grid->addWidget(m_description, 2, 0, 1, 2);
    Body()->addWidget(levels, 1);

    auto* feelings =
        MakeFrame(this, tr("Feelings about the Term \"&Glomie\""), QStringLiteral("FeelingsGroup"));
    auto* feelingsLayout = new QHBoxLayout(feelings);
    m_feelings = MakeCodeList(feelings, QStringLiteral("GlomiePref"), tr("Feelings about the term Glomie"));
    feelingsLayout->addWidget(m_feelings);
    Body()->addWidget(feelings);

    connect(m_primary, &CodeSlider::Notified, this, [this] { OnPrimaryMoved(m_primary->value()); });
    connect(m_secondary, &CodeSlider::Notified, this, [this] { OnSecondaryMoved(m_secondary->value()); });
    connect(m_secondarySwitch, &QCheckBox::clicked, this, &ObsessionPage::OnSecondaryClicked);
    connect(m_feelings, &QComboBox::currentIndexChanged, this, &ObsessionPage::OnFeelingChanged);
    connect(thanks, &QPushButton::clicked, this, [this] {
        if (m_thanksHandler)
            m_thanksHandler(*this);
    });
}

void ObsessionPage::OnInitDialog() {
    for (QSlider* slider : {m_primary, m_secondary}) {
        const QSignalBlocker blocker(slider);
        slider->setRange(0, 30);
        slider->setTickInterval(3);
        slider->setPageStep(3);
        slider->setSingleStep(1);
    }
    m_feelings->FillFromTable(TermFeelingTable);
    ShowAnswers();
}

void ObsessionPage::ShowAnswers() {
    const int32_t storedSecondary = m_answers.ChkSec;
    ShowFlag(*m_secondarySwitch, m_answers.ChkSec);
    {
        const QSignalBlocker primaryBlocker(m_primary);
        const QSignalBlocker secondaryBlocker(m_secondary);
        m_primary->setValue(m_answers.Pri);
        m_secondary->setValue(m_answers.Sec);
    }
    m_feelings->ShowRow(m_answers.GlomiePref);
    RefreshDescription();
    SecondaryRule();
    // A damaged switch has just been cleared; the code must drop the secondary level too.
    if (m_answers.ChkSec != storedSecondary)
        RequestRebuild();
}

void ObsessionPage::UpdateControls() {
    ShowFlag(*m_secondarySwitch, m_answers.ChkSec);
    m_feelings->ShowRow(m_answers.GlomiePref);
}

void ObsessionPage::OnPrimaryMoved(int position) {
    m_answers.Pri = position;
    RefreshDescription();
    RequestRebuild();
}

void ObsessionPage::OnSecondaryMoved(int position) {
    m_answers.Sec = position;
    RefreshDescription();
    RequestRebuild();
}

void ObsessionPage::OnSecondaryClicked() {
    m_answers.ChkSec = FlagOf(*m_secondarySwitch);
    SecondaryRule();
    RefreshDescription();
    RequestRebuild();
}

void ObsessionPage::OnFeelingChanged(int index) {
    m_answers.GlomiePref = index;
    RequestRebuild();
}

void ObsessionPage::RefreshDescription() {
    std::string text = ObsessionDescription(m_answers.Pri);
    if (m_answers.ChkSec != 0)
        text += "\n\n" + ObsessionDescription(m_answers.Sec); // an empty line between the two
    m_description->setPlainText(QString::fromStdString(text));
}

// The secondary slider is open only while the secondary level is switched on; it keeps Sec either way.
void ObsessionPage::SecondaryRule() {
    m_secondary->setEnabled(m_answers.ChkSec != 0);
}
