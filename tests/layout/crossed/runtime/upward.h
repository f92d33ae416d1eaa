#pragma once

// Reaches up into the game: what the layout check must refuse.
#include "game/form_vtx.h"
