// Shared set-up of the paint and shape benchmarks: a Qt application on the offscreen platform and
// the default skin that the build draws beside the executables.
#pragma once

#include <QGuiApplication>
#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace veldran::bench {

// The skins folder beside the running executable.
inline std::filesystem::path defaultSkinFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return exe.parent_path() / "skins";
}

inline std::unique_ptr<QGuiApplication> offscreenApplication(int& argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace veldran::bench
