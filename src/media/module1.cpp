#include "media/module1.h"

#include <cstring>
#include <filesystem>

#include "media/mci_errors.h"

namespace vantorix::Module1 {

namespace {
Backend backend;
}

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
    if (!std::filesystem::exists(lpszLongPath, error)) return 0;
    std::size_t length = std::strlen(lpszLongPath);
    if (length + 1 > cchBuffer) return 0;
    std::memcpy(lpszShortPath, lpszLongPath, length + 1);
    return static_cast<std::uint32_t>(length);
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
