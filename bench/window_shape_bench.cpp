// The window shape of an 800 x 600 mask (the default skin's): regions built from runs merged into
// bands, against the same region built one pixel at a time by exclusive-or, in the same run.
#include "SkinBenchSupport.h"
#include "skin/WindowShape.h"

#include <QPainter>
#include <QPolygon>
#include <benchmark/benchmark.h>

namespace {

using namespace veldran;

QImage mask() {
    QImage image(QString::fromStdString((bench::defaultSkinFolder() / "main_mask.jpg").string()));
    if (image.isNull() || image.size() != QSize(800, 600)) {
        // Without the default skin: a chamfered outline of the same size.
        image = QImage(800, 600, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPolygon(
            QPolygon({QPoint(0, 44), QPoint(44, 0), QPoint(760, 0), QPoint(800, 40),
                      QPoint(800, 560), QPoint(760, 600), QPoint(40, 600), QPoint(0, 560)}));
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

// The region as a Windows-style builder makes it: the full rectangle, then every transparent
// pixel removed by exclusive-or, column by column.
QRegion onePixelAtATime(const QImage& image) {
    QRegion region(0, 0, image.width(), image.height());
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            const QRgb p = image.pixel(x, y);
            if (isTransparentMaskPixel(qRed(p), qGreen(p), qBlue(p))) {
                region = region.xored(QRegion(x, y, 1, 1));
            }
        }
    }
    return region;
}

void BM_ShapeFromRuns(benchmark::State& state) {
    const QImage image = mask();
    for (auto _ : state) {
        benchmark::DoNotOptimize(opaqueRegion(image));
    }
}

void BM_ShapeOnePixelAtATime(benchmark::State& state) {
    const QImage image = mask();
    for (auto _ : state) {
        benchmark::DoNotOptimize(onePixelAtATime(image));
    }
    if (onePixelAtATime(image) != opaqueRegion(image)) {
        state.SkipWithError("the two builds disagree");
    }
}

BENCHMARK(BM_ShapeFromRuns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShapeOnePixelAtATime)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    auto app = bench::offscreenApplication(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
