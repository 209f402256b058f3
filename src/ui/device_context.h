// Device contexts held for a scope, released however the scope ends: the paint DC
// of WM_PAINT, a window's whole DC (frame included), a client or screen DC, and an
// object selected into a DC for a while. Nothing in the toolkit pairs BeginPaint or
// GetDC with their release by hand.
#pragma once

#include <string_view>

#include "ui/win.h"

namespace ui {

// BeginPaint ... EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
  ~PaintDc() { EndPaint(hwnd_, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }
  const RECT& dirty() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// The paint messages of a window that paints itself whole: no background erased
// first, WM_PAINT and WM_PRINTCLIENT drawn by paint(dc). Answers whether the message
// was one of them, with its result.
template <class Paint>
bool paintMessage(HWND window, UINT msg, WPARAM wParam, Paint&& paint, LRESULT& result) {
  switch (msg) {
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_PAINT: {
      const PaintDc dc(window);
      paint(dc.get());
      result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wParam));
      result = 0;
      return true;
    default:
      return false;
  }
}

// GetDC (the client area; the screen for a null window) or GetWindowDC (the whole
// window, frame included) ... ReleaseDC.
class WindowDc {
 public:
  enum class Area { Client, Whole };
  explicit WindowDc(HWND hwnd, Area area = Area::Client)
      : hwnd_(hwnd), dc_(area == Area::Whole ? GetWindowDC(hwnd) : GetDC(hwnd)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// The screen's DC.
class ScreenDc : public WindowDc {
 public:
  ScreenDc() : WindowDc(nullptr) {}
};

// A memory DC compatible with the screen: CreateCompatibleDC ... DeleteDC.
class MemoryDc {
 public:
  MemoryDc() : dc_(CreateCompatibleDC(nullptr)) {}
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// An object selected into a DC until the scope ends; the previous one comes back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (previous_) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// One line of Windows-1251 text centred in r (or at its left edge), in the font and
// colour given, on whatever lies beneath it.
void drawCentredText(HDC dc, RECT r, HFONT font, COLORREF color, std::string_view text, bool centred = true);

}  // namespace ui
