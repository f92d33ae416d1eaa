#include "media/effect_file.h"

#include <filesystem>

#include "media/file_bytes.h"

namespace vantorix {

namespace {

std::string megabytes(std::uint64_t bytes) { return std::to_string(bytes / (1024 * 1024)) + " MB"; }

}  // namespace

std::optional<EffectFile> readEffect(const std::string& path, int mixerRate, std::string& whyNot,
                                     bool& tooLarge) {
    tooLarge = false;
    std::error_code error;
    auto fileBytes = std::filesystem::file_size(path, error);
    if (!error && fileBytes > kMaxEffectFileBytes) {
        tooLarge = true;
        whyNot = "a file of " + megabytes(fileBytes) + ", past the " +
                 megabytes(kMaxEffectFileBytes) + " an effect's file may take";
        return std::nullopt;
    }
    auto bytes = readFileCapped(path, kMaxEffectFileBytes, whyNot);
    if (!bytes) return std::nullopt;
    auto wave = WaveFile::parse(*bytes, whyNot);
    if (!wave) return std::nullopt;
    std::uint64_t decoded = wave->decodedBytes(mixerRate);
    if (decoded > kMaxEffectDecodedBytes) {
        tooLarge = true;
        whyNot = megabytes(decoded) + " once decoded, past the " +
                 megabytes(kMaxEffectDecodedBytes) + " an effect may take";
        return std::nullopt;
    }
    return EffectFile{std::move(*bytes), *wave};
}

}  // namespace vantorix
