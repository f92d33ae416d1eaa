#pragma once

namespace vantorix {

// The scale the X desktop asks for through its Xft.dpi resource; 1 on any other
// desktop or without the resource.
int xDesktopScale();

}  // namespace vantorix
