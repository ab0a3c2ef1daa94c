#include "platform/ProfileStrings.h"

#include "platform/ProfileStringsDocument.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <optional>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace veldran {

namespace fs = std::filesystem;

namespace {

// Serialises the read-modify-replace of writes within the process, so that two writes to the
// same file from different threads cannot lose one another's keys.
std::mutex& writeMutex() {
    static std::mutex mutex;
    return mutex;
}

// The file's whole text; an empty text when it does not exist; nothing when it exists but cannot
// be read as a regular file.
std::optional<std::string> readWhole(const fs::path& file) {
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (status.type() == fs::file_type::not_found) {
        return std::string();
    }
    if (error || status.type() != fs::file_type::regular) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return std::move(text).str();
}

// The file that a write replaces: the target of a symbolic link, so that the link stays a link.
fs::path replacementTarget(const fs::path& file) {
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(file, error))) {
        const fs::path resolved = fs::weakly_canonical(file, error);
        if (!error) {
            return resolved;
        }
    }
    return file;
}

bool writeFully(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Writes text to a new file beside target, flushes it to the disk and renames it over target.
// On any failure the temporary file is removed and target is left as it was.
bool replaceAtomically(const fs::path& target, const std::string& text) {
    static std::atomic<unsigned> counter{0};
    fs::path folder = target.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    const fs::path temporary =
        folder / ("." + target.filename().string() + ".tmp-" + std::to_string(::getpid()) + "-" +
                  std::to_string(counter.fetch_add(1)));
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    struct stat old {};
    bool ok = true;
    if (::stat(target.c_str(), &old) == 0) {
        ok = ::fchmod(fd, old.st_mode & 07777) == 0;
    }
    ok = ok && writeFully(fd, text) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(folder);
    return true;
}

} // namespace

std::string ProfileStrings::get(const fs::path& file, std::string_view section,
                                std::string_view key, std::string_view defaultValue,
                                std::size_t bufferSize) {
    if (bufferSize == 0) {
        return {};
    }
    std::optional<std::string> value;
    if (const auto text = readWhole(file)) {
        value = ProfileStringsDocument(*text).find(section, key);
    }
    return cutToCodePoints(value ? *value : defaultValue, bufferSize - 1);
}

bool ProfileStrings::write(const fs::path& file, std::string_view section, std::string_view key,
                           std::string_view value) {
    return writeAll(file, section, {{std::string(key), std::string(value)}});
}

bool ProfileStrings::writeAll(const fs::path& file, std::string_view section,
                              const std::vector<std::pair<std::string, std::string>>& keyValues) {
    for (const auto& [key, value] : keyValues) {
        if (!ProfileStringsDocument::isWritable(section, key, value)) {
            return false;
        }
    }
    std::lock_guard lock(writeMutex());
    const fs::path target = replacementTarget(file);
    const auto text = readWhole(target);
    if (!text) {
        return false;
    }
    ProfileStringsDocument document(*text);
    for (const auto& [key, value] : keyValues) {
        document.set(section, key, value);
    }
    return replaceAtomically(target, document.text());
}

} // namespace veldran
