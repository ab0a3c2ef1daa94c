// Decoding with a check of the file's modification time and size at every request.
#include "skin/ImageCache.h"

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

} // namespace

const QImage& ImageCache::get(const QString& path) {
    if (!caching_) {
        ++decodes_;
        uncached_ = decode(path);
        return uncached_;
    }
    const std::filesystem::path file(path.toStdString());
    std::error_code sizeError;
    std::error_code timeError;
    const std::uintmax_t size = std::filesystem::file_size(file, sizeError);
    const auto modified = std::filesystem::last_write_time(file, timeError);
    const bool present = !sizeError && !timeError;
    Entry& entry = entries_[path];
    if (!present) {
        entry = Entry{};
        return entry.image;
    }
    if (!entry.present || entry.size != size || entry.modified != modified) {
        entry.present = true;
        entry.size = size;
        entry.modified = modified;
        entry.image = decode(path);
        ++decodes_;
    }
    return entry.image;
}

} // namespace veldran
