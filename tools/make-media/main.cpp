// Generates the game's songs and sound effects at build time, so every media
// file shipped with Vantorix is made from the source in this folder.

#include "bytes.h"
#include "effects.h"
#include "songs.h"
#include "wave_writer.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string_view>
#include <vector>

namespace {

struct MediaFile {
    std::string_view name;
    media::Bytes bytes;
};

std::vector<MediaFile> buildAll()
{
    using namespace media;
    return {
        {"title.mid", renderSong(titleTheme())},
        {"bgm.mid", renderSong(gameTheme())},
        {"start.wav", encodeWave(gameStartJingle())},
        {"end.wav", encodeWave(goodbyePhrase())},
        {"high.wav", encodeWave(bombBlast())},
        {"hit.wav", encodeWave(enemyHit())},
        {"miss.wav", encodeWave(shipHit())},
        {"gameover.wav", encodeWave(gameOverJingle())},
        {"clear.wav", encodeWave(stageClearFanfare())},
    };
}

bool writeFile(const std::filesystem::path& path, const media::Bytes& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return static_cast<bool>(file);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make-media OUTDIR\n";
        return 2;
    }
    const std::filesystem::path outDir = argv[1];

    // Build everything before writing, so a bad note in the data leaves no
    // half-finished set of files behind.
    std::vector<MediaFile> files;
    try {
        files = buildAll();
    } catch (const std::exception& error) {
        std::cerr << "make-media: " << error.what() << '\n';
        return 1;
    }

    for (const MediaFile& file : files) {
        const std::filesystem::path path = outDir / file.name;
        if (!writeFile(path, file.bytes)) {
            std::cerr << "make-media: cannot write " << path.string() << '\n';
            return 1;
        }
    }
    return 0;
}
