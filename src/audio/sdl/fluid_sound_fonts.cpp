#include "audio/sdl/fluid_sound_fonts.h"

#include <cstdio>
#include <mutex>

namespace vantorix {

namespace {

// The images FluidSynth may open, by name: its loader's callbacks carry no
// pointer of ours. Samples load on the audio thread, hence the lock.
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
    std::FILE* source = std::fopen(image->source.c_str(), "rb");
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

FluidSoundFonts::FluidSoundFonts(const FluidLibrary& fluid, fluid_settings_t* settings, fluid_synth_t* synth)
    : fluid_(fluid), synth_(synth) {
    fluid_sfloader_t* loader = fluid_.new_fluid_defsfloader(settings);
    if (!loader) return;
    fluid_.fluid_sfloader_set_callbacks(loader, openImage, readImage, seekImage, tellImage, closeImage);
    // Tried before the synthesizer's own loaders, which still read real files.
    fluid_.fluid_synth_add_sfloader(synth_, loader);
}

FluidSoundFonts::~FluidSoundFonts() {
    std::lock_guard guard(imagesLock);
    for (auto& [id, name] : names_) images.erase(name);
}

int FluidSoundFonts::load(std::shared_ptr<const SoundFontImage> image) {
    std::string name;
    {
        std::lock_guard guard(imagesLock);
        name = "vantorix soundfont " + std::to_string(++lastNumber);
        images.emplace(name, std::move(image));
    }
    int id = fluid_.fluid_synth_sfload(synth_, name.c_str(), 0);
    if (id != FLUID_FAILED) {
        names_.emplace(id, name);
        return id;
    }
    std::lock_guard guard(imagesLock);
    images.erase(name);
    return -1;
}

void FluidSoundFonts::unload(int id) {
    auto found = names_.find(id);
    if (found == names_.end()) return;
    fluid_.fluid_synth_sfunload(synth_, id, 0);
    std::lock_guard guard(imagesLock);
    images.erase(found->second);
    names_.erase(found);
}

}  // namespace vantorix
