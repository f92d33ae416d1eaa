#pragma once

#include <string>

#include "runtime/field.h"

namespace vantorix::sim {

// Draws the field as the window would, off screen, and writes it as a PNG.
// Returns false and a reason when the fonts or the file fail.
bool writeFieldPng(const Field& field, const std::string& file, std::string& whyNot);

}  // namespace vantorix::sim
