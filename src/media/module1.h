#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "media/media_control.h"

// The platform calls the music player and the effects are written against,
// with our own implementations behind them.
namespace vantorix::Module1 {

struct OSVERSIONINFOA {
    std::uint32_t dwOSVersionInfoSize;
    std::uint32_t dwMajorVersion;
    std::uint32_t dwMinorVersion;
    std::uint32_t dwBuildNumber;
    std::uint32_t dwPlatformId;
    char szCSDVersion[128];
};
static_assert(sizeof(OSVERSIONINFOA) == 148);

constexpr std::uint32_t SND_SYNC = 0x0000;
constexpr std::uint32_t SND_ASYNC = 0x0001;
constexpr std::uint32_t SND_NODEFAULT = 0x0002;

constexpr std::uint32_t VER_PLATFORM_WIN32_NT = 2;
// What this platform reports: not the NT family, so resuming a song happens in
// place and never needs a second music loop.
constexpr std::uint32_t VER_PLATFORM_POSIX = 7;

std::int32_t mciSendStringA(const char* lpstrCommand, char* lpstrReturnString,
                            std::uint32_t uReturnLength, std::intptr_t hwndCallback);
std::int32_t sndPlaySoundA(const char* lpszSoundName, std::uint32_t uFlags);
// The path itself when the file exists and it fits the buffer with its NUL; a
// path too long for the buffer gets a short one that opens the same file. 0,
// and the buffer untouched, for a missing file or a buffer too small for either.
std::uint32_t GetShortPathNameA(const char* lpszLongPath, char* lpszShortPath,
                                std::uint32_t cchBuffer);
std::int32_t GetVersionExA(OSVERSIONINFOA* lpVersionInformation);

// What stands behind the calls. `beforeBlockingSound` runs before a sound that
// holds the thread, so the player sees the frame the sound belongs to.
struct Backend {
    MediaControl* media = nullptr;
    SoundOut* sound = nullptr;
    std::function<void()> beforeBlockingSound;
    // Told, once for each, of a song asked for by a path where no file is.
    std::function<void(const std::string& line)> tell;
};
void install(Backend backend);
// The program has ended: from now on the calls reach no device.
void shutDown();

}  // namespace vantorix::Module1
