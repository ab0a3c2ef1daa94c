// veldran-virtual-mouse: stands in for the VELDRAN GAMING MOUSE. It presents the mouse's HID
// interfaces on a Unix socket, prints every feature report it receives, and sends press,
// re-arming and keyboard reports when told to on standard input.
#include "VirtualMouseDescriptors.h"
#include "VirtualMouseServer.h"
#include "platform/PrivateFolder.h"
#include "platform/linux/VirtualMouseSocket.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

void usage(std::FILE* to) {
    std::fputs(
        "usage: veldran-virtual-mouse [--socket PATH] [--input-length N] "
        "[--feature-length N] [--combined]\n"
        "  --socket PATH        where the driver connects (default: veldran-virtual-mouse.sock "
        "in /run/user/UID, else in /tmp/veldran-UID)\n"
        "  --input-length N     input report length, report id included (default 8)\n"
        "  --feature-length N   feature report length, report id included (default 8)\n"
        "  --combined           both vendor collections in one interface, behind a "
        "keyboard collection\n",
        to);
}

bool parseLength(std::string_view text, int& length) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() ||
        value < veldran::virtualmouse::kMinReportLength ||
        value > veldran::virtualmouse::kMaxReportLength) {
        return false;
    }
    length = value;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    veldran::virtualmouse::ServerOptions options;
    options.socketPath = veldran::defaultVirtualMouseSocket();
    bool defaultSocket = true;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            usage(stdout);
            return 0;
        }
        const bool hasValue = i + 1 < argc;
        if (arg == "--combined") {
            options.combined = true;
        } else if (arg == "--socket" && hasValue) {
            options.socketPath = argv[++i];
            defaultSocket = false;
        } else if (arg == "--input-length" && hasValue &&
                   parseLength(argv[i + 1], options.inputLength)) {
            ++i;
        } else if (arg == "--feature-length" && hasValue &&
                   parseLength(argv[i + 1], options.featureLength)) {
            ++i;
        } else {
            std::fprintf(stderr, "veldran-virtual-mouse: bad argument: %s\n", argv[i]);
            usage(stderr);
            return 2;
        }
    }
    // The default socket's folder must be this user's private one (see PrivateFolder.h).
    if (const std::string problem = veldran::runtimeFolder().problem;
        defaultSocket && !problem.empty()) {
        std::fprintf(stderr, "veldran-virtual-mouse: %s\n", problem.c_str());
        return 1;
    }
    veldran::virtualmouse::VirtualMouseServer server(options, stdout);
    std::string error;
    if (!server.listen(error)) {
        std::fprintf(stderr, "veldran-virtual-mouse: %s\n", error.c_str());
        return 1;
    }
    return server.run();
}
