#pragma once

#include "runtime/field.h"

namespace vantorix {

// The desktop window that shows the field: sized, shown and drawn by the form.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    virtual void setClientSize(int width, int height) = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual void present(const Field& field) = 0;
};

// No screen at all, for the game's rules run on their own: the field's state is the picture.
class NoWindow : public WindowHost {
public:
    void setClientSize(int, int) override {}
    void show() override {}
    void hide() override {}
    void present(const Field&) override {}
};

}  // namespace vantorix
