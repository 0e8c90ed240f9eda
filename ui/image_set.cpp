// SPDX-License-Identifier: GPL-3.0-or-later
#include "image_set.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>

#include <algorithm>
#include <iterator>
#include <mutex>
#include <thread>

namespace tavlo::ui {

namespace {

// The sharper variant of each path, `x@2x.*` beside `x.*`; none where there is none. Each folder
// is listed once.
std::vector<QString> doubledVariants(const QStringList& paths) {
    QHash<QString, QStringList> listed;
    std::vector<QString> doubled;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        const QString folder = info.path();
        if (!listed.contains(folder))
            listed.insert(folder, QDir(folder).entryList(QDir::Files));
        const QString prefix = info.completeBaseName() + QStringLiteral("@2x.");
        const QStringList& names = listed[folder];
        const auto found = std::find_if(names.begin(), names.end(), [&](const QString& name) {
            return name.startsWith(prefix);
        });
        doubled.push_back(found == names.end() ? QString() : info.dir().filePath(*found));
    }
    return doubled;
}

} // namespace

// The decoding thread touches nothing but the jobs, and each job's image only inside its
// once_flag: whoever comes first, the thread or `picture`, decodes it, and the other waits for
// that (or, past it, finds it done).
struct ImageSet::Prefetch {
    struct Job {
        int index = 0;
        Variant variant = AsStored;
        QString path;
        std::once_flag once;
        QImage image;
        bool taken = false; // GUI thread only
    };

    explicit Prefetch(std::size_t count) : jobs(count) {}

    void decode(Job& job) {
        std::call_once(job.once, [&] { job.image = QImageReader(job.path).read(); });
    }
    void start() {
        worker = std::jthread([this](std::stop_token stop) {
            for (Job& job : jobs) {
                if (stop.stop_requested())
                    return;
                decode(job);
            }
        });
    }
    // The job for that picture and variant not taken yet, if any. GUI thread only.
    Job* waiting(int index, Variant variant) {
        const auto job = std::find_if(jobs.begin(), jobs.end(), [&](const Job& j) {
            return !j.taken && j.index == index && j.variant == variant;
        });
        return job == jobs.end() ? nullptr : &*job;
    }
    bool allTaken() const {
        return std::all_of(jobs.begin(), jobs.end(), [](const Job& j) { return j.taken; });
    }

    std::vector<Job> jobs;
    std::jthread worker; // declared last: joined before the jobs go
};

ImageSet::ImageSet(const QStringList& paths) {
    const std::vector<QString> doubled = doubledVariants(paths);
    pictures_.reserve(doubled.size());
    for (std::size_t k = 0; k < doubled.size(); ++k)
        pictures_.push_back({{paths[static_cast<qsizetype>(k)], doubled[k]}, {}});
}

ImageSet::ImageSet(ImageSet&&) noexcept = default;
ImageSet& ImageSet::operator=(ImageSet&&) noexcept = default;
ImageSet::~ImageSet() = default;

ImageSet::Variant ImageSet::variant(const Entry& entry, qreal devicePixelRatio) const {
    return devicePixelRatio > 1.0 && !entry.paths[Doubled].isEmpty() ? Doubled : AsStored;
}

QPixmap ImageSet::picture(int index, qreal devicePixelRatio) const {
    if (index < 1 || index > count())
        return {};
    Entry& e = entry(index);
    const Variant v = variant(e, devicePixelRatio);
    QPixmap& decoded = e.decoded[v];
    if (decoded.isNull()) {
        QImage image = takePrefetched(index, v);
        if (image.isNull())
            image = QImageReader(e.paths[v]).read();
        decoded = QPixmap::fromImage(std::move(image));
        if (v == Doubled)
            decoded.setDevicePixelRatio(2.0);
    }
    return decoded;
}

QImage ImageSet::takePrefetched(int index, Variant variant) const {
    Prefetch::Job* job = prefetch_ ? prefetch_->waiting(index, variant) : nullptr;
    if (!job)
        return {};
    prefetch_->decode(*job);
    job->taken = true;
    QImage image = std::move(job->image);
    // Past the last job the thread has nothing left to do: joining it is at once.
    if (prefetch_->allTaken())
        prefetch_.reset();
    return image;
}

void ImageSet::prefetch(std::initializer_list<int> indexes, qreal devicePixelRatio) {
    prefetch_.reset();
    std::vector<int> known;
    std::copy_if(indexes.begin(), indexes.end(), std::back_inserter(known),
                 [&](int index) { return index >= 1 && index <= count(); });
    prefetch_ = std::make_unique<Prefetch>(known.size());
    for (std::size_t k = 0; k < known.size(); ++k) {
        Prefetch::Job& job = prefetch_->jobs[k];
        const Entry& e = entry(known[k]);
        job.index = known[k];
        job.variant = variant(e, devicePixelRatio);
        job.path = e.paths[job.variant];
    }
    prefetch_->start();
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
    return QImageReader(entry(index).paths[AsStored]).read();
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
