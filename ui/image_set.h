// SPDX-License-Identifier: GPL-3.0-or-later
// A store of pictures numbered from 1, loaded from the program's compiled-in resources.
#pragma once

#include <QPixmap>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tavlo::ui {

class ImageSet {
public:
    // Loads each resource path in order as pictures 1, 2, ...; a path `x.gif` with a sibling
    // `x@2x.*` also gets that sharper variant for screens that scale the window.
    explicit ImageSet(const QStringList& paths);

    int count() const { return static_cast<int>(pictures_.size()); }
    // Picture `index` (1..count) for a screen of the given device pixel ratio; a null pixmap
    // for an index out of range.
    QPixmap picture(int index, qreal devicePixelRatio = 1.0) const;
    // The picture as stored, at its own size and format, read again for inspection.
    QImage original(int index) const;

private:
    struct Entry {
        QString path;
        QPixmap normal;
        std::optional<QPixmap> doubled; // decoded on first use; null when there is none
    };
    mutable std::vector<Entry> pictures_;
};

// The die: faces 1..6 and the die at rest (7).
ImageSet makeImageList2();
// The five snake pictures (1..5) and the four pawns (6 red, 7 dark blue, 8 cream, 9 green).
ImageSet makeImageList1();

} // namespace tavlo::ui
