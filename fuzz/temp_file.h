#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vantorix::fuzz {

// The game reads songs and effects by path, so each input goes into a file of
// this process's own under $TMPDIR, removed when the process ends normally.
class TempFile {
public:
    explicit TempFile(const std::string& suffix);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& path() const { return path_; }
    // Replaces the file's contents with these bytes.
    void write(const std::uint8_t* data, std::size_t size) const;

private:
    std::string path_;
};

}  // namespace vantorix::fuzz
