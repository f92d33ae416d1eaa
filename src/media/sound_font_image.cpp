#include "media/sound_font_image.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace vantorix {

void SoundFontImage::append(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) return;
    if (!pieces_.empty() && !pieces_.back().fromSource) {
        pieces_.back().length += bytes.size();
    } else {
        pieces_.push_back({size_, bytes.size(), false, own_.size()});
    }
    own_.insert(own_.end(), bytes.begin(), bytes.end());
    size_ += bytes.size();
}

void SoundFontImage::appendSource(std::uint64_t at, std::uint64_t length) {
    if (length == 0) return;
    Piece* last = pieces_.empty() ? nullptr : &pieces_.back();
    if (last && last->fromSource && last->from + last->length == at) {
        last->length += length;
    } else {
        pieces_.push_back({size_, length, true, at});
    }
    size_ += length;
}

bool SoundFontImage::read(std::uint64_t offset, std::span<std::uint8_t> out, std::FILE* sourceFile) const {
    if (offset > size_ || out.size() > size_ - offset) return false;
    if (out.empty()) return true;
    // FluidSynth reads the tables a record at a time: find the piece, do not walk to it.
    auto piece = std::upper_bound(pieces_.begin(), pieces_.end(), offset,
                                  [](std::uint64_t at, const Piece& p) { return at < p.offset; }) - 1;
    for (; !out.empty(); ++piece) {
        std::uint64_t within = offset - piece->offset;
        auto n = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), piece->length - within));
        if (piece->fromSource) {
            if (!readFileAt(sourceFile, piece->from + within, out.first(n))) return false;
        } else {
            std::memcpy(out.data(), own_.data() + piece->from + within, n);
        }
        offset += n;
        out = out.subspan(n);
    }
    return true;
}

bool readFileAt(std::FILE* file, std::uint64_t at, std::span<std::uint8_t> out) {
    while (!out.empty()) {
        ssize_t n = pread(fileno(file), out.data(), out.size(), static_cast<off_t>(at));
        if (n <= 0) return false;
        at += static_cast<std::uint64_t>(n);
        out = out.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace vantorix
