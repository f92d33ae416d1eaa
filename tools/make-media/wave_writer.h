#pragma once

#include "bytes.h"
#include "synth.h"

namespace media {

// 16-bit mono PCM WAVE at kSampleRate with the plain 44-byte header.
Bytes encodeWave(const Samples& samples);

} // namespace media
