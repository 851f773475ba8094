// SPDX-License-Identifier: MIT
#include "pages/ProgramIcon.h"

#include <QDirIterator>
#include <QImageReader>
#include <cmath>
#include <utility>

namespace {
QString PicturePath(int size) {
    return QStringLiteral(":/glomiecode/icon/%1x%1/apps/glomiecode.png").arg(size);
}
} // namespace

std::vector<QImage> ReadProgramIconPictures() {
    std::vector<QImage> pictures;
    QDirIterator sizes(QStringLiteral(":/glomiecode/icon"), {QStringLiteral("*.png")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (sizes.hasNext()) {
        QImage picture = QImageReader(sizes.next()).read();
        if (!picture.isNull())
            pictures.push_back(std::move(picture));
    }
    return pictures;
}

QIcon ProgramIcon(const std::vector<QImage>& pictures) {
    QIcon icon;
    for (const QImage& picture : pictures)
        icon.addPixmap(QPixmap::fromImage(picture));
    return icon;
}

QIcon ProgramIcon() {
    return ProgramIcon(ReadProgramIconPictures());
}

QPixmap ProgramPicture(int size, qreal pixelRatio) {
    // The size rendered for the screen's pixels where there is one, else the plain one.
    const int pixels = static_cast<int>(std::lround(size * pixelRatio));
    QImage picture = QImageReader(PicturePath(pixels)).read();
    if (picture.isNull())
        return ProgramIcon().pixmap(size, size);
    picture.setDevicePixelRatio(static_cast<qreal>(pixels) / size);
    return QPixmap::fromImage(std::move(picture));
}
