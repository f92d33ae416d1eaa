#pragma once

#include "synth.h"

namespace media {

// Tuned jingles (jingles.cpp).
Samples gameStartJingle();   // ~1.0 s rising arpeggio
Samples goodbyePhrase();     // ~1.0 s falling phrase
Samples gameOverJingle();    // ~2.5 s minor cadence
Samples stageClearFanfare(); // ~2.5 s major fanfare

// Noise-based impacts (blasts.cpp).
Samples bombBlast();   // ~1.0 s whoosh and boom
Samples enemyHit();    // ~0.2 s crisp zap
Samples shipHit();     // ~1.0 s crunchy descending crash

} // namespace media
