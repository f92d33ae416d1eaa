#include "media/effect_file.h"

#include "media/byte_reader.h"
#include "media/file_bytes.h"

namespace vantorix {

namespace {

std::string megabytes(std::uint64_t bytes) { return std::to_string(bytes / (1024 * 1024)) + " MB"; }

}  // namespace

std::optional<EffectFile> readEffect(const std::string& path, int mixerRate, std::string& whyNot,
                                     bool& tooLarge) {
    auto bytes = readFileCapped(path, kMaxEffectFileBytes, whyNot, tooLarge);
    if (tooLarge) whyNot += ", past the " + megabytes(kMaxEffectFileBytes) + " an effect's file may take";
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
    // The loader sets aside as much as the data chunk's length says before it
    // reads a byte: a file cut short could have it ask for gigabytes.
    setLe32(bytes->data() + wave->dataAt - 4, static_cast<std::uint32_t>(wave->dataBytes));
    return EffectFile{std::move(*bytes), *wave};
}

}  // namespace vantorix
