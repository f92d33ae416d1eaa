#pragma once

#include <cstdint>
#include <span>

namespace vantorix {

// Little-endian fields, as RIFF files (waves, SoundFonts, wrapped songs) keep
// them, read or set in place at a place the caller has checked holds them.
inline std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
inline std::uint32_t le32(const std::uint8_t* p) { return le16(p) | static_cast<std::uint32_t>(le16(p + 2)) << 16; }
inline void setLe16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void setLe32(std::uint8_t* p, std::uint32_t v) {
    setLe16(p, v & 0xFFFF);
    setLe16(p + 2, v >> 16);
}

// Big-endian reading through a byte span; callers check has() before reading.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool has(std::size_t n) const { return bytes_.size() - pos_ >= n; }
    bool atEnd() const { return pos_ == bytes_.size(); }
    std::size_t left() const { return bytes_.size() - pos_; }
    std::uint8_t peek() const { return bytes_[pos_]; }
    std::uint8_t byte() { return bytes_[pos_++]; }
    std::uint32_t be(int n) {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i) v = (v << 8) | bytes_[pos_++];
        return v;
    }
    void skip(std::size_t n) { pos_ += n; }
    std::span<const std::uint8_t> take(std::size_t n) {
        auto s = bytes_.subspan(pos_, n);
        pos_ += n;
        return s;
    }
    // A variable-length quantity of at most four bytes.
    bool vlq(std::uint32_t& out) {
        out = 0;
        for (int i = 0; i < 4; ++i) {
            if (!has(1)) return false;
            std::uint8_t b = byte();
            out = (out << 7) | (b & 0x7F);
            if (!(b & 0x80)) return true;
        }
        return false;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

}  // namespace vantorix
