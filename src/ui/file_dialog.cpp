#include "ui/file_dialog.h"

#include <commdlg.h>

#include <vector>

namespace ui {
namespace {

FileDialogHook& hook() {
  static FileDialogHook h;
  return h;
}

}  // namespace

void setFileDialogHook(FileDialogHook h) { hook() = std::move(h); }

std::optional<std::wstring> chooseFile(HWND owner, const std::wstring& current, std::wstring_view filter) {
  if (hook()) return hook()(current);
  std::vector<wchar_t> name(32768, L'\0');
  current.copy(name.data(), std::min(current.size(), name.size() - 1));
  std::wstring filters(filter);
  filters += L'\0';  // the list ends with an empty pair
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filters.c_str();
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = DWORD(name.size());
  // The working folder holds the reference files: the dialog must not move it.
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&ofn)) return std::nullopt;
  return std::wstring(name.data());
}

}  // namespace ui
