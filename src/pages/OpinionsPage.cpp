#include "pages/OpinionsPage.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "code/CodeFrame.h"
#include "pages/PageControls.h"

// What one topic asks and where its answers go. A box whose caption is null does not exist.
struct OpinionsPage::TopicDescription {
    struct Box {
        const char* Caption;
        const char* Name; // the flag's name, which is also the box's object name
        int32_t OpinionsAnswers::*Flag;
    };
    struct Mark {
        Box Check;
        bool ReplacesOpinion; // "Bitter": an opinion in place of the intensity
    };

    const char* Caption;
    const char* Name;    // names the group box and the tune controls
    const char* Subject; // what a screen reader calls the topic: "the NA dub"
    Box Omit;
    Box What;
    std::array<Mark, MostMarks> Marks;
    Box NoOpinion;
    int Minimum, Maximum; // of the slider; the tune may move by the slider's width either way
    int32_t OpinionsAnswers::*Intensity;
    int16_t OpinionsAnswers::*Boost;
};

namespace {

#define OP_TR(text) QT_TRANSLATE_NOOP("OpinionsPage", text)

const OpinionsPage::TopicDescription Topics[OpinionsPage::TopicCount] = {
    {OP_TR("NA &Dub"),
     "Dub",
     OP_TR("the NA dub"),
     {OP_TR("O&mit Dub"), "OmitDub", &OpinionsAnswers::OmitDub},
     {OP_TR("&What NA Dub?"), "WhatDub", &OpinionsAnswers::WhatDub},
     {{{{OP_TR("SM is a &Cartoon"), "AmericanCartoon", &OpinionsAnswers::AmericanCartoon}, false}}},
     {OP_TR("&No Opinion"), "NoOpDub", &OpinionsAnswers::NoOpDub},
     -2,
     2,
     &OpinionsAnswers::IntensityDub,
     &OpinionsAnswers::BoostDub},
    {OP_TR("&SOS (Save Our Sailors)"),
     "Sos",
     OP_TR("SOS"),
     {OP_TR("Omit &SOS"), "OmitSos", &OpinionsAnswers::OmitSos},
     {OP_TR("W&hat SOS?"), "WhatSos", &OpinionsAnswers::WhatSos},
     {{{{OP_TR("&Member"), "Member", &OpinionsAnswers::Member}, false},
       {{OP_TR("&Bitter"), "Bitter", &OpinionsAnswers::Bitter}, true}}},
     {OP_TR("N&o Opinion"), "NoOpSos", &OpinionsAnswers::NoOpSos},
     -2,
     3,
     &OpinionsAnswers::IntensitySos,
     &OpinionsAnswers::BoostSos},
    {OP_TR("&Otaku Wars!"),
     "Ow",
     OP_TR("the Otaku Wars"),
     {OP_TR("Omit Otaku Wars&!"), "OmitOw", &OpinionsAnswers::OmitOw},
     {OP_TR("Wh&at OW!?"), "WhatOw", &OpinionsAnswers::WhatOw},
     {},
     {OP_TR("&No Opinion"), "NoOpOw", &OpinionsAnswers::NoOpOw},
     -2,
     3,
     &OpinionsAnswers::IntensityOw,
     &OpinionsAnswers::BoostOw},
    {OP_TR("SM Haters/&Antiglomies"),
     "Anti",
     OP_TR("SM haters"),
     {OP_TR("Omit Antiglomi&es"), "OmitAnti", &OpinionsAnswers::OmitAnti},
     {},
     {},
     {OP_TR("No O&pinion"), "NoOpAnti", &OpinionsAnswers::NoOpAnti},
     -2,
     3,
     &OpinionsAnswers::IntensityAnti,
     &OpinionsAnswers::BoostAnti},
    {OP_TR("&Hentai"),
     "Hentai",
     OP_TR("hentai"),
     {OP_TR("Omit &Hentai"), "OmitHentai", &OpinionsAnswers::OmitHentai},
     {},
     {},
     {OP_TR("No Op&inion"), "NoOpHentai", &OpinionsAnswers::NoOpHentai},
     -3,
     3,
     &OpinionsAnswers::IntensityHentai,
     &OpinionsAnswers::BoostHentai},
    {OP_TR("Mixx&zine"),
     "Mixx",
     OP_TR("Mixxzine"),
     {OP_TR("Omit Mix&x"), "OmitMixx", &OpinionsAnswers::OmitMixx},
     {OP_TR("Wha&t Mixxize?"), "WhatMixx", &OpinionsAnswers::WhatMixx},
     {},
     {OP_TR("No& Opinion"), "NoOpMixx", &OpinionsAnswers::NoOpMixx},
     -2,
     3,
     &OpinionsAnswers::IntensityMixx,
     &OpinionsAnswers::BoostMixx},
};

#undef OP_TR

} // namespace

OpinionsPage::OpinionsPage(EncoderSheet& sheet)
    : AnswerPage(sheet, tr("Opinions"), OpinionsSection) {
    auto* columns = new QHBoxLayout;
    auto* topics = new QGridLayout;
    // The omit boxes stand in a column of their own, outside the group boxes they close.
    auto* omitColumn = new QVBoxLayout;
    for (int i = 0; i < TopicCount; ++i) {
        Topic& topic = m_topics[static_cast<size_t>(i)];
        topics->addWidget(BuildTopic(topic, Topics[i], this), i / 2, i % 2);
        omitColumn->addWidget(topic.Omit);
    }
    omitColumn->addStretch();
    columns->addLayout(topics, 1);
    columns->addLayout(omitColumn);
    Body()->addLayout(columns, 1);
}

QCheckBox* OpinionsPage::AddFlagBox(QWidget* parent, const char* caption, const char* name,
                                      int32_t OpinionsAnswers::*flag) {
    QCheckBox* box = MakeFlagBox(parent, tr(caption), QString::fromLatin1(name));
    m_flagBoxes.emplace_back(box, flag);
    return box;
}

QGroupBox* OpinionsPage::BuildTopic(Topic& topic, const TopicDescription& description,
                                      QWidget* omitParent) {
    topic.Description = &description;
    const QString name = QString::fromLatin1(description.Name);
    // The omit box opens the rest of the topic, so Tab reaches it first.
    topic.Omit =
        AddFlagBox(omitParent, description.Omit.Caption, description.Omit.Name, description.Omit.Flag);
    topic.Group = MakeFrame(this, tr(description.Caption), name + QStringLiteral("Group"));

    // What first, then the marks kept with no opinion, the no-opinion box, and the marks that
    // replace the intensity next to the slider they replace.
    auto* boxes = new QVBoxLayout;
    const auto add = [&](const TopicDescription::Box& box) {
        QCheckBox* widget = AddFlagBox(topic.Group, box.Caption, box.Name, box.Flag);
        boxes->addWidget(widget);
        return widget;
    };
    if (description.What.Caption)
        topic.What = add(description.What);
    for (size_t i = 0; i < description.Marks.size(); ++i)
        if (description.Marks[i].Check.Caption && !description.Marks[i].ReplacesOpinion)
            topic.Marks[i] = add(description.Marks[i].Check);
    topic.NoOpinion = add(description.NoOpinion);
    const QString subject = tr(description.Subject);
    topic.NoOpinion->setAccessibleName(tr("No opinion on %1").arg(subject));
    for (size_t i = 0; i < description.Marks.size(); ++i)
        if (description.Marks[i].Check.Caption && description.Marks[i].ReplacesOpinion)
            topic.Marks[i] = add(description.Marks[i].Check);
    boxes->addStretch();

    topic.Tune = MakeTuneGroup(topic.Group, tr("Opinion on %1").arg(subject),
                               tr("the opinion on %1").arg(subject), name);
    auto* layout = new QHBoxLayout(topic.Group);
    layout->addLayout(boxes);
    layout->addWidget(topic.Tune.Slider, 1);
    layout->addWidget(topic.Tune.Frame, 0, Qt::AlignVCenter);

    // The "!" marks only go into the code; every other box feeds the topic's enable rule.
    const auto wire = [this, &topic](QCheckBox* box, int32_t OpinionsAnswers::*flag, bool ruleInput) {
        connect(box, &QCheckBox::clicked, this, [this, &topic, box, flag, ruleInput] {
            OnFlagClicked(topic, *box, m_answers.*flag, ruleInput);
        });
    };
    wire(topic.Omit, description.Omit.Flag, true);
    if (topic.What)
        wire(topic.What, description.What.Flag, true);
    wire(topic.NoOpinion, description.NoOpinion.Flag, true);
    for (size_t i = 0; i < description.Marks.size(); ++i)
        if (topic.Marks[i])
            wire(topic.Marks[i], description.Marks[i].Check.Flag, description.Marks[i].ReplacesOpinion);
    topic.Tune.Connect(this, m_answers.*description.Intensity, m_answers.*description.Boost,
                       [this] { RequestRebuild(); });
    return topic.Group;
}

void OpinionsPage::OnInitDialog() {
    for (Topic& topic : m_topics) {
        const TopicDescription& description = *topic.Description;
        const int width = description.Maximum - description.Minimum;
        topic.Tune.SetRanges(description.Minimum, description.Maximum, -width, width);
    }
    ShowAnswers();
}

void OpinionsPage::ShowAnswers() {
    UpdateControls();
    // Stored values show as they are, limited only by each control's range.
    for (Topic& topic : m_topics)
        topic.Tune.Show(m_answers.*topic.Description->Intensity, m_answers.*topic.Description->Boost);
    for (Topic& topic : m_topics)
        TopicRule(topic);
}

// The flags into their boxes. A damaged flag (outside 0..2) becomes 0, and the code follows it.
void OpinionsPage::UpdateControls() {
    bool repaired = false;
    for (const auto& [box, flag] : m_flagBoxes) {
        const int32_t stored = m_answers.*flag;
        ShowFlag(*box, m_answers.*flag);
        repaired = repaired || m_answers.*flag != stored;
    }
    if (repaired)
        RequestRebuild();
}

void OpinionsPage::OnFlagClicked(Topic& topic, QCheckBox& box, int32_t& flag, bool ruleInput) {
    flag = FlagOf(box);
    if (ruleInput)
        TopicRule(topic);
    RequestRebuild();
}

// a: the topic is not omitted: its group box and What box.
// b: a, and the user knows the topic: the no-opinion box and the "!" marks.
// c: b, and the user has an opinion: the marks that replace the intensity ("Bitter").
// d: c, and no such mark is set: the slider and its tune.
// A closed control keeps its value; the omit box is never closed.
void OpinionsPage::TopicRule(Topic& topic) {
    const TopicDescription& description = *topic.Description;
    const bool a = m_answers.*description.Omit.Flag == 0;
    const bool b = a && !(description.What.Flag && m_answers.*description.What.Flag != 0);
    const bool c = b && m_answers.*description.NoOpinion.Flag == 0;
    bool d = c;
    topic.Group->setEnabled(a);
    if (topic.What)
        topic.What->setEnabled(a);
    topic.NoOpinion->setEnabled(b);
    for (size_t i = 0; i < topic.Marks.size(); ++i) {
        if (!topic.Marks[i])
            continue;
        const TopicDescription::Mark& mark = description.Marks[i];
        topic.Marks[i]->setEnabled(mark.ReplacesOpinion ? c : b);
        if (mark.ReplacesOpinion)
            d = d && m_answers.*mark.Check.Flag == 0;
    }
    topic.Tune.SetEnabled(d);
}
