// A running veldran-virtual-mouse for tests and benchmarks: started with pipes on its standard
// input and output, so that a test can type its commands and read the lines it prints.
#pragma once

#include "formats/VirtualMouseProtocol.h"

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace veldran::fakes {

class VirtualMouseProcess {
public:
    // Starts the program with --socket socketPath and the extra arguments, and waits for its
    // first line (printed once it listens). started() tells whether that worked. A launcher, when
    // given, runs the program (for example setpriv, to run it as another user).
    VirtualMouseProcess(const std::string& socketPath, const std::vector<std::string>& args = {},
                        const std::vector<std::string>& launcher = {});
    ~VirtualMouseProcess();
    VirtualMouseProcess(const VirtualMouseProcess&) = delete;
    VirtualMouseProcess& operator=(const VirtualMouseProcess&) = delete;

    bool started() const { return started_; }
    // Sends one command line to its standard input.
    void command(const std::string& line);
    // The next line it prints, waiting at most timeoutMs.
    std::optional<std::string> nextLine(int timeoutMs = 5000);
    // The next line that is not a '#' remark.
    std::optional<std::string> nextDataLine(int timeoutMs = 5000);
    // Reads lines until one equals text; false when none does within timeoutMs each.
    bool waitForLine(const std::string& text, int timeoutMs = 5000);
    // Closes its standard input (which means quit) and returns its exit status.
    int finish();

    // $VELDRAN_BIN_DIR/veldran-virtual-mouse, else the program beside the running executable.
    static std::string programPath();
    // A fresh socket path under $XDG_RUNTIME_DIR (or /tmp) for this process and tag.
    static std::string socketPathFor(const std::string& tag);

private:
    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    bool started_ = false;
    virtualmouse::LineSplitter lines_;
};

} // namespace veldran::fakes
