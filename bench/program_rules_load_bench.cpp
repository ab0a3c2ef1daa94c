// How long programs.ini takes to load with 50,000 rules (all distinct programs, the file under its
// 1 MB limit): the first 10,000 are kept, the others checked and left out with one line. Also
// the same load of 10,000 rules, the most a file keeps.
#include "control/ProgramRules.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace veldran {
namespace {

void BM_LoadProgramRules(benchmark::State& state) {
    const auto rules = static_cast<int>(state.range(0));
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("veldran-rules-bench-" + std::to_string(::getpid()) + ".ini");
    {
        std::ofstream out(file);
        out << "[Settings]\nEnabled=1\nNotify=1\n\n[Programs]\n";
        for (int i = 0; i < rules; ++i) {
            out << "program_" << i << '=' << (i % 5 + 1) << '\n';
        }
    }
    if (std::filesystem::file_size(file) > kMaxProgramsFileBytes) {
        state.SkipWithError("the file is over the 1 MB limit");
    }
    std::size_t kept = 0;
    for (auto _ : state) {
        const LoadedProgramRules loaded = loadProgramRules(file);
        kept = loaded.rules.rules.size();
        benchmark::DoNotOptimize(kept);
    }
    state.counters["kept"] = static_cast<double>(kept);
    state.counters["file_kB"] = static_cast<double>(std::filesystem::file_size(file)) / 1024;
    std::filesystem::remove(file);
}
BENCHMARK(BM_LoadProgramRules)->Arg(50000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace veldran

BENCHMARK_MAIN();
