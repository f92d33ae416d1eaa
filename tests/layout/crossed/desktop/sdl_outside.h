#pragma once

// Calls SDL outside the platform part.
#include <SDL.h>
