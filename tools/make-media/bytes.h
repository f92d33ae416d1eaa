#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace media {

using Bytes = std::vector<std::uint8_t>;

inline void appendBigEndian(Bytes& out, std::uint32_t value, int byteCount)
{
    for (int shift = (byteCount - 1) * 8; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

inline void appendLittleEndian(Bytes& out, std::uint32_t value, int byteCount)
{
    for (int shift = 0; shift < byteCount * 8; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// Four-character chunk names such as "RIFF" or "MTrk".
inline void appendTag(Bytes& out, std::string_view tag)
{
    for (const char letter : tag) {
        out.push_back(static_cast<std::uint8_t>(letter));
    }
}

} // namespace media
