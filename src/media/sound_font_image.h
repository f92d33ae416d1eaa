#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace vantorix {

// A SoundFont file put together from pieces: bytes of its own, and stretches
// of another file, the source, which hold the sample data.
class SoundFontImage {
public:
    explicit SoundFontImage(std::string source) : source_(std::move(source)) {}

    const std::string& source() const { return source_; }
    std::uint64_t size() const { return size_; }

    void append(std::span<const std::uint8_t> bytes);
    // A stretch of the source; one that continues the last stretch extends it.
    void appendSource(std::uint64_t at, std::uint64_t length);

    // Copies the image's bytes from `offset` on into `out`, reading the stretches
    // from `sourceFile` (the source, opened); false when they are not all there.
    bool read(std::uint64_t offset, std::span<std::uint8_t> out, std::FILE* sourceFile) const;

private:
    struct Piece {
        std::uint64_t offset;  // where it starts in the image
        std::uint64_t length;
        bool fromSource;
        std::uint64_t from;  // where it starts in the source, or in own_
    };

    std::string source_;
    std::vector<std::uint8_t> own_;
    std::vector<Piece> pieces_;
    std::uint64_t size_ = 0;
};

// Reads exactly out.size() bytes at `at`, in one system call where it can.
bool readFileAt(std::FILE* file, std::uint64_t at, std::span<std::uint8_t> out);

}  // namespace vantorix
