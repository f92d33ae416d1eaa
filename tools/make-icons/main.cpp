// Writes the desktop icons at build time, each scaled from the window's own
// 32 x 32 picture, as OUTDIR/<N>x<N>/apps/vantorix.png (the hicolor layout).

#include <charconv>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

#include "nearest.h"
#include "png_writer.h"

namespace {

bool parseSize(std::string_view text, int& size) {
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
    return error == std::errc() && end == text.data() + text.size() && size > 0 && size <= 1024;
}

bool writeIcon(const std::filesystem::path& outDir, int size, std::string& whyNot) {
    const auto folder = outDir / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        whyNot = "cannot make " + folder.string() + ": " + error.message();
        return false;
    }
    return icons::writePng(folder / "vantorix.png", size, icons::scaledIcon(size), whyNot);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: make-icons OUTDIR SIZE...\n";
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        int size = 0;
        if (!parseSize(argv[i], size)) {
            std::cerr << "make-icons: not a size: " << argv[i] << '\n';
            return 2;
        }
        std::string whyNot;
        if (!writeIcon(argv[1], size, whyNot)) {
            std::cerr << "make-icons: " << whyNot << '\n';
            return 1;
        }
    }
    return 0;
}
