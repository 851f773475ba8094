// SPDX-License-Identifier: MIT
// The widgets against the rules: every question of the table has its control on its page, and every
// control shows what the engine says it shows (ShownValue), is enabled exactly when the engine says the
// question is open (OpenQuestionsOf), and gives the user's action to the engine (AnswerQuestion), for
// random answer sets. The rules themselves are pinned by the engine's tests.
#include <QGroupBox>
#include <QLabel>

#include "GuiTestSupport.h"
#include "RandomAnswers.h"
#include "pages/AnswerControls.h"

namespace {

using QuestionControls = SheetTest;

std::string KeyOf(PageId page, int question) {
    return AnswerKey(AnswerOf(page, QuestionsOf(page)[static_cast<size_t>(question)]));
}

// The value a control shows, in the engine's terms.
int32_t ValueShownBy(QWidget& control) {
    if (auto* box = qobject_cast<QCheckBox*>(&control))
        return FlagOf(*box);
    if (auto* list = qobject_cast<QComboBox*>(&control))
        return list->currentIndex();
    if (auto* slider = qobject_cast<QSlider*>(&control))
        return slider->value();
    if (auto* spin = qobject_cast<QSpinBox*>(&control))
        return spin->value();
    if (auto* count = qobject_cast<QLineEdit*>(&control))
        return ParseCount(count->text().toStdString());
    if (auto* selection = qobject_cast<CodeListBox*>(&control))
        return static_cast<int32_t>(selection->selectionMask());
    ADD_FAILURE() << "a control of no known kind: " << control.objectName().toStdString();
    return 0;
}

// Every control of the page as the engine says it is.
void ExpectPageAsTheEngineSays(AnswerPage& page, const AnswerSet& answers, const std::string& when) {
    const PageId id = page.pageId();
    const OpenQuestions open = OpenQuestionsOf(answers, id);
    for (int q = 0; q < static_cast<int>(QuestionsOf(id).size()); ++q) {
        QWidget* control = page.control(q);
        ASSERT_NE(control, nullptr) << KeyOf(id, q);
        EXPECT_EQ(control->isEnabled(), open.test(static_cast<size_t>(q))) << KeyOf(id, q) << when;
        const Question& question = QuestionsOf(id)[static_cast<size_t>(q)];
        int32_t shown = ShownValue(answers, id, q);
        if (question.Kind == ControlKind::Count && question.Field.Type == FieldType::UInt32 && shown < 0)
            shown = INT32_MAX; // the box shows the unsigned count, which reads back as the largest
        EXPECT_EQ(ValueShownBy(*control), shown) << KeyOf(id, q) << when;
    }
    // What names or holds questions opens and closes with them: a titled frame is enabled while any
    // question in it is open, a label while the question it names is.
    const auto isOpenControl = [&](const QWidget* widget) {
        for (int q = 0; q < static_cast<int>(QuestionsOf(id).size()); ++q)
            if (page.control(q) == widget)
                return open.test(static_cast<size_t>(q));
        return false;
    };
    for (QGroupBox* frame : page.findChildren<QGroupBox*>()) {
        if (frame->title().isEmpty())
            continue;
        bool anyOpen = false;
        for (QWidget* inside : frame->findChildren<QWidget*>())
            anyOpen = anyOpen || isOpenControl(inside);
        EXPECT_EQ(frame->isEnabled(), anyOpen) << frame->objectName().toStdString() << when;
    }
    for (QLabel* label : page.findChildren<QLabel*>()) {
        if (!label->buddy() || !page.isAncestorOf(label->buddy()))
            continue;
        EXPECT_EQ(label->isEnabled(), isOpenControl(label->buddy()))
            << label->objectName().toStdString() << when;
    }
}

// One user action on a control, as a user would make it with keys or the mouse.
void ActOn(QWidget& control, const Question& question, ValueSource& values) {
    if (auto* box = qobject_cast<QCheckBox*>(&control)) {
        QTest::mouseClick(box, Qt::LeftButton);
    } else if (auto* list = qobject_cast<QComboBox*>(&control)) {
        if (list->currentIndex() < 0)
            PressKey(*list, Qt::Key_Home);
        else
            PressKey(*list, list->currentIndex() + 1 < list->count() ? Qt::Key_Down : Qt::Key_Up);
    } else if (auto* slider = qobject_cast<QSlider*>(&control)) {
        const Qt::Key keys[] = {Qt::Key_Home,  Qt::Key_End, Qt::Key_Left,
                                Qt::Key_Right, Qt::Key_Up,  Qt::Key_Down};
        PressKey(*slider, keys[values.between(0, 5)]);
    } else if (auto* spin = qobject_cast<QSpinBox*>(&control)) {
        PressKey(*spin, values.between(0, 1) ? Qt::Key_Up : Qt::Key_Down, values.between(1, 3));
    } else if (auto* count = qobject_cast<QLineEdit*>(&control)) {
        TypeText(*count, QString::number(values.between(question.Minimum, question.Maximum)));
    } else if (auto* selection = qobject_cast<CodeListBox*>(&control)) {
        ClickListItem(*selection, values.between(0, selection->count() - 1));
    }
}

// Every question of the table has a control on its own page, named for it and shown with the page: a
// question the table gains and a page forgets to place fails here by its key.
TEST_F(QuestionControls, EveryQuestionHasItsControlOnItsPage) {
    EncoderSheet& sheet = openSheet();
    for (int p = 0; p < kPageCount; ++p) {
        AnswerPage& page = sheet.page(p);
        const PageId id = page.pageId();
        for (int q = 0; q < static_cast<int>(QuestionsOf(id).size()); ++q) {
            QWidget* control = page.control(q);
            if (!control) {
                ADD_FAILURE() << KeyOf(id, q) << ": no control on the " << PageCaption(id) << " page";
                continue;
            }
            EXPECT_TRUE(page.isAncestorOf(control)) << KeyOf(id, q);
            EXPECT_EQ(control->objectName().toStdString(), QuestionName(id, q));
            EXPECT_EQ(control->accessibleName().toStdString(),
                      AccessibleNameOf(QuestionsOf(id)[static_cast<size_t>(q)]));
        }
    }
}

// For random answer sets: each page as it comes to the front, then after a user's action on one of its
// open controls, shows what the engine says, and the sheet holds what the engine makes of the action.
TEST_F(QuestionControls, ShowTheEnginesAnswersAndOpenQuestionsAndTakeTheUsersAction) {
    EncoderSheet& sheet = openSheet();
    constexpr int kSets = 12;
    for (int seed = 1; seed <= kSets; ++seed) {
        SeededValues values(static_cast<uint64_t>(seed));
        sheet.setAnswers(RandomAnswerSet(values));
        for (int p = 0; p < kPageCount; ++p) {
            showTab(p);
            ASSERT_EQ(sheet.tabs().currentIndex(), p) << "seed " << seed;
            AnswerPage& page = sheet.page(p);
            const std::string when = " (seed " + std::to_string(seed) + ")";
            ExpectPageAsTheEngineSays(page, sheet.answers(), when);

            const PageId id = page.pageId();
            const OpenQuestions open = OpenQuestionsOf(sheet.answers(), id);
            std::vector<int> openQuestions;
            for (int q = 0; q < static_cast<int>(QuestionsOf(id).size()); ++q)
                if (open.test(static_cast<size_t>(q)) && page.control(q))
                    openQuestions.push_back(q);
            const int q = openQuestions[static_cast<size_t>(
                values.between(0, static_cast<int>(openQuestions.size()) - 1))];
            const AnswerSet before = sheet.answers();
            QWidget& control = *page.control(q);
            ActOn(control, QuestionsOf(id)[static_cast<size_t>(q)], values);
            AnswerSet expected = before;
            AnswerQuestion(expected, id, q, ValueShownBy(control));
            const std::string action = " after an action on " + KeyOf(id, q) + when;
            EXPECT_EQ(AllAnswers(sheet.answers()), AllAnswers(expected)) << action;
            ExpectPageAsTheEngineSays(page, sheet.answers(), action);
            EXPECT_EQ(codeBoxText(page).toStdString(), EncodeGlomieCode(sheet.answers())) << action;
        }
    }
}

} // namespace
