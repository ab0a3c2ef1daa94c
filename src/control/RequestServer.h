// Serves the request lines of the single-instance socket: each client sends one line of at most
// 4,352 bytes (room for a file's path) and gets one answer line; a longer line, a second line or
// two seconds of silence end the client. Requests run one at a time and never nest: a client that
// asks while another's request runs waits its turn; a status request is answered at once. At most
// 128 clients wait for their line: a new one ends the one that has waited longest, so that a flood
// of idle connections never takes the descriptors the next client needs.
#pragma once

#include "formats/RequestLine.h"

#include <QObject>
#include <QPointer>
#include <chrono>
#include <deque>
#include <functional>
#include <string>

class QLocalSocket;

namespace veldran {

class RequestServer : public QObject {
    Q_OBJECT
public:
    // Runs one request on the user-interface thread and returns its answer line.
    using Handler = std::function<std::string(const Request&)>;

    explicit RequestServer(Handler handler, QObject* parent = nullptr);

    // Takes a freshly accepted client; it is deleted once it has disconnected.
    void serve(QLocalSocket* socket);

    static constexpr std::chrono::milliseconds kIdleLimit{2000};
    static constexpr std::size_t kMaxReadingClients = 128;

private:
    struct Waiting {
        QPointer<QLocalSocket> socket;
        Request request;
    };
    // Ends the clients that have waited longest for their line until one more fits.
    void makeRoom();
    void readRequest(QLocalSocket* socket);
    void runQueue();
    static void answer(QLocalSocket* socket, const std::string& line);

    Handler handler_;
    std::deque<QPointer<QLocalSocket>> reading_; // still sending their line, oldest first
    std::deque<Waiting> waiting_;
    bool running_ = false;
};

} // namespace veldran
