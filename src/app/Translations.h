// The program's texts in the user's language: the translation that matches the locale's
// language (translations/veldran_<language>.qm in the data folder, beside the skin). Without a
// locale (LANG=C or unset), or for a language without a translation, the texts stay as the
// sources give them.
#pragma once

#include <filesystem>

namespace veldran {

// Installs the translation for the user's locale into the running application; called before
// any window or worker thread exists.
void installTranslations(const std::filesystem::path& dataFolder);

} // namespace veldran
