// SPDX-License-Identifier: GPL-3.0-or-later
// A store of pictures numbered from 1, loaded from the program's compiled-in resources.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace tavlo::ui {

// Pictures are decoded when first asked for, and then kept; one never asked for stays in its
// compressed resource. An ImageSet belongs to the GUI thread: all its functions are called there.
class ImageSet {
public:
    // Names each resource path in order as pictures 1, 2, ...; a path `x.gif` with siblings
    // `x@2x.*` or `x@3x.*` also has those sharper variants, of twice and three times its size,
    // for screens that scale the window. Decodes nothing.
    explicit ImageSet(const QStringList& paths);

    int count() const { return static_cast<int>(pictures_.size()); }
    // Picture `index` (1..count) for a screen of the given device pixel ratio: the smallest
    // variant at least as large as the picture is shown, else the largest there is. Decoded the
    // first time it is asked for, then kept; a null pixmap for an index out of range.
    QPixmap picture(int index, qreal devicePixelRatio = 1.0) const;
    // The resource picture `index` is decoded from for a screen of the given device pixel ratio,
    // for decoding it elsewhere (QImageReader reads it on any thread).
    QString source(int index, qreal devicePixelRatio) const;
    // The picture as stored, at its own size and format, read again for inspection.
    QImage original(int index) const;

private:
    static constexpr std::size_t kVariants = 3; // as stored, @2x, @3x
    struct Entry {
        std::array<QString, kVariants> paths; // by size less one; empty where there is none
        std::array<QPixmap, kVariants> decoded;
    };

    Entry& entry(int index) const { return pictures_[static_cast<std::size_t>(index - 1)]; }
    // The index in `paths` of the variant for that ratio.
    static std::size_t variant(const Entry& entry, qreal devicePixelRatio);
    mutable std::vector<Entry> pictures_;
};

// The die: faces 1..6 and the die at rest (7).
ImageSet makeImageList2();
// The five snake pictures (1..5) and the four pawns (6 red, 7 dark blue, 8 cream, 9 green).
ImageSet makeImageList1();

} // namespace tavlo::ui
