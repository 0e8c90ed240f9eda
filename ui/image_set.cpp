// SPDX-License-Identifier: GPL-3.0-or-later
#include "image_set.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>

#include <algorithm>

namespace tavlo::ui {

ImageSet::ImageSet(const QStringList& paths) {
    // Each path with its sharper variants, `x@2x.*` and `x@3x.*` beside `x.*`; each folder is
    // listed once.
    QHash<QString, QStringList> listed;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!listed.contains(info.path()))
            listed.insert(info.path(), QDir(info.path()).entryList(QDir::Files));
        const QStringList& names = listed[info.path()];
        Entry& e = pictures_.emplace_back();
        e.paths[0] = path;
        for (std::size_t k = 1; k < kVariants; ++k) {
            const QString prefix = info.completeBaseName() + QStringLiteral("@%1x.").arg(k + 1);
            const auto found = std::find_if(names.begin(), names.end(), [&](const QString& name) {
                return name.startsWith(prefix);
            });
            if (found != names.end())
                e.paths[k] = info.dir().filePath(*found);
        }
    }
}

std::size_t ImageSet::variant(const Entry& entry, qreal devicePixelRatio) {
    std::size_t k = 0;
    while (k + 1 < kVariants && !entry.paths[k + 1].isEmpty() && devicePixelRatio > k + 1.0)
        ++k;
    return k;
}

QPixmap ImageSet::picture(int index, qreal devicePixelRatio) const {
    if (index < 1 || index > count())
        return {};
    Entry& e = entry(index);
    const std::size_t v = variant(e, devicePixelRatio);
    QPixmap& decoded = e.decoded[v];
    if (decoded.isNull()) {
        decoded = QPixmap::fromImage(QImageReader(e.paths[v]).read());
        decoded.setDevicePixelRatio(static_cast<qreal>(v + 1));
    }
    return decoded;
}

QString ImageSet::source(int index, qreal devicePixelRatio) const {
    if (index < 1 || index > count())
        return {};
    const Entry& e = entry(index);
    return e.paths[variant(e, devicePixelRatio)];
}

QImage ImageSet::original(int index) const {
    if (index < 1 || index > count())
        return {};
    return QImageReader(entry(index).paths[0]).read();
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
