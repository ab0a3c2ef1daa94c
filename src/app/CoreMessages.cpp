#include "app/CoreMessages.h"

#include <QCoreApplication>

namespace veldran {

namespace {

constexpr const char* kContext = "CoreMessages";

// As the configuration and device layers write them; "%1" stands for the path they put in.
constexpr const char* kMessages[] = {
    QT_TRANSLATE_NOOP("CoreMessages", "取色键无效,请设置为其他键"),
    QT_TRANSLATE_NOOP("CoreMessages",
                      "Could not save the settings to %1.\nThe file or its folder cannot be "
                      "written; the previous settings are kept."),
};

} // namespace

QString translatedCoreMessage(const std::string& text) {
    const QString message = QString::fromStdString(text);
    for (const char* source : kMessages) {
        const QString pattern = QString::fromUtf8(source);
        const qsizetype at = pattern.indexOf(QLatin1String("%1"));
        if (at < 0) {
            if (message == pattern) {
                return QCoreApplication::translate(kContext, source);
            }
            continue;
        }
        const QString before = pattern.left(at);
        const QString after = pattern.mid(at + 2);
        if (message.size() >= before.size() + after.size() && message.startsWith(before) &&
            message.endsWith(after)) {
            const QString argument =
                message.mid(before.size(), message.size() - before.size() - after.size());
            return QCoreApplication::translate(kContext, source).arg(argument);
        }
    }
    return message;
}

} // namespace veldran
