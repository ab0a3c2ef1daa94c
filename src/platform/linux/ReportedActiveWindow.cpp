#include "platform/linux/ReportedActiveWindow.h"

#include "platform/linux/ProcessExecutable.h"

namespace veldran {

WindowProgram reportedProgram(const std::string& appId, const std::string& wmClass, unsigned pid) {
    WindowProgram program;
    program.appId = appId;
    if (const std::size_t split = wmClass.find('\n'); split != std::string::npos) {
        program.instance = wmClass.substr(0, split);
        program.className = wmClass.substr(split + 1);
    } else {
        program.className = wmClass;
    }
    program.pid = pid;
    program.executable = executableNameOf(pid);
    return program;
}

void ReportedActiveWindow::report(const std::string& appId, const std::string& wmClass,
                                  unsigned pid) {
    front_ = reportedProgram(appId, wmClass, pid);
    for (const std::string* name : {&front_.appId, &front_.instance, &front_.className}) {
        if (!name->empty()) {
            reportedNames_.insert(*name);
            break;
        }
    }
    if (listener_) {
        listener_(front_);
    }
}

} // namespace veldran
