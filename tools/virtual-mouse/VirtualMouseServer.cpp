#include "VirtualMouseServer.h"

#include "VirtualMouseDescriptors.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace veldran::virtualmouse {
namespace {

constexpr std::uint16_t kVendorId = 0x18F8;
constexpr std::uint16_t kProductId = 0x0F99;
// The interfaces' paths: standard mouse, vendor input, vendor feature; combined, the vendor
// collections are all in the second.
constexpr std::array<const char*, 3> kPaths = {"virtual-mouse/hid0", "virtual-mouse/hid1",
                                               "virtual-mouse/hid2"};
// The keyboard report that the key command sends: the A key (usage 4) held.
constexpr std::array<std::uint8_t, kKeyboardReportLength> kKeyboardReport = {
    kKeyboardReportId, 0, 0, 4, 0, 0, 0, 0, 0};
constexpr std::array<std::uint8_t, 7> kSlotIdentifiers = {1, 2, 3, 5, 4, 6, 9};
constexpr const char* kHelp =
    "# commands: press N (button slot 1-7) | report HEX... | rearm | key | unplug | plug | "
    "state | help | quit";

volatile std::sig_atomic_t terminationRequested = 0;

extern "C" void onTerminationSignal(int) {
    terminationRequested = 1;
}

bool fillAddress(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.data(), path.size());
    return true;
}

// True when some process already accepts connections on path.
bool socketInUse(const sockaddr_un& address) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const bool inUse =
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return inUse;
}

} // namespace

VirtualMouseServer::VirtualMouseServer(ServerOptions options, std::FILE* out)
    : options_(std::move(options)), out_(out) {}

VirtualMouseServer::~VirtualMouseServer() {
    shutDown();
}

std::vector<std::string> VirtualMouseServer::paths() const {
    return {kPaths.begin(), options_.combined ? kPaths.begin() + 2 : kPaths.end()};
}

const char* VirtualMouseServer::inputPath() const {
    return kPaths[1];
}

const char* VirtualMouseServer::featurePath() const {
    return options_.combined ? kPaths[1] : kPaths[2];
}

void VirtualMouseServer::say(const std::string& line) {
    std::fputs(line.c_str(), out_);
    std::fputc('\n', out_);
    std::fflush(out_);
}

bool VirtualMouseServer::listen(std::string& error) {
    sockaddr_un address{};
    if (!fillAddress(options_.socketPath, address)) {
        error = "socket path is empty or too long: " + options_.socketPath;
        return false;
    }
    if (socketInUse(address)) {
        error = "another virtual mouse is already listening on " + options_.socketPath;
        return false;
    }
    // A stale socket of an earlier run is removed; any other file at the path is not ours to
    // delete, and the bind then fails on it.
    struct stat existing {};
    if (lstat(options_.socketPath.c_str(), &existing) == 0) {
        if (!S_ISSOCK(existing.st_mode)) {
            error = options_.socketPath + " exists and is not a socket: not removed";
            return false;
        }
        unlink(options_.socketPath.c_str());
    }
    listenFd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    // Bound with umask 077: the socket file is the user's alone, whatever folder it is in.
    const mode_t oldMask = umask(077);
    const bool bound =
        listenFd_ >= 0 &&
        bind(listenFd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    umask(oldMask);
    if (!bound || ::listen(listenFd_, 16) != 0) {
        error = "cannot listen on " + options_.socketPath + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

int VirtualMouseServer::run() {
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr); // no SA_RESTART: poll() returns at once
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    say("# veldran-virtual-mouse on " + options_.socketPath + ": vendor 18f8 product 0f99, " +
        "input reports of " + std::to_string(options_.inputLength) + " bytes, feature reports of " +
        std::to_string(options_.featureLength) + " bytes" +
        (options_.combined ? ", vendor collections in one interface behind a keyboard" : ""));
    say(kHelp);
    bool consoleOpen = true;
    while (!terminationRequested) {
        std::vector<pollfd> fds;
        fds.push_back({listenFd_, POLLIN, 0});
        fds.push_back({consoleOpen ? STDIN_FILENO : -1, POLLIN, 0});
        for (const auto& client : clients_) {
            fds.push_back({client->fd, POLLIN, 0});
        }
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (fds[1].revents != 0) {
            std::array<char, 4096> chunk{};
            const ssize_t n = read(STDIN_FILENO, chunk.data(), chunk.size());
            if (n <= 0) {
                break; // end of input means quit
            }
            console_.feed({chunk.data(), static_cast<std::size_t>(n)});
            bool quit = false;
            while (auto line = console_.next()) {
                if (!handleCommand(*line)) {
                    quit = true;
                    break;
                }
            }
            if (quit) {
                break;
            }
        }
        for (std::size_t i = 0; i < clients_.size(); ++i) {
            if (fds[i + 2].revents != 0 && !clients_[i]->closing) {
                serveClient(*clients_[i]);
            }
        }
        std::erase_if(clients_, [](const auto& client) {
            if (client->closing) {
                close(client->fd);
                return true;
            }
            return false;
        });
        if (fds[0].revents != 0) {
            acceptClient();
        }
    }
    shutDown();
    return 0;
}

void VirtualMouseServer::shutDown() {
    if (shutDown_) {
        return;
    }
    shutDown_ = true;
    if (plugged_) {
        notify("removal"); // quitting unplugs the mouse
    }
    for (const auto& client : clients_) {
        close(client->fd);
    }
    clients_.clear();
    if (listenFd_ >= 0) {
        close(listenFd_);
        unlink(options_.socketPath.c_str());
        listenFd_ = -1;
    }
}

void VirtualMouseServer::acceptClient() {
    const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd >= 0) {
        // A driver that stops reading must not hang the virtual mouse.
        const timeval timeout{1, 0};
        setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
        auto client = std::make_unique<Client>();
        client->fd = fd;
        clients_.push_back(std::move(client));
    }
}

bool VirtualMouseServer::sendLine(Client& client, const std::string& line) {
    const std::string text = line + "\n";
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = send(client.fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            client.closing = true;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void VirtualMouseServer::serveClient(Client& client) {
    std::array<char, 4096> chunk{};
    const ssize_t n = recv(client.fd, chunk.data(), chunk.size(), 0);
    if (n <= 0) {
        client.closing = true;
        return;
    }
    if (!client.lines.feed({chunk.data(), static_cast<std::size_t>(n)})) {
        client.closing = true; // a line longer than the protocol allows
        return;
    }
    while (!client.closing) {
        const auto line = client.lines.next();
        if (!line) {
            break;
        }
        handleRequest(client, *line);
    }
}

void VirtualMouseServer::handleRequest(Client& client, const std::string& line) {
    const auto [word, rest] = splitCommand(line);
    if (client.role == Role::Writer && word == "feature") {
        handleFeature(client, rest);
        return;
    }
    if (client.role != Role::New) {
        sendLine(client, "error unexpected request");
        return;
    }
    if (word == "list") {
        if (plugged_) {
            sendLine(client, formatInterfaceLine(
                                 {kPaths[0], kVendorId, kProductId, standardMouseDescriptor()}));
            if (options_.combined) {
                sendLine(client,
                         formatInterfaceLine({kPaths[1], kVendorId, kProductId,
                                              combinedVendorDescriptor(options_.inputLength,
                                                                       options_.featureLength)}));
            } else {
                sendLine(client,
                         formatInterfaceLine({kPaths[1], kVendorId, kProductId,
                                              vendorInputDescriptor(options_.inputLength)}));
                sendLine(client,
                         formatInterfaceLine({kPaths[2], kVendorId, kProductId,
                                              vendorFeatureDescriptor(options_.featureLength)}));
            }
        }
        sendLine(client, "end");
        client.closing = true;
    } else if (word == "read" || word == "write") {
        const std::string path(rest);
        const auto knownPaths = paths();
        const bool known =
            std::find(knownPaths.begin(), knownPaths.end(), path) != knownPaths.end();
        if (!plugged_ || !known) {
            sendLine(client, "error no such interface: " + path);
            client.closing = true;
            return;
        }
        client.role = word == "read" ? Role::Reader : Role::Writer;
        client.path = path;
        sendLine(client, "ok");
    } else if (word == "notices") {
        client.role = Role::Notices;
    } else {
        sendLine(client, "error unknown request");
        client.closing = true;
    }
}

void VirtualMouseServer::handleFeature(Client& client, std::string_view hex) {
    const auto report = parseHexBytes(hex);
    if (!report) {
        sendLine(client, "error not a report");
        return;
    }
    if (client.path != featurePath()) {
        sendLine(client, "error this interface has no feature reports");
        return;
    }
    say("feature " + hexBytes(*report));
    const std::string refused = firmware_.receiveFeature(*report);
    if (!refused.empty()) {
        say("# refused: " + refused);
    }
    sendLine(client, refused.empty() ? "ok" : "error " + refused);
}

bool VirtualMouseServer::handleCommand(const std::string& line) {
    const auto [word, rest] = splitCommand(line);
    if (word.empty()) {
        return true;
    }
    if (word == "quit") {
        return false;
    }
    if (word == "help") {
        say(kHelp);
    } else if (word == "state") {
        say(firmware_.stateLine() + (plugged_ ? " plugged" : " unplugged"));
    } else if (word == "press") {
        press(rest);
    } else if (word == "rearm") {
        std::vector<std::uint8_t> report(static_cast<std::size_t>(options_.inputLength), 0);
        report[0] = kInputReportId;
        if (plugged_) {
            firmware_.rearmSent(); // sent, so the next press is a press report
        }
        sendInput(report, "re-arming report");
    } else if (word == "key") {
        if (!options_.combined) {
            say("# key needs --combined: only then does the mouse have a keyboard collection");
            return true;
        }
        sendInput({kKeyboardReport.begin(), kKeyboardReport.end()}, "keyboard report");
    } else if (word == "report") {
        const auto report = parseHexBytes(rest);
        if (!report || report->empty()) {
            say("# report needs hex bytes, for example: report 06 f1 00 00");
            return true;
        }
        sendInput(*report, "report");
    } else if (word == "unplug") {
        if (plugged_) {
            plugged_ = false;
            dropHandles();
            notify("removal");
        }
        say("# unplugged");
    } else if (word == "plug") {
        if (!plugged_) {
            plugged_ = true;
            notify("arrival");
        }
        say("# plugged");
    } else {
        say("# unknown command: " + std::string(word) + " (type help)");
    }
    return true;
}

void VirtualMouseServer::press(std::string_view number) {
    if (number.size() != 1 || number[0] < '1' || number[0] > '7') {
        say("# press needs a button slot from 1 to 7");
        return;
    }
    const std::uint8_t identifier = kSlotIdentifiers[static_cast<std::size_t>(number[0] - '1')];
    std::vector<std::uint8_t> report(static_cast<std::size_t>(options_.inputLength), 0);
    report[0] = kInputReportId;
    // Like the firmware: once the driver has set a software button, the first press of one
    // tells the driver that software functions may run again, and only later presses are
    // reported as presses.
    if (plugged_ && firmware_.pressRearms(identifier)) {
        sendInput(report, "re-arming report on the first press of slot " + std::string(number));
        return;
    }
    if (report.size() > 1) {
        report[1] = static_cast<std::uint8_t>(identifier + 240);
    }
    if (firmware_.deviceValue(identifier) != 31) {
        say("# button " + std::to_string(identifier) +
            " does not report presses on a real "
            "mouse (device value is not 31); sending the press report all the same");
    }
    sendInput(report, "press of slot " + std::string(number));
}

void VirtualMouseServer::sendInput(const std::vector<std::uint8_t>& report,
                                   const std::string& what) {
    if (!plugged_) {
        say("# unplugged: " + what + " not sent");
        return;
    }
    int readers = 0;
    for (const auto& client : clients_) {
        if (client->role == Role::Reader && client->path == inputPath() &&
            sendLine(*client, "input " + hexBytes(report))) {
            ++readers;
        }
    }
    say("# " + what + ": " + hexBytes(report) + " to " + std::to_string(readers) + " reader(s)");
}

void VirtualMouseServer::notify(const char* event) {
    for (const auto& client : clients_) {
        if (client->role == Role::Notices) {
            for (const std::string& path : paths()) {
                sendLine(*client, std::string(event) + " " + path);
            }
        }
    }
}

void VirtualMouseServer::dropHandles() {
    for (const auto& client : clients_) {
        if (client->role == Role::Reader || client->role == Role::Writer) {
            shutdown(client->fd, SHUT_RDWR); // the driver's handles see the device gone at once
            client->closing = true;
        }
    }
}

} // namespace veldran::virtualmouse
