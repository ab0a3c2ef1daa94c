#include "platform/ProfileStrings.h"

#include "formats/ProfileStringsDocument.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <optional>
#include <signal.h>
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

// Temporary files of a write are named "." + the file's name + ".tmp-" + pid + "-" + counter,
// beside the file: nothing else in the folder can be taken for one.
constexpr std::string_view kTemporaryMark = ".tmp-";

fs::path folderOf(const fs::path& target) {
    fs::path folder = target.parent_path();
    return folder.empty() ? fs::path(".") : folder;
}

std::string temporaryPrefix(const fs::path& target) {
    return "." + target.filename().string() + std::string(kTemporaryMark);
}

// The pid in a temporary file's name made by temporaryPrefix(target), or nothing when name is
// not one: the prefix followed by decimal digits, '-' and decimal digits.
std::optional<pid_t> temporaryOwner(const std::string& name, const fs::path& target) {
    const std::string prefix = temporaryPrefix(target);
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) {
        return std::nullopt;
    }
    const std::string rest = name.substr(prefix.size());
    const std::size_t dash = rest.find('-');
    auto digits = [](std::string_view text) {
        return !text.empty() && text.size() <= 18 &&
               text.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (dash == std::string::npos || !digits(std::string_view(rest).substr(0, dash)) ||
        !digits(std::string_view(rest).substr(dash + 1))) {
        return std::nullopt;
    }
    return static_cast<pid_t>(std::stoll(rest.substr(0, dash)));
}

// Writes text into a new temporary file beside target, 0600 whatever the umask and whatever mode
// the file it replaces had (settings files may hold recorded keys: a file that an earlier version
// left readable by others is tightened by its next write), and flushes it to the disk. Returns
// its path, or nothing (and no file) on failure.
std::optional<fs::path> writeTemporary(const fs::path& target, const std::string& text) {
    static std::atomic<unsigned> counter{0};
    const fs::path temporary =
        folderOf(target) / (temporaryPrefix(target) + std::to_string(::getpid()) + "-" +
                            std::to_string(counter.fetch_add(1)));
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return std::nullopt;
    }
    bool ok = ::fchmod(fd, 0600) == 0;
    ok = ok && writeFully(fd, text) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (!ok) {
        const int saved = errno;
        ::unlink(temporary.c_str());
        errno = saved;
        return std::nullopt;
    }
    return temporary;
}

// Writes text to a new file beside target, flushes it to the disk and renames it over target.
// On any failure the temporary file is removed and target is left as it was.
bool replaceAtomically(const fs::path& target, const std::string& text) {
    const auto temporary = writeTemporary(target, text);
    if (!temporary) {
        return false;
    }
    if (::rename(temporary->c_str(), target.c_str()) != 0) {
        const int saved = errno;
        ::unlink(temporary->c_str());
        errno = saved;
        return false;
    }
    syncFolder(folderOf(target));
    return true;
}

} // namespace

std::string ProfileStrings::get(const fs::path& file, std::string_view section,
                                std::string_view key, std::string_view defaultValue,
                                std::size_t bufferSize) {
    return getFromText(ProfileStringsDocument(fileText(file)), section, key, defaultValue,
                       bufferSize);
}

std::optional<std::string> ProfileStrings::readText(const fs::path& file) {
    return readWhole(file);
}

std::string ProfileStrings::fileText(const fs::path& file) {
    return readWhole(file).value_or(std::string());
}

bool ProfileStrings::write(const fs::path& file, std::string_view section, std::string_view key,
                           std::string_view value) {
    return writeAll(file, section, {{std::string(key), std::string(value)}});
}

bool ProfileStrings::writeAll(const fs::path& file, std::string_view section,
                              const std::vector<std::pair<std::string, std::string>>& keyValues) {
    return writeSections(file, {{std::string(section), keyValues}});
}

bool ProfileStrings::writeSections(const fs::path& file, const std::vector<SectionWrite>& writes,
                                   std::string* problem) {
    auto fail = [&](std::string why) {
        if (problem != nullptr) {
            *problem = std::move(why);
        }
        return false;
    };
    for (const SectionWrite& write : writes) {
        for (const auto& [key, value] : write.keyValues) {
            if (!ProfileStringsDocument::isWritable(write.section, key, value)) {
                return fail("a name or value for " + file.string() + " does not fit on one line");
            }
        }
    }
    std::lock_guard lock(writeMutex());
    // The new file replaces file itself: a symbolic link in its place is replaced too, never
    // followed to write elsewhere.
    const auto text = readWhole(file);
    if (!text) {
        return fail(file.string() + " is not a file that can be read");
    }
    ProfileStringsDocument document(*text);
    for (const SectionWrite& write : writes) {
        for (const auto& [key, value] : write.keyValues) {
            document.set(write.section, key, value);
        }
    }
    if (!replaceAtomically(file, document.text())) {
        return fail("cannot write " + file.string() + ": " + std::strerror(errno));
    }
    return true;
}

bool ProfileStrings::replace(const fs::path& file, const std::string& text) {
    std::lock_guard lock(writeMutex());
    return replaceAtomically(file, text);
}

bool ProfileStrings::createIfMissing(const fs::path& file, const std::string& text) {
    std::lock_guard lock(writeMutex());
    const auto temporary = writeTemporary(file, text);
    if (!temporary) {
        return false;
    }
    // A hard link never replaces an existing name: a file that appeared meanwhile stays.
    const bool linked = ::link(temporary->c_str(), file.c_str()) == 0;
    const int saved = errno;
    ::unlink(temporary->c_str());
    if (linked) {
        syncFolder(folderOf(file));
        return true;
    }
    if (saved == EEXIST) {
        return true;
    }
    if (saved != EPERM && saved != EOPNOTSUPP && saved != EXDEV) {
        errno = saved;
        return false;
    }
    // A file system without hard links: create the file exclusively and fill it.
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return errno == EEXIST;
    }
    bool ok = ::fchmod(fd, 0600) == 0 && writeFully(fd, text) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (!ok) {
        ::unlink(file.c_str());
    }
    return ok;
}

std::size_t ProfileStrings::removeStaleTemporaries(const fs::path& file) {
    std::error_code error;
    std::size_t removed = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folderOf(file), error)) {
        const auto owner = temporaryOwner(entry.path().filename().string(), file);
        // Only this user's own regular files: never another user's, never through a link.
        struct stat info {};
        if (!owner || ::lstat(entry.path().c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
            info.st_uid != ::getuid()) {
            continue;
        }
        // A write of a process that still runs is in progress, not stale.
        if (*owner == ::getpid() || ::kill(*owner, 0) == 0 || errno == EPERM) {
            continue;
        }
        if (fs::remove(entry.path(), error)) {
            ++removed;
        }
    }
    return removed;
}

} // namespace veldran
