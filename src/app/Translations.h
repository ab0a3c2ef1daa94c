// The program's texts in the user's language: the translation that matches the locale's
// language (translations/veldran_<language>.qm in the data folder, beside the skin). Without a
// locale (LANG=C or unset), or for a language without a translation, the texts stay as the
// sources give them.
#pragma once

#include <filesystem>

namespace veldran {

// Name of the translations' folder inside the data folder.
inline constexpr const char* kTranslationFolderName = "translations";

// Installs the translation for the user's locale into the running application, before any
// window exists. True when one was found and installed.
bool installTranslations(const std::filesystem::path& dataFolder);

} // namespace veldran
