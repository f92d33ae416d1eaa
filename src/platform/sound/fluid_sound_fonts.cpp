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

void* imageOpen(const char* name) {
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

int imageRead(void* buffer, fluid_long_long_t count, void* handle) {
    auto* file = static_cast<OpenImage*>(handle);
    if (count < 0) return FLUID_FAILED;
    std::span out(static_cast<std::uint8_t*>(buffer), static_cast<std::size_t>(count));
    if (!file->image->read(static_cast<std::uint64_t>(file->at), out, file->source)) return FLUID_FAILED;
    file->at += count;
    return FLUID_OK;
}

int imageSeek(void* handle, fluid_long_long_t offset, int origin) {
    auto* file = static_cast<OpenImage*>(handle);
    auto size = static_cast<fluid_long_long_t>(file->image->size());
    fluid_long_long_t from = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? file->at : size;
    if (offset < -from || offset > size - from) return FLUID_FAILED;
    file->at = from + offset;
    return FLUID_OK;
}

fluid_long_long_t imageTell(void* handle) { return static_cast<OpenImage*>(handle)->at; }

int imageClose(void* handle) {
    auto* file = static_cast<OpenImage*>(handle);
    std::fclose(file->source);
    delete file;
    return FLUID_OK;
}

// The SoundFont just loaded as `id`, taken off `synth`; null if it was refused.
fluid_sfont_t* take(const FluidLibrary& fluid, fluid_synth_t* synth, int id) {
    if (id == FLUID_FAILED) return nullptr;
    fluid_sfont_t* soundFont = fluid.fluid_synth_get_sfont_by_id(synth, id);
    fluid.fluid_synth_remove_sfont(synth, soundFont);
    return soundFont;
}

}  // namespace

fluid_settings_t* newEagerSettings(const FluidLibrary& fluid) {
    fluid_settings_t* settings = fluid.new_fluid_settings();
    fluid.fluid_settings_setint(settings, "synth.dynamic-sample-loading", 0);
    // No voice is ever played on a synthesizer made with these.
    fluid.fluid_settings_setint(settings, "synth.polyphony", 1);
    return settings;
}

void addSoundFontLoaders(const FluidLibrary& fluid, fluid_synth_t* synth, fluid_settings_t* eager,
                         fluid_settings_t* whole) {
    // Loaders are tried last added first: images by name, then files, whose
    // samples wait until a channel chooses their preset (reading all of a
    // large compressed set up front would take seconds and hundreds of
    // megabytes). FluidSynth frees them with the synthesizer.
    fluid.fluid_synth_add_sfloader(synth, fluid.new_fluid_defsfloader(whole));
    fluid_sfloader_t* imageLoader = fluid.new_fluid_defsfloader(eager);
    fluid.fluid_sfloader_set_callbacks(imageLoader, imageOpen, imageRead, imageSeek, imageTell, imageClose);
    fluid.fluid_synth_add_sfloader(synth, imageLoader);
}

fluid_sfont_t* readImage(const FluidLibrary& fluid, fluid_synth_t* synth, std::shared_ptr<const SoundFontImage> image) {
    std::string name;
    {
        std::lock_guard guard(imagesLock);
        name = "vantorix soundfont " + std::to_string(++lastNumber);
        images.emplace(name, std::move(image));
    }
    int id = fluid.fluid_synth_sfload(synth, name.c_str(), 0);
    // With every sample read, FluidSynth never opens it again.
    {
        std::lock_guard guard(imagesLock);
        images.erase(name);
    }
    return take(fluid, synth, id);
}

void unloadSoundFont(const FluidLibrary& fluid, fluid_synth_t* synth, fluid_sfont_t* soundFont) {
    fluid.fluid_synth_sfunload(synth, fluid.fluid_synth_add_sfont(synth, soundFont), 0);
}

SoundFontReader::SoundFontReader(const FluidLibrary& fluid, fluid_settings_t* eager, fluid_settings_t* whole)
    : fluid_(fluid), synth_(fluid.new_fluid_synth(eager)) {
    if (synth_) addSoundFontLoaders(fluid, synth_, eager, whole);
}

SoundFontReader::~SoundFontReader() {
    if (synth_) fluid_.delete_fluid_synth(synth_);
}

fluid_sfont_t* SoundFontReader::readImage(std::shared_ptr<const SoundFontImage> image) {
    return vantorix::readImage(fluid_, synth_, std::move(image));
}

fluid_sfont_t* SoundFontReader::readWhole(const std::string& path) {
    return take(fluid_, synth_, fluid_.fluid_synth_sfload(synth_, path.c_str(), 0));
}

void SoundFontReader::unload(fluid_sfont_t* soundFont) { unloadSoundFont(fluid_, synth_, soundFont); }

}  // namespace vantorix
