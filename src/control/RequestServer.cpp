#include "control/RequestServer.h"

#include <QLocalSocket>
#include <QTimer>

namespace veldran {

RequestServer::RequestServer(Handler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)) {}

void RequestServer::serve(QLocalSocket* socket) {
    makeRoom();
    reading_.push_back(socket);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    auto* idle = new QTimer(socket);
    idle->setSingleShot(true);
    connect(idle, &QTimer::timeout, socket, &QLocalSocket::abort);
    idle->start(kIdleLimit);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
    // The line may have arrived with the connection.
    if (socket->bytesAvailable() > 0) {
        readRequest(socket);
    }
}

void RequestServer::makeRoom() {
    std::erase_if(reading_, [](const QPointer<QLocalSocket>& socket) { return socket.isNull(); });
    while (reading_.size() >= kMaxReadingClients) {
        const QPointer<QLocalSocket> oldest = reading_.front();
        reading_.pop_front();
        if (oldest != nullptr) {
            oldest->abort(); // its descriptor is free at once; the object goes once disconnected
        }
    }
}

void RequestServer::readRequest(QLocalSocket* socket) {
    // One byte past the longest line is enough to tell a whole line from one with more after it.
    const QByteArray received = socket->peek(static_cast<qint64>(kMaxRequestLine) + 1);
    const RequestFrame frame = frameRequest(
        std::string_view(received.constData(), static_cast<std::size_t>(received.size())));
    if (frame.kind == RequestFrame::Kind::Incomplete) {
        return;
    }
    // One line per client: what comes after it is never read, and its request may wait.
    disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
    std::erase(reading_, socket);
    if (auto* idle = socket->findChild<QTimer*>()) {
        idle->stop();
    }
    if (frame.kind == RequestFrame::Kind::TooLong) {
        answer(socket, errorAnswer("request line too long"));
        return;
    }
    if (frame.kind == RequestFrame::Kind::Extra) {
        answer(socket, errorAnswer("one request per connection"));
        return;
    }
    Request request = parseRequestLine(frame.line);
    if (request.kind == Request::Kind::Invalid) {
        answer(socket, errorAnswer(request.error));
        return;
    }
    // The status only reads: it is answered at once, never behind another request.
    if (request.kind == Request::Kind::Status) {
        answer(socket, handler_(request));
        return;
    }
    waiting_.push_back({socket, std::move(request)});
    runQueue();
}

void RequestServer::runQueue() {
    // Requests never nest: one that arrives while another runs (should anything inside a request
    // ever run an inner event loop) waits here until the running one has returned.
    if (running_) {
        return;
    }
    running_ = true;
    while (!waiting_.empty()) {
        Waiting next = std::move(waiting_.front());
        waiting_.pop_front();
        if (next.socket == nullptr) {
            continue;
        }
        const std::string reply = handler_(next.request);
        if (next.socket != nullptr) {
            answer(next.socket, reply);
        }
    }
    running_ = false;
}

void RequestServer::answer(QLocalSocket* socket, const std::string& line) {
    const QByteArray bytes = QByteArray::fromStdString(line) + '\n';
    socket->write(bytes);
    // Written now: a quit request ends the event loop right after this answer.
    socket->flush();
    // Leaves once the answer is written; a client that has gone already is simply dropped.
    socket->disconnectFromServer();
}

} // namespace veldran
