#include "media/module1.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "media/mci_errors.h"

namespace vantorix::Module1 {

namespace {
Backend backend;

// A name for `path` that opens the same file however long the path: one of
// this process's descriptors, opened once per path and kept for the program's
// life. Empty when the file cannot be opened.
std::string descriptorName(const char* path) {
    static std::map<std::string, int> opened;
    auto [at, added] = opened.try_emplace(path, -1);
    if (added) at->second = ::open(path, O_RDONLY | O_CLOEXEC);
    if (at->second < 0) {
        opened.erase(at);
        return {};
    }
    return "/proc/self/fd/" + std::to_string(at->second);
}
}  // namespace

void install(Backend b) { backend = std::move(b); }

void shutDown() { backend = Backend{}; }

std::int32_t mciSendStringA(const char* lpstrCommand, char* lpstrReturnString,
                            std::uint32_t uReturnLength, std::intptr_t) {
    if (!backend.media || !lpstrCommand) return MCIERR_DEVICE_NOT_READY;
    return backend.media->sendString(lpstrCommand, lpstrReturnString, uReturnLength);
}

std::int32_t sndPlaySoundA(const char* lpszSoundName, std::uint32_t uFlags) {
    if (!backend.sound || !lpszSoundName) return 0;
    if (!(uFlags & SND_ASYNC) && backend.beforeBlockingSound) backend.beforeBlockingSound();
    return backend.sound->play(lpszSoundName, uFlags) ? 1 : 0;
}

std::uint32_t GetShortPathNameA(const char* lpszLongPath, char* lpszShortPath,
                                std::uint32_t cchBuffer) {
    if (!lpszLongPath || !lpszShortPath) return 0;
    std::error_code error;
    if (!std::filesystem::exists(lpszLongPath, error)) {
        static std::set<std::string> told;
        if (backend.tell && told.insert(lpszLongPath).second)
            backend.tell(std::string(lpszLongPath) + ": not played, no such file");
        return 0;
    }
    std::string shortPath = lpszLongPath;
    if (shortPath.size() + 1 > cchBuffer) shortPath = descriptorName(lpszLongPath);
    if (shortPath.empty() || shortPath.size() + 1 > cchBuffer) return 0;
    std::memcpy(lpszShortPath, shortPath.c_str(), shortPath.size() + 1);
    return static_cast<std::uint32_t>(shortPath.size());
}

std::int32_t GetVersionExA(OSVERSIONINFOA* info) {
    if (!info || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) return 0;
    info->dwMajorVersion = 1;
    info->dwMinorVersion = 0;
    info->dwBuildNumber = 0;
    info->dwPlatformId = VER_PLATFORM_POSIX;
    std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
    return 1;
}

}  // namespace vantorix::Module1
