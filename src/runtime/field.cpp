#include "runtime/field.h"

#include <algorithm>

namespace vantorix {

Field::Field(float width, float height, Rgb backColor)
    : width_(width), height_(height), backColor_(backColor) {}

void Field::setWidth(float width) {
    if (width == width_) return;
    width_ = width;
    markChanged();
}

void Field::setHeight(float height) {
    if (height == height_) return;
    height_ = height;
    markChanged();
}

void Field::setBackColor(Rgb color) {
    if (color == backColor_) return;
    backColor_ = color;
    markChanged();
}

Label& Field::addAtBack(Label::Design design) {
    labels_.push_back(std::make_unique<Label>(std::move(design), *this));
    order_.push_back(labels_.back().get());
    markChanged();
    return *labels_.back();
}

Label& Field::addAtFront(Label::Design design) {
    labels_.push_back(std::make_unique<Label>(std::move(design), *this));
    order_.insert(order_.begin(), labels_.back().get());
    markChanged();
    return *labels_.back();
}

void Field::bringToFront(const Label& label) {
    auto it = std::find(order_.begin(), order_.end(), &label);
    if (it == order_.end() || it == order_.begin()) return;
    std::rotate(order_.begin(), it, it + 1);
    markChanged();
}

Label* Field::find(const std::string& name, int index) const {
    for (const auto& label : labels_)
        if (label->name() == name && label->index() == index) return label.get();
    return nullptr;
}

bool Field::takeChanged() {
    bool was = changed_;
    changed_ = false;
    return was;
}

}  // namespace vantorix
