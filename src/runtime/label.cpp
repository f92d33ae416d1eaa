#include "runtime/label.h"

#include "runtime/field.h"

namespace vantorix {

Label::Label(Design design, Field& field) : d_(std::move(design)), field_(field) {}

void Label::changed() { field_.markChanged(); }

void Label::setCaption(const std::string& caption) {
    if (caption == d_.caption) return;
    d_.caption = caption;
    changed();
}

void Label::setLeft(float left) { move(left, d_.top); }

void Label::move(float left, float top) {
    if (left == d_.left && top == d_.top) return;
    d_.left = left;
    d_.top = top;
    changed();
}

void Label::setVisible(bool visible) {
    if (visible == d_.visible) return;
    d_.visible = visible;
    changed();
}

}  // namespace vantorix
