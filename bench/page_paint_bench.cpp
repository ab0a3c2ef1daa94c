// Full paint of each page of the default skin (back buffer composed, then copied to a window-sized
// surface), with the picture cache and, in the same run, decoding every picture at every paint.
#include "SkinBenchSupport.h"
#include "app/MainWindowState.h"
#include "config/FunctionCode.h"
#include "config/MacroTable.h"
#include "config/Profile.h"
#include "skin/ImageCache.h"
#include "skin/PageRenderer.h"
#include "skin/SkinReader.h"
#include "skin/StartupReporter.h"

#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

using namespace veldran;

class SilentReporter final : public StartupReporter {
public:
    void message(const QString& text) override {
        std::fprintf(stderr, "skin: %s\n", text.toUtf8().constData());
    }
    void exitSequence() override {}
};

struct Window {
    Window() {
        state.skinFolder = bench::defaultSkinFolder();
        SilentReporter reporter;
        SkinReader reader(state.skinFolder, state.skin, reporter);
        reader.readMainTable();
        reader.readFunctionNames();
        reader.readColorTable();
        reader.readAdvancedTable();
        const QImage mask(QString::fromStdString((state.skinFolder / "main_mask.jpg").string()));
        state.maskSize = mask.size();
        resetToFactory(model.profile);
        model.runtime.curConfig = 1;
        model.runtime.armed = false;
        model.runtime.firstSoftwareSlot = 6;
        state.pointer.mainHot = 17;
        state.pointer.advancedHot = 17;
        state.pointer.colorHot = 1;
    }
    MainWindowState state;
    ConfigModel model;
    MacroTable macros;
};

void paint(benchmark::State& bm, SkinPage page, bool caching) {
    Window window;
    window.state.pointer.page = page;
    ImageCache images(caching);
    PageRenderer renderer(window.state, window.state.macroEditor, window.model, window.macros,
                          images);
    if (window.state.maskSize.isEmpty()) {
        bm.SkipWithError("no default skin beside the benchmark (build veldran_default_skin first)");
        return;
    }
    QImage surface(window.state.maskSize, QImage::Format_RGB32);
    for (auto _ : bm) {
        const QImage& frame = renderer.render();
        QPainter p(&surface);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(QPoint(0, 0), frame);
        p.end();
        benchmark::DoNotOptimize(surface.constBits());
    }
}

void BM_PaintMain(benchmark::State& s) {
    paint(s, SkinPage::Main, true);
}
void BM_PaintAdvanced(benchmark::State& s) {
    paint(s, SkinPage::Advanced, true);
}
void BM_PaintColor(benchmark::State& s) {
    paint(s, SkinPage::Color, true);
}
void BM_PaintMainDecodingEveryPicture(benchmark::State& s) {
    paint(s, SkinPage::Main, false);
}
void BM_PaintAdvancedDecodingEveryPicture(benchmark::State& s) {
    paint(s, SkinPage::Advanced, false);
}
void BM_PaintColorDecodingEveryPicture(benchmark::State& s) {
    paint(s, SkinPage::Color, false);
}

constexpr int kRepetitions = 5;
BENCHMARK(BM_PaintMain)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions);
BENCHMARK(BM_PaintAdvanced)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions);
BENCHMARK(BM_PaintColor)->Unit(benchmark::kMillisecond)->Repetitions(kRepetitions);
BENCHMARK(BM_PaintMainDecodingEveryPicture)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions);
BENCHMARK(BM_PaintAdvancedDecodingEveryPicture)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions);
BENCHMARK(BM_PaintColorDecodingEveryPicture)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(kRepetitions);

} // namespace

int main(int argc, char** argv) {
    auto app = bench::offscreenApplication(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
