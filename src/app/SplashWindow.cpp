#include "app/SplashWindow.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>

namespace {
// The picture at the splash's size, sharp on the owner's screen; null when it cannot be loaded.
QPixmap LoadPicture(const QString& path, qreal pixelRatio) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QSvgRenderer renderer(file.readAll());
    if (!renderer.isValid())
        return {};
    QPixmap picture(QSize(SplashWindow::Width, SplashWindow::Height) * pixelRatio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    renderer.render(&painter);
    painter.end();
    picture.setDevicePixelRatio(pixelRatio);
    return picture;
}
} // namespace

void SplashWindow::ShowSplash(QWidget* owner, const QString& picture) {
    if (!s_enabled || s_current)
        return;
    const QPixmap pixmap =
        LoadPicture(picture, owner ? owner->devicePixelRatioF() : qApp->devicePixelRatio());
    if (pixmap.isNull())
        return;
    s_current = new SplashWindow(owner, pixmap);
    s_current->show();
    s_current->repaint();
}

void SplashWindow::HideSplash() {
    SplashWindow* splash = s_current;
    if (!splash)
        return;
    s_current = nullptr;
    QWidget* owner = splash->parentWidget();
    splash->hide();
    splash->deleteLater();
    if (owner)
        owner->repaint();
}

// Kept in front (a window manager stacks the sheet, mapped after the splash, over it otherwise), and
// never given the focus, not even by a click on it: the sheet stays the active window throughout.
SplashWindow::SplashWindow(QWidget* owner, const QPixmap& picture)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowDoesNotAcceptFocus),
      m_picture(picture) {
    setObjectName(QStringLiteral("Splash"));
    setWindowTitle(tr("Glomie Code Encoder"));
    setAccessibleName(windowTitle());
    // The sheet keeps the keyboard focus; the splash only shows itself.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(Width, Height);
    CenterWindow();

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("SplashTimer"));
    m_timer->setSingleShot(true);
    m_timer->setInterval(DisplayMilliseconds);
    connect(m_timer, &QTimer::timeout, this, [] { HideSplash(); });
    m_timer->start();
    qApp->installEventFilter(this);
}

SplashWindow::~SplashWindow() {
    qApp->removeEventFilter(this);
    if (s_current == this)
        s_current = nullptr;
}

// Over the owner while it is on the screen, else in the middle of the screen.
void SplashWindow::CenterWindow() {
    QWidget* owner = parentWidget();
    QPoint centre;
    if (owner && owner->isVisible() && !owner->isMinimized()) {
        centre = owner->frameGeometry().center();
    } else {
        QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
        if (!screen)
            return;
        centre = screen->availableGeometry().center();
    }
    move(centre - QPoint(Width / 2, Height / 2));
}

bool SplashWindow::FilterAppMessage(QEvent* event) {
    if (!s_current)
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Taken so that a key meant for a shortcut or a mnemonic comes as a plain key press, which
        // the splash then takes for itself.
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
        HideSplash();
        return true;
    default:
        return false;
    }
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event) {
    if (FilterAppMessage(event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
}
