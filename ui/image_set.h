// SPDX-License-Identifier: GPL-3.0-or-later
// A store of pictures numbered from 1, loaded from the program's compiled-in resources.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include <array>
#include <initializer_list>
#include <memory>
#include <vector>

namespace tavlo::ui {

// Pictures are decoded when first asked for, or ahead of that on a thread of their own
// (`prefetch`), and then kept; one never asked for stays in its compressed resource. An ImageSet
// belongs to the GUI thread: all its functions are called there.
class ImageSet {
public:
    // Names each resource path in order as pictures 1, 2, ...; a path `x.gif` with a sibling
    // `x@2x.*` also has that sharper variant for screens that scale the window. Decodes nothing.
    explicit ImageSet(const QStringList& paths);
    ImageSet(ImageSet&&) noexcept;
    ImageSet& operator=(ImageSet&&) noexcept;
    // Waits for a prefetch still decoding its current picture, and skips the rest.
    ~ImageSet();

    int count() const { return static_cast<int>(pictures_.size()); }
    // Picture `index` (1..count) for a screen of the given device pixel ratio: the sharper
    // variant where the ratio is above 1 and there is one. Decoded the first time it is asked
    // for, then kept; a null pixmap for an index out of range.
    QPixmap picture(int index, qreal devicePixelRatio = 1.0) const;
    // Starts decoding pictures `indexes`, in that order, for a screen of the given ratio on a
    // thread of its own, so that `picture` finds them decoded. `picture` waits for one the
    // thread is decoding, and decodes one the thread has not reached yet itself. Replaces any
    // earlier prefetch.
    void prefetch(std::initializer_list<int> indexes, qreal devicePixelRatio);
    // The resource picture `index` is decoded from for a screen of the given device pixel ratio,
    // for decoding it elsewhere (QImageReader reads it on any thread).
    QString source(int index, qreal devicePixelRatio) const;
    // The picture as stored, at its own size and format, read again for inspection.
    QImage original(int index) const;

private:
    enum Variant { AsStored, Doubled };
    struct Entry {
        std::array<QString, 2> paths; // by Variant; no Doubled path when there is none
        std::array<QPixmap, 2> decoded;
    };
    struct Prefetch;

    Entry& entry(int index) const { return pictures_[static_cast<std::size_t>(index - 1)]; }
    Variant variant(const Entry& entry, qreal devicePixelRatio) const;
    // The image prefetched for that picture and variant, once decoded; a null image when none
    // was prefetched.
    QImage takePrefetched(int index, Variant variant) const;

    mutable std::vector<Entry> pictures_;
    mutable std::unique_ptr<Prefetch> prefetch_;
};

// The die: faces 1..6 and the die at rest (7).
ImageSet makeImageList2();
// The five snake pictures (1..5) and the four pawns (6 red, 7 dark blue, 8 cream, 9 green).
ImageSet makeImageList1();

} // namespace tavlo::ui
