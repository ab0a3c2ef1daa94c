#include "app/FontConfigWarmUp.h"

#include <QFontDatabase>
#include <QStringList>
#include <fontconfig/fontconfig.h>

namespace veldran {

// fontconfig builds its default configuration once per process and publishes it atomically:
// a caller that comes while this thread is still loading builds its own copy and one of the two
// is dropped. Qt's font database is filled once, under its own lock, by whichever thread asks
// first; the other waits for it.
FontConfigWarmUp::FontConfigWarmUp() : thread_([] { FcInit(); }) {}

FontConfigWarmUp::~FontConfigWarmUp() {
    wait();
}

void FontConfigWarmUp::applicationReady() {
    wait();
    thread_ = std::thread([] { QFontDatabase::families(); });
}

void FontConfigWarmUp::wait() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

} // namespace veldran
