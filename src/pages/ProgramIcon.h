// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <vector>

// The program's icon in every size the build rendered it to, for its windows.
QIcon ProgramIcon();
// The same of pictures read beforehand (ReadProgramIconPictures, which any thread may call).
QIcon ProgramIcon(const std::vector<QImage>& pictures);
std::vector<QImage> ReadProgramIconPictures();
// The icon at one size, for a screen with pixelRatio pixels to a point: the SM page's picture.
QPixmap ProgramPicture(int size, qreal pixelRatio);
