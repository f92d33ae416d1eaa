#pragma once

#include <bitset>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "media/sound_font_image.h"

namespace vantorix {

// The preset tables of a SoundFont 2 file and where its parts lie: enough to
// make a SoundFont of some of its presets whose samples are the very same bytes.
class SoundFontIndex {
public:
    // Reads the file's structure and its preset tables (kilobytes, never the
    // samples); nothing, and why, for a file that is not a SoundFont 2.
    static std::optional<SoundFontIndex> read(const std::string& path, std::string& whyNot);

    // The presets, in every bank, whose program number is in `programs`, with
    // the instruments and samples they use; all else as in the file. The sample
    // data holds only the kept samples, each the very same points as in the file.
    SoundFontImage subset(const std::bitset<128>& programs) const;

    // A table of fixed-size records, as the file has it, terminal record included.
    struct Table {
        std::vector<std::uint8_t> bytes;
        std::size_t recordSize = 0;
        std::size_t count() const { return bytes.size() / recordSize; }
        const std::uint8_t* record(std::size_t i) const { return bytes.data() + i * recordSize; }
    };

private:
    // Finds the sample data in the sdta list's body [from, end).
    bool findSamples(std::FILE* file, std::uint64_t from, std::uint64_t end);

    std::string path_;
    std::vector<std::uint8_t> info_;  // the INFO list, header included
    std::uint64_t pointsAt_ = 0;  // the smpl chunk's data: 16-bit points
    std::uint64_t points_ = 0;
    std::uint64_t lowBytesAt_ = 0;  // the sm24 chunk's data, a byte per point; 0: none
    Table phdr_, pbag_, pmod_, pgen_, inst_, ibag_, imod_, igen_, shdr_;
};

}  // namespace vantorix
