#pragma once

#include <memory>
#include <string>
#include <vector>

#include "runtime/color.h"
#include "runtime/label.h"

namespace vantorix {

// The play field: a coloured rectangle that holds and clips the labels.
// It owns them and keeps their stacking order, front first.
class Field {
public:
    Field(float width, float height, Rgb backColor);

    float width() const { return width_; }
    float height() const { return height_; }
    Rgb backColor() const { return backColor_; }
    void setWidth(float width);
    void setHeight(float height);
    void setBackColor(Rgb color);

    // Adds a label at the back of the stacking order (the stored order is front to back).
    Label& addAtBack(Label::Design design);
    // Adds a label at the front, where a freshly created array element goes.
    Label& addAtFront(Label::Design design);
    void bringToFront(const Label& label);

    // Front to back.
    const std::vector<Label*>& stackingOrder() const { return order_; }
    Label* find(const std::string& name, int index = -1) const;

    // Whether anything that shows has changed since the last takeChanged().
    void markChanged() { changed_ = true; }
    bool takeChanged();

private:
    float width_, height_;
    Rgb backColor_;
    std::vector<std::unique_ptr<Label>> labels_;
    std::vector<Label*> order_;
    bool changed_ = true;
};

}  // namespace vantorix
