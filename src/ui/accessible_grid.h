// The string grid as a screen reader sees it (Active Accessibility): a table whose
// children are its data rows, each named by its text, described by what its colour
// says, with a default action. A custom-drawn grid is silent to readers otherwise.
#pragma once

#include "ui/win.h"

#include <oleacc.h>

namespace ui {

class StringGrid;

// The interface's own id, written out: linked statically, the toolchain's
// IID_IAccessible names an import thunk of oleacc, not the GUID.
extern const IID kIID_IAccessible;

// Made once per grid and handed out through WM_GETOBJECT; the grid tells it when it
// goes, after which every call answers that the object is gone.
IAccessible* newAccessibleGrid(StringGrid& grid);
void gridGone(IAccessible* accessible);

}  // namespace ui
