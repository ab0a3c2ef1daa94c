// Decoding with a check of the file's modification time and size at every request.
#include "skin/ImageCache.h"

#include <algorithm>
#include <system_error>

namespace veldran {
namespace {

QImage decode(const QString& path) {
    QImage image(path);
    if (image.isNull() || image.format() == QImage::Format_RGB32) {
        return image;
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

// The file's size and modification time into entry; false when the file cannot be looked at.
bool stampOf(const QString& path, auto& entry) {
    const std::filesystem::path file(path.toStdString());
    std::error_code sizeError;
    std::error_code timeError;
    entry.size = std::filesystem::file_size(file, sizeError);
    entry.modified = std::filesystem::last_write_time(file, timeError);
    return !sizeError && !timeError;
}

} // namespace

ImageCache::~ImageCache() {
    for (std::thread& decoder : decoders_) {
        decoder.join();
    }
}

ImageCache::Entry ImageCache::load(const QString& path) {
    Entry entry;
    entry.present = stampOf(path, entry);
    if (entry.present) {
        entry.image = decode(path);
    }
    return entry;
}

void ImageCache::prefetch(const QStringList& requested) {
    QStringList paths;
    for (const QString& path : requested) {
        const bool pending = std::any_of(pending_.begin(), pending_.end(),
                                         [&](const Pending& p) { return p.path == path; });
        if (!pending && !entries_.contains(path)) {
            paths.append(path);
        }
    }
    if (!caching_ || paths.isEmpty()) {
        return;
    }
    std::vector<std::promise<Entry>> promises(static_cast<std::size_t>(paths.size()));
    for (qsizetype i = 0; i < paths.size(); ++i) {
        pending_.push_back({paths[i], promises[static_cast<std::size_t>(i)].get_future()});
    }
    decoders_.emplace_back([paths, promises = std::move(promises)]() mutable {
        for (qsizetype i = 0; i < paths.size(); ++i) {
            promises[static_cast<std::size_t>(i)].set_value(load(paths[i]));
        }
    });
}

void ImageCache::takePrefetched(const QString& path) {
    const auto it = std::find_if(pending_.begin(), pending_.end(),
                                 [&](const Pending& p) { return p.path == path; });
    if (it == pending_.end()) {
        return;
    }
    Entry entry = it->entry.get();
    if (entry.present) {
        ++decodes_;
    }
    entries_[path] = std::move(entry);
    pending_.erase(it);
}

void ImageCache::clear() {
    for (Pending& p : pending_) {
        p.entry.wait();
    }
    pending_.clear();
    entries_.clear();
}

const QImage& ImageCache::get(const QString& path) {
    if (!caching_) {
        ++decodes_;
        uncached_ = decode(path);
        return uncached_;
    }
    takePrefetched(path);
    Entry now;
    Entry& entry = entries_[path];
    if (!stampOf(path, now)) {
        entry = Entry{};
        return entry.image;
    }
    if (!entry.present || entry.size != now.size || entry.modified != now.modified) {
        entry = load(path);
        ++decodes_;
    }
    return entry.image;
}

} // namespace veldran
