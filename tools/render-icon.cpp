// SPDX-License-Identifier: MIT
// Renders the program's SVG pictures at build time, so the programs load PNGs (a Qt without its SVG
// module runs them too, and the start-up draws nothing):
//   glomie-render-icon ICON.svg OUT_DIR NAME SIZE...  writes OUT_DIR/<SIZE>x<SIZE>/apps/NAME.png, the
//                                                     PNG sizes of the icon theme
//   glomie-render-icon --ico ICON.svg OUT.ico SIZE... writes a Windows icon holding every size
//   glomie-render-icon --picture PICTURE.svg OUT.png WIDTH HEIGHT
//                                                     writes one PNG of that size (the splash)
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>
#include <utility>

namespace {

QImage Render(QSvgRenderer& renderer, QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    return image;
}

// Appends value in little-endian order, in as many bytes as its type has.
template <typename T> void AppendLittleEndian(QByteArray& bytes, T value) {
    for (size_t i = 0; i < sizeof(T); ++i)
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// An .ico file: its header, one directory entry per image, then the images, each a PNG (which
// Windows takes in icons since Vista).
QByteArray IcoFile(const QList<std::pair<int, QByteArray>>& images) {
    QByteArray ico;
    AppendLittleEndian<quint16>(ico, 0); // reserved
    AppendLittleEndian<quint16>(ico, 1); // an icon, not a cursor
    AppendLittleEndian<quint16>(ico, static_cast<quint16>(images.size()));
    auto offset = static_cast<quint32>(6 + 16 * images.size());
    for (const auto& [size, png] : images) {
        const auto side = static_cast<quint8>(size == 256 ? 0 : size); // 0 stands for 256
        AppendLittleEndian<quint8>(ico, side);                         // width
        AppendLittleEndian<quint8>(ico, side);                         // height
        AppendLittleEndian<quint8>(ico, 0);                            // no palette
        AppendLittleEndian<quint8>(ico, 0);                            // reserved
        AppendLittleEndian<quint16>(ico, 1);                           // colour planes
        AppendLittleEndian<quint16>(ico, 32);                          // bits per pixel
        AppendLittleEndian<quint32>(ico, static_cast<quint32>(png.size()));
        AppendLittleEndian<quint32>(ico, offset);
        offset += static_cast<quint32>(png.size());
    }
    for (const auto& image : images)
        ico += image.second;
    return ico;
}

// Writes OUT_DIR/<SIZE>x<SIZE>/apps/NAME.png for every size.
int WritePngs(QSvgRenderer& renderer, const QList<int>& sizes, const QString& folder, const QString& name,
              QTextStream& err) {
    for (const int size : sizes) {
        const QString sizeFolder = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        const QString file = QStringLiteral("%1/%2.png").arg(sizeFolder, name);
        if (!QDir().mkpath(sizeFolder) || !Render(renderer, QSize(size, size)).save(file, "PNG")) {
            err << "glomie-render-icon: cannot write " << file << '\n';
            return 1;
        }
    }
    return 0;
}

// Writes one .ico file holding every size.
int WriteIco(QSvgRenderer& renderer, const QList<int>& sizes, const QString& path, QTextStream& err) {
    QList<std::pair<int, QByteArray>> images;
    for (const int size : sizes) {
        QByteArray png;
        QBuffer buffer(&png);
        if (!buffer.open(QIODevice::WriteOnly) || !Render(renderer, QSize(size, size)).save(&buffer, "PNG")) {
            err << "glomie-render-icon: cannot make the " << size << " pixel image\n";
            return 1;
        }
        images.emplace_back(size, png);
    }
    const QByteArray bytes = IcoFile(images);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        err << "glomie-render-icon: cannot write " << path << '\n';
        return 1;
    }
    return 0;
}

// Writes one PNG of the given size.
int WritePicture(QSvgRenderer& renderer, QSize size, const QString& path, QTextStream& err) {
    if (!Render(renderer, size).save(path, "PNG")) {
        err << "glomie-render-icon: cannot write " << path << '\n';
        return 1;
    }
    return 0;
}

// A side's length in pixels, or 0 when the text is none.
int Side(const QString& text, int largest) {
    bool ok = false;
    const int side = text.toInt(&ok);
    return ok && side > 0 && side <= largest ? side : 0;
}

} // namespace

int main(int argc, char* argv[]) {
    // Runs on build machines without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QTextStream err(stderr);
    QStringList arguments = QGuiApplication::arguments().mid(1);
    const bool ico = arguments.value(0) == QLatin1String("--ico");
    const bool picture = arguments.value(0) == QLatin1String("--picture");
    if (ico || picture)
        arguments.removeFirst();
    if (picture ? arguments.size() != 4 : arguments.size() < (ico ? 3 : 4)) {
        err << "usage: glomie-render-icon ICON.svg OUT_DIR NAME SIZE...\n"
               "       glomie-render-icon --ico ICON.svg OUT.ico SIZE...\n"
               "       glomie-render-icon --picture PICTURE.svg OUT.png WIDTH HEIGHT\n";
        return 2;
    }
    QSvgRenderer renderer(arguments[0]);
    if (!renderer.isValid()) {
        err << "glomie-render-icon: cannot read " << arguments[0] << '\n';
        return 1;
    }
    QList<int> sizes;
    for (const QString& sizeText : arguments.mid(ico || picture ? 2 : 3)) {
        // An icon's directory has a byte for each side, 0 standing for 256.
        const int size = Side(sizeText, ico ? 256 : 4096);
        if (size == 0) {
            err << "glomie-render-icon: not a size: " << sizeText << '\n';
            return 2;
        }
        sizes.append(size);
    }
    if (picture)
        return WritePicture(renderer, QSize(sizes[0], sizes[1]), arguments[1], err);
    return ico ? WriteIco(renderer, sizes, arguments[1], err)
               : WritePngs(renderer, sizes, arguments[1], arguments[2], err);
}
