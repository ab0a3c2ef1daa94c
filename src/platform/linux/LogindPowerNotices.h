// Power notices from logind: its PrepareForSleep signal on the system bus, sent before a suspend
// (start true) and after the resume (start false). Every such signal is one notice.
#pragma once

#include "platform/PowerNotices.h"

#include <QDBusConnection>
#include <QObject>

namespace veldran {

class LogindPowerNotices final : public QObject, public PowerNotices {
    Q_OBJECT
public:
    // Listens on bus (the system bus unless a test hands over another one).
    explicit LogindPowerNotices(QDBusConnection bus = QDBusConnection::systemBus(),
                                QObject* parent = nullptr);

    // False when the bus cannot be reached or the signal cannot be followed.
    bool subscribe(Handler handler) override;

private slots:
    void onPrepareForSleep(bool start);

private:
    QDBusConnection bus_;
    Handler handler_;
    bool subscribed_ = false;
};

} // namespace veldran
