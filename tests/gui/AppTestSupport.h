#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "app/CSplashWindow.h"
#include "pages/CGCPropertySheet.h"

// What a message box showed.
struct ShownBox {
    QString Caption;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons Buttons;
    QWidget* Parent = nullptr;
};

// Closes every message box that comes up (with its default button) and remembers what it showed.
class BoxCatcher {
  public:
    BoxCatcher() {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                m_boxes.push_back({box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                                   box->parentWidget()});
                box->accept();
            }
        });
        m_timer.start();
    }
    const std::vector<ShownBox>& Boxes() const { return m_boxes; }

  private:
    QTimer m_timer;
    std::vector<ShownBox> m_boxes;
};

// Runs action on the sheet as soon as it runs modally. The action should end the sheet; if it has
// not within ten seconds, the test fails and the sheet is cancelled so that the test goes on.
inline void WhenSheetRuns(std::function<void(CGCPropertySheet&)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        auto* sheet = qobject_cast<CGCPropertySheet*>(QApplication::activeModalWidget());
        if (!sheet)
            return;
        timer->stop();
        timer->deleteLater();
        action(*sheet);
        QTimer::singleShot(10000, sheet, [sheet] {
            ADD_FAILURE() << "the sheet is still open";
            sheet->reject();
        });
    });
    timer->start();
}

// Every test starts with the splash switched off and none on the screen.
class SplashReset {
  public:
    SplashReset() { Reset(); }
    ~SplashReset() { Reset(); }
    SplashReset(const SplashReset&) = delete;
    SplashReset& operator=(const SplashReset&) = delete;

  private:
    static void Reset() {
        CSplashWindow::HideSplash();
        CSplashWindow::SetSplashEnabled(false);
    }
};
