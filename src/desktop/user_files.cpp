#include "desktop/user_files.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vantorix {

namespace {

std::string systemError() { return std::strerror(errno); }

// Writes all of `text` to `fd`, however many calls that takes.
bool writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

std::filesystem::path homeFolder() {
    const char* home = std::getenv("HOME");
    if (!home || *home != '/') {
        const passwd* user = getpwuid(getuid());
        home = user ? user->pw_dir : nullptr;
    }
    return home && *home == '/' ? home : "";
}

std::filesystem::path xdgFolder(const char* xdgValue, const char* home, std::string_view fallback) {
    if (xdgValue && *xdgValue == '/') return xdgValue;
    if (home && *home == '/') return std::filesystem::path(home) / fallback;
    return {};
}

bool writeFileAtomically(const std::filesystem::path& file, std::string_view text, std::string& whyNot) {
    std::error_code error;
    std::filesystem::path target = file;
    if (std::filesystem::symlink_status(file, error).type() == std::filesystem::file_type::symlink) {
        target = std::filesystem::weakly_canonical(file, error);
        if (error) {
            whyNot = error.message();
            return false;
        }
    }
    std::filesystem::create_directories(target.parent_path(), error);
    if (error) {
        whyNot = error.message();
        return false;
    }
    std::string temporary = target.string() + ".XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0) {
        whyNot = systemError();
        return false;
    }
    // Everything reaches the disk before the rename makes it the file.
    bool written = writeAll(fd, text) && fsync(fd) == 0;
    std::string why = systemError();
    if (::close(fd) != 0 && written) {
        written = false;
        why = systemError();
    }
    if (written && std::rename(temporary.c_str(), target.c_str()) == 0) return true;
    if (written) why = systemError();
    ::unlink(temporary.c_str());
    whyNot = why;
    return false;
}

}  // namespace vantorix
