#include "app/Translations.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

namespace veldran {

void installTranslations(const std::filesystem::path& dataFolder) {
    const QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C) {
        return; // no locale chosen: the texts as the sources give them
    }
    // Owned by the application, so it lives as long as anything it translates.
    auto* translator = new QTranslator(QCoreApplication::instance());
    const QString folder = QString::fromStdString((dataFolder / "translations").string());
    if (!translator->load(locale, QStringLiteral("veldran"), QStringLiteral("_"), folder) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
    }
}

} // namespace veldran
