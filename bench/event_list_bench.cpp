// RefreshEventList of a macro of 40 events (79 lines) on the real, shown event list (offscreen):
// the refresh alone, and the refresh followed by the list's repaint that the user then sees. Each
// refresh is timed on its own; the median and the 99th percentile are reported as counters.
#include "config/MacroTable.h"
#include "macro/CEditableListBox.h"
#include "macro/CQelMenu.h"
#include "macro/MacroListControls.h"
#include "macro/MacroListEditor.h"
#include "skin/MacroEditorState.h"

#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace {

using namespace veldran;

struct Editor {
    Editor() {
        macros.setCount(1);
        macros.edit([](auto& records) {
            records[0].setName("Forty");
            records[0].eventCount = 40;
            for (int k = 0; k < 40; ++k) {
                records[0].setEvent(k, {static_cast<std::uint8_t>(0x41 + k / 2 % 26),
                                        static_cast<std::uint8_t>(k % 2 + 1),
                                        static_cast<std::uint16_t>(25 + k)});
            }
        });
        window.resize(800, 600);
        // The default skin's rectangles of the three controls.
        controls.create(QRect(32, 160, 220, 26), QRect(32, 216, 220, 270),
                        QRect(344, 160, 250, 326), {QStringLiteral("Forty")});
        window.show();
        for (int i = 0; i < 10; ++i) {
            QCoreApplication::processEvents(); // until the window is exposed and painted
        }
        state.selectedEventLine = 78; // the last event line, as after start-up
    }
    QWidget window;
    MacroTable macros;
    MacroEditorState state;
    MacroListControls controls{window};
    CQelMenu menu{kMacroContextMenuId};
    MacroListEditor editor{macros, state, controls, menu};
};

void report(benchmark::State& bm, std::vector<double>& micros) {
    if (micros.empty()) {
        return;
    }
    std::sort(micros.begin(), micros.end());
    bm.counters["median_us"] = micros[micros.size() / 2];
    bm.counters["p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
}

void refresh(benchmark::State& bm, bool repaint) {
    Editor e;
    std::vector<double> micros;
    micros.reserve(100000);
    for (auto _ : bm) {
        const auto start = std::chrono::steady_clock::now();
        e.editor.RefreshEventList(0);
        if (repaint) {
            e.controls.eventList().viewport()->repaint();
        }
        const auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    if (e.controls.eventList().count() != 79) {
        bm.SkipWithError("the event list does not hold 79 lines");
    }
    report(bm, micros);
}

void BM_RefreshEventList40Events(benchmark::State& s) {
    refresh(s, false);
}
void BM_RefreshEventList40EventsAndRepaint(benchmark::State& s) {
    refresh(s, true);
}

BENCHMARK(BM_RefreshEventList40Events)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RefreshEventList40EventsAndRepaint)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
