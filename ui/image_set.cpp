// SPDX-License-Identifier: GPL-3.0-or-later
#include "image_set.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace tavlo::ui {

namespace {

QString doubledVariant(const QString& path) {
    const QFileInfo info(path);
    const QDir dir = info.dir();
    for (const QString& suffix : {info.suffix(), QStringLiteral("png")}) {
        const QString candidate = dir.filePath(info.completeBaseName() + "@2x." + suffix);
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return {};
}

} // namespace

ImageSet::ImageSet(const QStringList& paths) {
    pictures_.reserve(static_cast<std::size_t>(paths.size()));
    for (const QString& path : paths) {
        Entry entry;
        entry.image = QImageReader(path).read();
        entry.normal = QPixmap::fromImage(entry.image);
        if (const QString doubled = doubledVariant(path); !doubled.isEmpty()) {
            entry.doubled = QPixmap(doubled);
            entry.doubled.setDevicePixelRatio(2.0);
        }
        pictures_.push_back(std::move(entry));
    }
}

QPixmap ImageSet::picture(int index, qreal devicePixelRatio) const {
    if (index < 1 || index > count())
        return {};
    const Entry& entry = pictures_[static_cast<std::size_t>(index - 1)];
    if (devicePixelRatio > 1.0 && !entry.doubled.isNull())
        return entry.doubled;
    return entry.normal;
}

QImage ImageSet::original(int index) const {
    if (index < 1 || index > count())
        return {};
    return pictures_[static_cast<std::size_t>(index - 1)].image;
}

ImageSet makeImageList2() {
    return ImageSet({":/images/die1.gif", ":/images/die2.gif", ":/images/die3.gif",
                     ":/images/die4.gif", ":/images/die5.gif", ":/images/die6.gif",
                     ":/images/dierest.gif"});
}

ImageSet makeImageList1() {
    return ImageSet({":/images/snake1.bmp", ":/images/snake2.gif", ":/images/snake3.gif",
                     ":/images/snake4.gif", ":/images/snake5.gif", ":/images/pawn_red.gif",
                     ":/images/pawn_blue.gif", ":/images/pawn_cream.gif",
                     ":/images/pawn_green.gif"});
}

} // namespace tavlo::ui
