#include "ui/tool_tips.h"

#include <commctrl.h>

#include "ui/text.h"

namespace ui {
namespace {

TTTOOLINFOW toolFor(const Control& control) {
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = GetParent(control.handle());
  ti.uId = reinterpret_cast<UINT_PTR>(control.handle());
  return ti;
}

}  // namespace

ToolTips::~ToolTips() {
  if (window_) DestroyWindow(window_);
}

void ToolTips::add(Control& control, const std::string& text) {
  if (!control.handle()) return;
  if (!window_) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    window_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0,
                              0, 0, GetAncestor(control.handle(), GA_ROOT), nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    if (!window_) throw std::runtime_error("Cannot create the tooltip window");
  }
  std::wstring wide = widen(text);
  TTTOOLINFOW ti = toolFor(control);
  ti.lpszText = wide.data();
  SendMessageW(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

std::string ToolTips::text(const Control& control) const {
  if (!window_ || !control.handle()) return {};
  wchar_t buffer[256] = {};
  TTTOOLINFOW ti = toolFor(control);
  ti.lpszText = buffer;
  SendMessageW(window_, TTM_GETTEXTW, sizeof buffer / sizeof buffer[0], reinterpret_cast<LPARAM>(&ti));
  return narrow(buffer);
}

}  // namespace ui
