#pragma once

#include <string>

#include "runtime/color.h"
#include "runtime/font_desc.h"

namespace vantorix {

enum class Alignment { Left = 0, Right = 1, Center = 2 };

class Field;

// A transparent text label on the play field. Positions and sizes are pixels
// inside the field, kept as single-precision numbers like the form's own.
class Label {
public:
    struct Design {
        std::string name;
        int index = -1;  // element number inside a control array, -1 when not in one
        std::string caption;
        FontDesc font;
        Rgb foreColor;
        float left = 0, top = 0, width = 0, height = 0;
        Alignment alignment = Alignment::Left;
        bool visible = true;
    };

    Label(Design design, Field& field);

    const std::string& name() const { return d_.name; }
    int index() const { return d_.index; }
    const std::string& caption() const { return d_.caption; }
    const FontDesc& font() const { return d_.font; }
    Rgb foreColor() const { return d_.foreColor; }
    Alignment alignment() const { return d_.alignment; }
    float left() const { return d_.left; }
    float top() const { return d_.top; }
    float width() const { return d_.width; }
    float height() const { return d_.height; }
    bool visible() const { return d_.visible; }
    const Design& design() const { return d_; }

    void setCaption(const std::string& caption);
    void setLeft(float left);
    void move(float left, float top);
    void setVisible(bool visible);

private:
    void changed();

    Design d_;
    Field& field_;
};

}  // namespace vantorix
