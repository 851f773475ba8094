// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

#include "pages/CodeLists.h"
#include "pages/EncoderSheet.h"
#include "settings/SettingsLayout.h"
#include "store/SettingsStore.h"

// The code of the default answers, which every code starts with.
inline const QString Header = QStringLiteral("GlomieCode(1.12.05) SM:5m-");

// Failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// The real sheet with the answers a first run loads (or those of a settings file), shown offscreen.
class SheetTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    // Builds and shows the sheet; values are written to the settings file first, as "Section/Name".
    EncoderSheet& openSheet(const std::map<QString, int>& stored = {}) {
        {
            QSettings settings(settingsPath(), QSettings::IniFormat);
            for (const auto& [key, value] : stored)
                settings.setValue(key, value);
        }
        m_sheet = std::make_unique<EncoderSheet>();
        AnswerSet answers;
        LoadSettings(*SettingsStore::forIniFile(settingsPath()), answers);
        m_sheet->setAnswers(answers);
        m_sheet->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_sheet.get()));
        return *m_sheet;
    }

    QString settingsPath() const { return m_dir.filePath(QStringLiteral("settings.ini")); }
    EncoderSheet& sheet() { return *m_sheet; }

    // Makes the tab at index current, as a click on it would.
    void showTab(int index) { m_sheet->tabs().setCurrentIndex(index); }

    template <typename T> T& find(QWidget& page, const char* name) {
        T* widget = page.findChild<T*>(QString::fromLatin1(name));
        if (!widget)
            ADD_FAILURE() << "no control named " << name;
        return *widget;
    }

    // The code as the box shows it.
    QString codeBoxText(AnswerPage& page) { return CodeBox::withoutMarks(page.codeBox()->toPlainText()); }

    QTemporaryDir m_dir;
    std::unique_ptr<EncoderSheet> m_sheet;
};

// What a message box showed.
struct ShownBox {
    QString Caption;
    QString Text;
    QString Informative;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons Buttons;
    QWidget* Parent = nullptr;
};

// Closes every message box that comes up (with its default button) and remembers what it showed.
class MessageBoxCatcher {
  public:
    MessageBoxCatcher() {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                m_boxes.push_back({box->windowTitle(), box->text(), box->informativeText(), box->icon(),
                                   box->standardButtons(), box->parentWidget()});
                box->accept();
            }
        });
        m_timer.start();
    }
    const std::vector<ShownBox>& boxes() const { return m_boxes; }
    QStringList texts() const {
        QStringList texts;
        for (const ShownBox& box : m_boxes)
            texts << box.Text;
        return texts;
    }

  private:
    QTimer m_timer;
    std::vector<ShownBox> m_boxes;
};

// Presses a key on a widget that has the focus, as a user would.
inline void PressKey(QWidget& widget, Qt::Key key, int times = 1) {
    widget.setFocus();
    for (int i = 0; i < times; ++i)
        QTest::keyClick(&widget, key);
}

// Chooses an item of a drop-down list with the arrow keys, as a user would.
inline void ChooseItem(QComboBox& list, int index) {
    list.setFocus();
    if (list.currentIndex() < 0)
        QTest::keyClick(&list, Qt::Key_Home);
    for (int step = 0; step < 200 && list.currentIndex() != index; ++step)
        QTest::keyClick(&list, list.currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
    EXPECT_EQ(list.currentIndex(), index)
        << "could not choose item " << index << " of " << list.objectName().toStdString();
}

// Replaces the whole text of a box by typing, as a user who selects it first; an empty text clears it.
inline void TypeText(QLineEdit& box, const QString& text) {
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(&box, Qt::Key_Backspace);
    else
        QTest::keyClicks(&box, text);
}

// Clicks an item of a list, as a user would; in a multiple-selection list the click toggles it.
inline void ClickListItem(QListWidget& list, int position) {
    QListWidgetItem* item = list.item(position);
    list.scrollToItem(item);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(item).center());
}
