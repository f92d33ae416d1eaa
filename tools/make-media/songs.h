#pragma once

#include "song.h"

namespace media {

// Calm attract-screen theme in C major.
const Song& titleTheme();

// Driving in-game loop in A minor.
const Song& gameTheme();

} // namespace media
