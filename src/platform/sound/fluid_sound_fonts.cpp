#include "platform/sound/fluid_sound_fonts.h"

#include <cstdio>
#include <map>
#include <mutex>
#include <string>

namespace vantorix {

namespace {

// The images FluidSynth may open, by name: its loader's callbacks carry no
// pointer of ours. Images are read on the thread that opens a song, and on
// the one that sets the synthesizer up.
std::mutex imagesLock;
std::map<std::string, std::shared_ptr<const SoundFontImage>> images;
int lastNumber = 0;

struct OpenImage {
    std::shared_ptr<const SoundFontImage> image;
    std::FILE* source;
    fluid_long_long_t at = 0;
};

void* openImage(const char* name) {
    std::shared_ptr<const SoundFontImage> image;
    {
        std::lock_guard guard(imagesLock);
        auto found = images.find(name);
        if (found == images.end()) return nullptr;
        image = found->second;
    }
    std::FILE* source = std::fopen(image->source().c_str(), "rb");
    if (!source) return nullptr;
    return new OpenImage{std::move(image), source};
}

int readImage(void* buffer, fluid_long_long_t count, void* handle) {
    auto* file = static_cast<OpenImage*>(handle);
    if (count < 0) return FLUID_FAILED;
    std::span out(static_cast<std::uint8_t*>(buffer), static_cast<std::size_t>(count));
    if (!file->image->read(static_cast<std::uint64_t>(file->at), out, file->source)) return FLUID_FAILED;
    file->at += count;
    return FLUID_OK;
}

int seekImage(void* handle, fluid_long_long_t offset, int origin) {
    auto* file = static_cast<OpenImage*>(handle);
    auto size = static_cast<fluid_long_long_t>(file->image->size());
    fluid_long_long_t from = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? file->at : size;
    if (offset < -from || offset > size - from) return FLUID_FAILED;
    file->at = from + offset;
    return FLUID_OK;
}

fluid_long_long_t tellImage(void* handle) { return static_cast<OpenImage*>(handle)->at; }

int closeImage(void* handle) {
    auto* file = static_cast<OpenImage*>(handle);
    std::fclose(file->source);
    delete file;
    return FLUID_OK;
}

}  // namespace

ReadSoundFont::~ReadSoundFont() {
    if (synth) fluid.delete_fluid_synth(synth);
    if (settings) fluid.delete_fluid_settings(settings);
}

fluid_settings_t* newEagerSettings(const FluidLibrary& fluid) {
    fluid_settings_t* settings = fluid.new_fluid_settings();
    fluid.fluid_settings_setint(settings, "synth.dynamic-sample-loading", 0);
    return settings;
}

void addImageLoader(const FluidLibrary& fluid, fluid_synth_t* synth, fluid_settings_t* eager) {
    // Only a synthesizer frees its loaders.
    if (!synth) return;
    fluid_sfloader_t* loader = fluid.new_fluid_defsfloader(eager);
    if (!loader) return;
    fluid.fluid_sfloader_set_callbacks(loader, openImage, readImage, seekImage, tellImage, closeImage);
    // Tried before the synthesizer's own loaders, which read real files.
    fluid.fluid_synth_add_sfloader(synth, loader);
}

int loadImage(const FluidLibrary& fluid, fluid_synth_t* synth, std::shared_ptr<const SoundFontImage> image) {
    std::string name;
    {
        std::lock_guard guard(imagesLock);
        name = "vantorix soundfont " + std::to_string(++lastNumber);
        images.emplace(name, std::move(image));
    }
    int id = fluid.fluid_synth_sfload(synth, name.c_str(), 0);
    // With every sample read, FluidSynth never opens it again.
    std::lock_guard guard(imagesLock);
    images.erase(name);
    return id == FLUID_FAILED ? -1 : id;
}

std::unique_ptr<ReadSoundFont> readSoundFont(const FluidLibrary& fluid, std::shared_ptr<const SoundFontImage> image) {
    auto read = std::make_unique<ReadSoundFont>(fluid);
    read->settings = newEagerSettings(fluid);
    // No voice is ever played here.
    fluid.fluid_settings_setint(read->settings, "synth.polyphony", 1);
    read->synth = fluid.new_fluid_synth(read->settings);
    if (!read->synth) return nullptr;
    addImageLoader(fluid, read->synth, read->settings);
    int id = loadImage(fluid, read->synth, std::move(image));
    if (id < 0) return nullptr;
    read->soundFont = fluid.fluid_synth_get_sfont_by_id(read->synth, id);
    return read;
}

int addSoundFont(fluid_synth_t* synth, ReadSoundFont& read) {
    const FluidLibrary& fluid = read.fluid;
    if (!read.soundFont || fluid.fluid_synth_remove_sfont(read.synth, read.soundFont) != FLUID_OK) return -1;
    int id = fluid.fluid_synth_add_sfont(synth, read.soundFont);
    if (id == FLUID_FAILED) {
        // Still its own synthesizer's, which frees it.
        fluid.fluid_synth_add_sfont(read.synth, read.soundFont);
        return -1;
    }
    read.soundFont = nullptr;
    return id;
}

}  // namespace vantorix
