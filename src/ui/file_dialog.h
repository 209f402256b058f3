// The system's "Open" dialog, for a file field's Browse button. Tests install a
// hook that plays the operator instead of showing the modal dialog.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "ui/win.h"

namespace ui {

// The file the operator chose, starting from `current`; nothing when cancelled.
// `filter` is the dialog's list of kinds: pairs of a name and its patterns, each
// ended by a NUL ("Sounds (*.wav)\0*.wav\0All files\0*.*\0").
std::optional<std::wstring> chooseFile(HWND owner, const std::wstring& current, std::wstring_view filter);

using FileDialogHook = std::function<std::optional<std::wstring>(const std::wstring& current)>;
void setFileDialogHook(FileDialogHook hook);

}  // namespace ui
