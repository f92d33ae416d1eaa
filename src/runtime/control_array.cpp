#include "runtime/control_array.h"

#include <stdexcept>

namespace vantorix {

ControlArray::ControlArray(Field& field, std::string name) : field_(field), name_(std::move(name)) {
    for (Label* label : field_.stackingOrder())
        if (label->name() == name_ && label->index() >= 0)
            elements_[static_cast<std::int16_t>(label->index())] = label;
}

Label& ControlArray::operator()(std::int16_t index) const {
    auto it = elements_.find(index);
    if (it == elements_.end())
        throw std::out_of_range("control array element " + name_ + "(" + std::to_string(index) +
                                ") doesn't exist");
    return *it->second;
}

Label& ControlArray::load(std::int16_t index) {
    if (exists(index))
        throw std::invalid_argument("control array element " + name_ + "(" + std::to_string(index) +
                                    ") already loaded");
    Label::Design copy = (*this)(0).design();
    copy.index = index;
    copy.visible = false;
    Label& made = field_.addAtFront(std::move(copy));
    elements_[index] = &made;
    return made;
}

}  // namespace vantorix
