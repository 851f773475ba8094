// SPDX-License-Identifier: MIT
#include "pages/ObsessionPage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

#include "Version.h"
#include "address/DecoderAddress.h"
#include "pages/AnswerControls.h"
#include "pages/CodeLists.h"
#include "pages/ProgramIcon.h"
#include "rules/PageRules.h"

ObsessionPage::ObsessionPage(const AnswerSet& answers, QWidget* parent)
    : AnswerPage(PageId::Obsession, answers, parent) {}

void ObsessionPage::buildQuestions() {
    // The head: icon, about lines and the thanks button.
    auto* head = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramPicture(48, devicePixelRatioF()));
    icon->setAccessibleName(tr("Glomie Code Encoder"));
    head->addWidget(icon);
    const std::string decoderHost = ConfiguredDecoderHost();
    // The page a user will see, not where it is served from.
    const QString decoder =
        decoderHost.empty()
            ? tr("Decoder: the \"Glomie Code decoder\" page, which \"Decode\" opens in your browser")
            : tr("Decoder: the \"Glomie Code decoder\" page at %1, which \"Decode\" opens")
                  .arg(QString::fromStdString(DecoderSite(decoderHost)));
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
    body()->addLayout(head);
    connect(thanks, &QPushButton::clicked, this, &ObsessionPage::thanksRequested);

    // The obsession levels and their description.
    QGroupBox* levels = makeGroup("ObsessionGroup", this);
    auto* grid = new QGridLayout(levels);
    auto* primaryLabel = new QLabel(questionCaption("Pri"), levels);
    auto* primary = makeQuestion<CodeSlider>("Pri", levels);
    primaryLabel->setBuddy(primary);
    auto* secondarySwitch = makeQuestion("ChkSec", levels);
    auto* secondary = makeQuestion<CodeSlider>("Sec", levels);
    for (QSlider* slider : {primary, secondary}) {
        const QSignalBlocker blocker(slider);
        slider->setTickInterval(3);
        slider->setPageStep(3);
    }
    m_description = new QPlainTextEdit(levels);
    m_description->setObjectName(QStringLiteral("Description"));
    m_description->setAccessibleName(tr("Description of the obsession level"));
    m_description->setReadOnly(true);
    m_description->setTabChangesFocus(true);
    m_description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Read with the keyboard too, where the focus shows as a frame.
    m_description->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_description->setStyleSheet(
        QStringLiteral("QPlainTextEdit:focus { border: 2px solid palette(highlight); }"));
    grid->addWidget(primaryLabel, 0, 0);
    grid->addWidget(primary, 0, 1);
    grid->addWidget(secondarySwitch, 1, 0);
    grid->addWidget(secondary, 1, 1);
    grid->addWidget(m_description, 2, 0, 1, 2);
    body()->addWidget(levels, 1);

    QGroupBox* feelings = makeGroup("FeelingsGroup", this);
    auto* feelingsLayout = new QHBoxLayout(feelings);
    feelingsLayout->addWidget(makeQuestion("GlomiePref", feelings));
    body()->addWidget(feelings);

    // The description of the levels is read after the levels it describes, in the page's order.
    buildFoot();
}

void ObsessionPage::showDerived() {
    const QString description = QString::fromStdString(ObsessionDescriptionOf(answers().Obsession));
    if (m_description->toPlainText() != description)
        m_description->setPlainText(description);
}
