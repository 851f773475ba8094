#pragma once

#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

// The picture shown over the sheet while it comes up: frameless, gone after two seconds or at the
// first key or mouse press anywhere in the program, which it takes for itself.
class SplashWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr int DisplayMilliseconds = 2000;
    static constexpr int Width = 500;
    static constexpr int Height = 572;
    static inline const QString DefaultPicture = QStringLiteral(":/glomiecode/splash.svg");

    // Set once at start-up from the command line.
    static void SetSplashEnabled(bool enabled) { s_enabled = enabled; }
    static bool SplashEnabled() { return s_enabled; }

    // Shows the splash centred over owner, unless it is disabled, already shown, or the picture
    // cannot be loaded (then nothing is shown and nothing said).
    static void ShowSplash(QWidget* owner, const QString& picture = DefaultPicture);
    // Removes the splash and repaints its owner.
    static void HideSplash();
    // The splash on the screen, or null.
    static SplashWindow* Current() { return s_current; }

    // A press while the splash is up removes it and goes no further; true when the event was taken.
    static bool FilterAppMessage(QEvent* event);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    SplashWindow(QWidget* owner, const QPixmap& picture);
    ~SplashWindow() override;
    void CenterWindow();

    QPixmap m_picture;
    QTimer* m_timer;

    static inline bool s_enabled = true;
    static inline QPointer<SplashWindow> s_current;
};
