// Region building from runs: each row of the mask becomes a list of opaque runs; consecutive rows
// with the same runs form one band, so a typical outline needs a few hundred rectangles instead
// of one region operation per pixel. A row whose pixels equal the row above is not looked at.
#include "skin/WindowShape.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace veldran {
namespace {

// Opaque runs of row y as [start, end) pairs.
void rowRuns(const QImage& mask, int y, std::vector<int>& runs) {
    runs.clear();
    const auto* line = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
    const int width = mask.width();
    int x = 0;
    while (x < width) {
        while (x < width &&
               isTransparentMaskPixel(qRed(line[x]), qGreen(line[x]), qBlue(line[x]))) {
            ++x;
        }
        if (x >= width) {
            break;
        }
        const int start = x;
        while (x < width &&
               !isTransparentMaskPixel(qRed(line[x]), qGreen(line[x]), qBlue(line[x]))) {
            ++x;
        }
        runs.push_back(start);
        runs.push_back(x);
    }
}

} // namespace

QRegion opaqueRegion(const QImage& source) {
    if (source.isNull()) {
        return QRegion();
    }
    const QImage mask =
        source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
            ? source
            : source.convertToFormat(QImage::Format_RGB32);
    std::vector<QRect> rects;
    std::vector<int> band;
    std::vector<int> runs;
    int bandTop = 0;
    auto flush = [&](int bandBottom) {
        for (std::size_t k = 0; k + 1 < band.size(); k += 2) {
            rects.emplace_back(QPoint(band[k], bandTop), QPoint(band[k + 1] - 1, bandBottom - 1));
        }
    };
    const auto rowBytes = static_cast<std::size_t>(mask.width()) * sizeof(QRgb);
    for (int y = 0; y < mask.height(); ++y) {
        // A row with the same pixels as the one above has its runs: the band goes on. Outlines
        // are mostly straight up and down, so most rows end here.
        if (y > 0 && std::memcmp(mask.constScanLine(y), mask.constScanLine(y - 1), rowBytes) == 0) {
            continue;
        }
        rowRuns(mask, y, runs);
        if (y == 0 || runs != band) {
            if (y > 0) {
                flush(y);
            }
            band.swap(runs);
            bandTop = y;
        }
    }
    flush(mask.height());
    QRegion region;
    // Bands are sorted by top then left, do not overlap and share one height within a band, which
    // is what QRegion::setRects expects.
    if (!rects.empty()) {
        region.setRects(rects.data(), static_cast<int>(rects.size()));
    }
    return region;
}

QRegion controlRegion(const QRect& r) {
    // Hand-edited skins may hold any 32-bit numbers: add in 64 bits and keep the result within
    // the coordinates a region can hold.
    static constexpr long long limit = 1 << 28;
    auto clampEdge = [](long long v) { return static_cast<int>(std::clamp(v, -limit, limit)); };
    const long long x = r.x();
    const long long y = r.y();
    const int left = clampEdge(std::min(x, x + r.width()));
    const int right = clampEdge(std::max(x, x + r.width()));
    const int top = clampEdge(std::min(y, y + r.height()));
    const int bottom = clampEdge(std::max(y, y + r.height()));
    if (left == right || top == bottom) {
        return QRegion();
    }
    return QRegion(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)));
}

WindowShape buildWindowShape(const QImage& mask, const QRect& nameEdit, const QRect& eventList,
                             const QRect& nameList) {
    WindowShape shape;
    if (!mask.isNull()) {
        shape.maskSize = mask.size();
    } else {
        shape.maskSize = QSize(0, 0);
    }
    shape.windowRegion = opaqueRegion(mask);
    shape.paintRegion = shape.windowRegion.xored(controlRegion(nameEdit))
                            .xored(controlRegion(eventList))
                            .xored(controlRegion(nameList));
    return shape;
}

} // namespace veldran
