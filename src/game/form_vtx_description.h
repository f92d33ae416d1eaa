#pragma once

#include <span>

#include "runtime/form_description.h"

namespace vantorix {

// The game window, every control in containment order.
std::span<const StoredControl> formVTXDescription();

}  // namespace vantorix
