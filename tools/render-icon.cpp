// Renders the program's SVG icon to the PNG sizes of the icon theme, at build time:
//   glomie-render-icon ICON.svg OUT_DIR NAME SIZE...  writes OUT_DIR/<SIZE>x<SIZE>/apps/NAME.png
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

int main(int argc, char* argv[]) {
    // Runs on build machines without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QTextStream err(stderr);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 5) {
        err << "usage: glomie-render-icon ICON.svg OUT_DIR NAME SIZE...\n";
        return 2;
    }
    QSvgRenderer renderer(arguments[1]);
    if (!renderer.isValid()) {
        err << "glomie-render-icon: cannot read " << arguments[1] << '\n';
        return 1;
    }
    for (const QString& sizeText : arguments.mid(4)) {
        bool ok = false;
        const int size = sizeText.toInt(&ok);
        if (!ok || size <= 0 || size > 1024) {
            err << "glomie-render-icon: not a size: " << sizeText << '\n';
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(arguments[2]).arg(size);
        const QString file = QStringLiteral("%1/%2.png").arg(folder, arguments[3]);
        if (!QDir().mkpath(folder) || !image.save(file, "PNG")) {
            err << "glomie-render-icon: cannot write " << file << '\n';
            return 1;
        }
    }
    return 0;
}
