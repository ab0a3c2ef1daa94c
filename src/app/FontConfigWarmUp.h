// Loading the fonts' configuration ahead of need. Reading fontconfig's configuration and caches,
// and listing the installed faces into Qt's font database, take a few milliseconds; on a thread
// of their own they run while the application object connects to the display and the program
// builds its parts, so that the first text laid out in the main window finds them ready.
#pragma once

#include <thread>

namespace veldran {

class FontConfigWarmUp {
public:
    // Starts loading fontconfig's configuration at once (before the application object exists).
    FontConfigWarmUp();
    // Waits for the loading to end.
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

    // Once the application object exists: goes on with filling Qt's font database.
    void applicationReady();
    // Waits for the loading to end; called before the application object goes, since Qt's font
    // database belongs to it.
    void wait();

private:
    std::thread thread_;
};

} // namespace veldran
