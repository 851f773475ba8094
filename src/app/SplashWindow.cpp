// SPDX-License-Identifier: MIT
#include "app/SplashWindow.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <utility>

namespace {
// The picture, prepared at build time: on a screen with more than one pixel to a point its
// doubled version (NAME@2x.png beside NAME.png) where there is one. Null when it cannot be read.
QImage ReadPicture(const QString& path, qreal pixelRatio) {
    if (pixelRatio > 1) {
        const QFileInfo plain(path);
        const QString doubled =
            plain.path() + u'/' + plain.completeBaseName() + QStringLiteral("@2x.") + plain.suffix();
        QImage image = QImageReader(doubled).read();
        if (!image.isNull()) {
            image.setDevicePixelRatio(2);
            return image;
        }
    }
    return QImageReader(path).read();
}
} // namespace

Splash::Splash(bool enabled) : m_enabled(enabled) {}

void Splash::show(QWidget* owner, const QString& picture) {
    if (!m_enabled || window())
        return;
    const qreal ratio = owner ? owner->devicePixelRatioF() : qApp->devicePixelRatio();
    const QPixmap pixmap = QPixmap::fromImage(ReadPicture(picture, ratio));
    if (pixmap.isNull())
        return;
    m_window = new SplashWindow(owner, pixmap);
    m_window->show();
    m_window->repaint();
}

void Splash::hide() {
    if (SplashWindow* shown = window())
        shown->dismiss();
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
    setFixedSize(kWidth, kHeight);
    centerWindow();

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("SplashTimer"));
    m_timer->setSingleShot(true);
    m_timer->setInterval(kDisplayMilliseconds);
    connect(m_timer, &QTimer::timeout, this, &SplashWindow::dismiss);
    m_timer->start();
    qApp->installEventFilter(this);
}

SplashWindow::~SplashWindow() {
    qApp->removeEventFilter(this);
}

void SplashWindow::dismiss() {
    if (m_dismissed)
        return;
    m_dismissed = true;
    qApp->removeEventFilter(this);
    m_timer->stop();
    hide();
    deleteLater();
    if (QWidget* owner = parentWidget())
        owner->repaint();
}

// Over the owner while it is on the screen, else in the middle of the screen.
void SplashWindow::centerWindow() {
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
    move(centre - QPoint(kWidth / 2, kHeight / 2));
}

bool SplashWindow::takeEvent(QEvent* event) {
    if (m_dismissed)
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
        dismiss();
        return true;
    default:
        return false;
    }
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event) {
    if (takeEvent(event))
        return true;
    return QWidget::eventFilter(watched, event);
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
}
