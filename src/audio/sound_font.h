#pragma once

#include <bitset>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vantorix {

// A SoundFont file put together from pieces: its own bytes before and after a
// stretch of another file, which holds the sample data.
struct SoundFontImage {
    std::vector<std::uint8_t> head;
    std::string source;
    std::uint64_t sourceAt = 0;
    std::uint64_t sourceLength = 0;
    std::vector<std::uint8_t> tail;

    std::uint64_t size() const { return head.size() + sourceLength + tail.size(); }
    // Copies the image's bytes from `offset` on into `out`, reading the stretch
    // from `sourceFile` (the source, opened); false when they are not all there.
    bool read(std::uint64_t offset, std::span<std::uint8_t> out, std::FILE* sourceFile) const;
};

// The preset tables of a SoundFont 2 file and where its parts lie: enough to
// make a SoundFont of some of its presets whose samples are the very same bytes.
class SoundFontIndex {
public:
    // Reads the file's structure and its preset tables (kilobytes, never the
    // samples); nothing, and why, for a file that is not a SoundFont 2.
    static std::optional<SoundFontIndex> read(const std::string& path, std::string& whyNot);

    // The presets, in every bank, whose program number is in `programs`, with
    // the instruments and samples they use; all else as in the file.
    SoundFontImage subset(const std::bitset<128>& programs) const;

    // A table of fixed-size records, as the file has it, terminal record included.
    struct Table {
        std::vector<std::uint8_t> bytes;
        std::size_t recordSize = 0;
        std::size_t count() const { return bytes.size() / recordSize; }
        const std::uint8_t* record(std::size_t i) const { return bytes.data() + i * recordSize; }
    };

private:
    std::string path_;
    std::vector<std::uint8_t> info_;  // the INFO list, header included
    std::uint64_t samplesAt_ = 0;     // the sdta list, header included
    std::uint64_t samplesLength_ = 0;
    Table phdr_, pbag_, pmod_, pgen_, inst_, ibag_, imod_, igen_, shdr_;
};

}  // namespace vantorix
