#pragma once

#include "synth.h"

namespace media {

// Short fades at both ends (so playback never starts or stops on a click),
// then scales the whole effect so its peak lands at -3 dBFS.
void master(Samples& samples);

} // namespace media
