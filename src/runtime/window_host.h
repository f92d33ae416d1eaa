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

}  // namespace vantorix
