// SPDX-License-Identifier: MIT
#pragma once

#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QWidget>

class QTimer;

// The picture shown over the sheet while it comes up: frameless, gone after two seconds or at the
// first key or mouse press anywhere in the program, which it takes for itself.
class SplashWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kDisplayMilliseconds = 2000;
    static constexpr int kWidth = 500;
    static constexpr int kHeight = 572;

    // Centred over owner (or the screen); once shown, up until dismissed.
    SplashWindow(QWidget* owner, const QPixmap& picture);
    ~SplashWindow() override;

    // Takes the splash off the screen, deletes it later and repaints its owner.
    void dismiss();
    bool isDismissed() const { return m_dismissed; }

    // A press while the splash is up removes it and goes no further; true when the event was taken.
    bool takeEvent(QEvent* event);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void centerWindow();

    QPixmap m_picture;
    QTimer* m_timer;
    bool m_dismissed = false;
};

// One run's splash, owned by the encoder: shown over the sheet when it first comes up, unless the
// command line switched it off.
class Splash {
  public:
    static inline const QString kDefaultPicture = QStringLiteral(":/glomiecode/splash.png");

    explicit Splash(bool enabled);

    // Shows the splash over owner, unless it is switched off, already up, or the picture cannot be
    // loaded (then nothing is shown and nothing said). The picture is read only now, once the sheet
    // is on the screen: read on a thread beforehand, it took a core from the sheet's start.
    void show(QWidget* owner, const QString& picture = kDefaultPicture);
    // Removes the splash, when it is up.
    void hide();
    // The splash on the screen, or null.
    SplashWindow* window() const { return m_window && !m_window->isDismissed() ? m_window.data() : nullptr; }

  private:
    bool m_enabled;
    QPointer<SplashWindow> m_window;
};
