#include "temp_file.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace vantorix::fuzz {

TempFile::TempFile(const std::string& suffix) {
    const char* dir = std::getenv("TMPDIR");
    std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/vantorix-fuzz-XXXXXX" + suffix;
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    int fd = mkstemps(name.data(), static_cast<int>(suffix.size()));
    if (fd < 0) {
        std::perror("vantorix-fuzz: mkstemps");
        std::abort();
    }
    close(fd);
    path_ = name.data();
}

TempFile::~TempFile() { unlink(path_.c_str()); }

void TempFile::write(const std::uint8_t* data, std::size_t size) const {
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) {
        std::perror("vantorix-fuzz: writing the input file");
        std::abort();
    }
}

}  // namespace vantorix::fuzz
