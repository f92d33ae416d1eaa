#include "audio/file_bytes.h"

#include <filesystem>
#include <fstream>

namespace vantorix {

std::optional<std::vector<std::uint8_t>> readFileCapped(const std::string& path,
                                                        std::size_t maxBytes,
                                                        std::string& whyNot) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        whyNot = "not a file";
        return std::nullopt;
    }
    auto size = std::filesystem::file_size(path, error);
    if (error) {
        whyNot = error.message();
        return std::nullopt;
    }
    if (size > maxBytes) {
        whyNot = "too large (" + std::to_string(size) + " bytes)";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!in || !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        whyNot = "cannot be read";
        return std::nullopt;
    }
    return bytes;
}

}  // namespace vantorix
