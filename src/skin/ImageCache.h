// Decoded skin pictures by path. A picture is decoded again when its file's modification time or
// size has changed since it was decoded, so a picture replaced on disk shows at the next paint;
// a missing or undecodable file gives a null image. With caching turned off every request
// decodes the file again (the benchmark's reference).
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <unordered_map>

namespace veldran {

class ImageCache {
public:
    explicit ImageCache(bool caching = true) : caching_(caching) {}

    // The picture at path, in a format that copies fast onto the back buffer.
    const QImage& get(const QString& path);
    void clear() { entries_.clear(); }
    int decodes() const { return decodes_; }

private:
    struct Entry {
        std::filesystem::file_time_type modified{};
        std::uintmax_t size = 0;
        bool present = false;
        QImage image;
    };
    bool caching_;
    int decodes_ = 0;
    std::unordered_map<QString, Entry> entries_;
    QImage uncached_;
};

} // namespace veldran
