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
    for (const QString& path : paths)
        pictures_.push_back({path, QPixmap(path), {}});
}

QPixmap ImageSet::picture(int index, qreal devicePixelRatio) const {
    if (index < 1 || index > count())
        return {};
    Entry& entry = pictures_[static_cast<std::size_t>(index - 1)];
    if (devicePixelRatio <= 1.0)
        return entry.normal;
    // Only a scaled screen needs the sharp variant: decode it the first time one asks.
    if (!entry.doubled) {
        entry.doubled = QPixmap();
        if (const QString doubled = doubledVariant(entry.path); !doubled.isEmpty()) {
            entry.doubled->load(doubled);
            entry.doubled->setDevicePixelRatio(2.0);
        }
    }
    return entry.doubled->isNull() ? entry.normal : *entry.doubled;
}

QImage ImageSet::original(int index) const {
    if (index < 1 || index > count())
        return {};
    return QImageReader(pictures_[static_cast<std::size_t>(index - 1)].path).read();
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
