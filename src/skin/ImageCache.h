// Decoded skin pictures by path. A picture is decoded again when its file's modification time or
// size has changed since it was decoded, so a picture replaced on disk shows at the next paint;
// a missing or undecodable file gives a null image. With caching turned off every request
// decodes the file again (the benchmark's reference). Pictures that will be needed soon can be
// decoded ahead on a thread of their own; a request for one of them waits for its decoding.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <filesystem>
#include <future>
#include <thread>
#include <unordered_map>
#include <vector>

namespace veldran {

class ImageCache {
public:
    explicit ImageCache(bool caching = true) : caching_(caching) {}
    ~ImageCache();
    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;

    // The picture at path, in a format that copies fast onto the back buffer.
    const QImage& get(const QString& path);
    // Starts decoding paths, in this order, on a thread of its own: those neither decoded nor
    // on their way already (nothing without caching).
    void prefetch(const QStringList& paths);
    void clear();
    int decodes() const { return decodes_; }

private:
    struct Entry {
        std::filesystem::file_time_type modified{};
        std::uintmax_t size = 0;
        bool present = false;
        QImage image;
    };
    struct Pending {
        QString path;
        std::future<Entry> entry;
    };
    static Entry load(const QString& path);
    void takePrefetched(const QString& path);

    bool caching_;
    int decodes_ = 0;
    std::unordered_map<QString, Entry> entries_;
    std::vector<Pending> pending_;
    std::vector<std::thread> decoders_;
    QImage uncached_;
};

} // namespace veldran
