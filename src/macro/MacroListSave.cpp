// Save of the advanced page: every macro to Macro.dat, with a message when that fails.
#include "config/MacroStore.h"
#include "macro/MacroListActions.h"

#include <QCoreApplication>

namespace veldran {

bool saveAllMacros(const MacroStore& store, const MacroTable& table,
                   const std::function<void(const QString&)>& message) {
    if (store.write(table)) {
        return true;
    }
    if (message) {
        message(QCoreApplication::translate("MacroListSave", "The macros could not be saved to %1.")
                    .arg(QString::fromStdString(store.path().string())));
    }
    return false;
}

} // namespace veldran
