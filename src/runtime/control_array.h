#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "runtime/field.h"

namespace vantorix {

// An array of labels addressed by a 16-bit index, such as the enemies.
// Element 0 comes from the stored description; further elements are made by code.
class ControlArray {
public:
    ControlArray(Field& field, std::string name);

    // The element with that index; throws std::out_of_range when it does not exist.
    Label& operator()(std::int16_t index) const;
    bool exists(std::int16_t index) const { return elements_.count(index) != 0; }

    // Creates element `index` as a hidden copy of element 0 (caption, font, colours,
    // alignment, position and size). Throws std::invalid_argument if it already exists.
    Label& load(std::int16_t index);

private:
    Field& field_;
    std::string name_;
    std::map<std::int16_t, Label*> elements_;
};

}  // namespace vantorix
