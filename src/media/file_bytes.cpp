#include "media/file_bytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace vantorix {

bool isFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::optional<std::vector<std::uint8_t>> readFileCapped(const std::string& path,
                                                        std::size_t maxBytes,
                                                        std::string& whyNot) {
    bool tooLarge = false;
    return readFileCapped(path, maxBytes, whyNot, tooLarge);
}

std::optional<std::vector<std::uint8_t>> readFileCapped(const std::string& path,
                                                        std::size_t maxBytes,
                                                        std::string& whyNot, bool& tooLarge) {
    tooLarge = false;
    if (!isFile(path)) {
        std::error_code missing;
        whyNot = std::filesystem::exists(path, missing) ? "not a file" : "no such file";
        return std::nullopt;
    }
    std::error_code error;
    auto size = std::filesystem::file_size(path, error);
    if (error) {
        whyNot = error.message();
        return std::nullopt;
    }
    if (size > maxBytes) {
        tooLarge = true;
        whyNot = "too large (" + std::to_string(size) + " bytes)";
        return std::nullopt;
    }
    // C's streams: C++'s would set up the locale machinery, half a megabyte,
    // for a plain read.
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path.c_str(), "rb"), std::fclose);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!in || std::fread(bytes.data(), 1, bytes.size(), in.get()) != bytes.size()) {
        whyNot = std::string("cannot be read: ") + (in ? "cut short while read" : std::strerror(errno));
        return std::nullopt;
    }
    return bytes;
}

}  // namespace vantorix
