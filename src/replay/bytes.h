#pragma once

#include <bit>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace vantorix {

// The replay file's fields: variable-length whole numbers (7 bits a byte),
// signed ones zigzagged, fixed 32- and 64-bit ones little-endian.
class ByteSink {
public:
    explicit ByteSink(std::string& out) : out_(out) {}
    void byte(std::uint8_t b) { out_.push_back(static_cast<char>(b)); }
    void varint(std::uint64_t v) {
        for (; v >= 0x80; v >>= 7) byte(static_cast<std::uint8_t>(v | 0x80));
        byte(static_cast<std::uint8_t>(v));
    }
    void svarint(std::int64_t v) {
        varint((static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63));
    }
    void fixed(std::uint64_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) byte(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void real(float v) { fixed(std::bit_cast<std::uint32_t>(v), 4); }
    void text(const std::string& s) {
        varint(s.size());
        out_ += s;
    }

private:
    std::string& out_;
};

// What a damaged file gives the reader.
class BadBytes : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ByteSource {
public:
    explicit ByteSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool atEnd() const { return pos_ == bytes_.size(); }
    std::uint8_t byte() {
        if (atEnd()) throw BadBytes("it ends too soon");
        return bytes_[pos_++];
    }
    std::uint64_t varint() {
        std::uint64_t v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            std::uint8_t b = byte();
            v |= static_cast<std::uint64_t>(b & 0x7F) << shift;
            if (!(b & 0x80)) return v;
        }
        throw BadBytes("a number runs too long");
    }
    // A count of things still to come, each taking at least a byte.
    std::size_t count() {
        std::uint64_t n = varint();
        if (n > bytes_.size() - pos_) throw BadBytes("a count is larger than the file");
        return static_cast<std::size_t>(n);
    }
    std::int64_t svarint() {
        std::uint64_t v = varint();
        return static_cast<std::int64_t>(v >> 1) ^ -static_cast<std::int64_t>(v & 1);
    }
    std::uint64_t fixed(int bytes) {
        std::uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) v |= static_cast<std::uint64_t>(byte()) << (8 * i);
        return v;
    }
    float real() { return std::bit_cast<float>(static_cast<std::uint32_t>(fixed(4))); }
    std::string text() {
        std::size_t n = count();
        std::string s(reinterpret_cast<const char*>(bytes_.data() + pos_), n);
        pos_ += n;
        return s;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
};

// FNV-1a, 64 bits: the file's checksum and the state's fingerprint.
inline std::uint64_t fnv1a(std::span<const std::uint8_t> bytes) {
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (std::uint8_t b : bytes) h = (h ^ b) * 0x100000001b3ULL;
    return h;
}

}  // namespace vantorix
