// The virtual mouse's socket side and console: it listens on a Unix stream socket for the
// driver's connections (interface list, read and write handles, notices), and reads the user's
// commands (press, report, rearm, key, unplug, plug, state, help, quit) from standard input.
#pragma once

#include "VirtualMouseFirmware.h"
#include "formats/VirtualMouseProtocol.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace veldran::virtualmouse {

struct ServerOptions {
    std::string socketPath;
    int inputLength = 8;   // report id included
    int featureLength = 8; // report id included
    // One vendor interface holding a keyboard collection and both vendor collections, instead
    // of one interface for each vendor collection.
    bool combined = false;
};

class VirtualMouseServer {
public:
    VirtualMouseServer(ServerOptions options, std::FILE* out);
    ~VirtualMouseServer();
    VirtualMouseServer(const VirtualMouseServer&) = delete;
    VirtualMouseServer& operator=(const VirtualMouseServer&) = delete;

    // Creates the socket (replacing a stale one). False, with error set, when it cannot.
    bool listen(std::string& error);
    // Serves until quit, end of input or a termination signal. Returns the exit status.
    int run();

private:
    enum class Role { New, Reader, Writer, Notices };
    struct Client {
        int fd = -1;
        Role role = Role::New;
        std::string path;
        LineSplitter lines;
        bool closing = false; // close once the current request has been answered
    };

    void say(const std::string& line);
    void acceptClient();
    void serveClient(Client& client);
    void handleRequest(Client& client, const std::string& line);
    void handleFeature(Client& client, std::string_view hex);
    bool handleCommand(const std::string& line); // false on quit
    void sendInput(const std::vector<std::uint8_t>& report, const std::string& what);
    void notify(const char* event);
    void dropHandles();
    void shutDown();
    static bool sendLine(Client& client, const std::string& line);
    void press(std::string_view number);
    std::vector<std::string> paths() const;
    const char* inputPath() const;
    const char* featurePath() const;

    ServerOptions options_;
    std::FILE* out_;
    int listenFd_ = -1;
    bool plugged_ = true;
    bool shutDown_ = false;
    VirtualMouseFirmware firmware_;
    LineSplitter console_;
    std::vector<std::unique_ptr<Client>> clients_;
};

} // namespace veldran::virtualmouse
