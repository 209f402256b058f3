#include "ui/status_bar.h"

#include "ui/device_context.h"
#include "ui/text.h"

namespace ui {

void StatusBar::create(Control* parent, int left, int top, int width, int height) {
  createOwn(parent, "ruDOZ.StatusBar", "", WS_VISIBLE, 0, left, top, width, height, nullptr,
            CS_HREDRAW | CS_VREDRAW);
  setAlign(Align::Bottom);
}

void StatusBar::setColor(core::Color color) {
  if (color == color_) return;
  color_ = color;
  invalidate();
}

void StatusBar::setPanelText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  invalidate();
}

void StatusBar::paint(HDC dc) {
  RECT r{};
  GetClientRect(handle(), &r);
  FillRect(dc, &r, solidBrush(color_));
  RECT panel = r;
  InflateRect(&panel, -1, -1);
  DrawEdge(dc, &panel, BDR_SUNKENOUTER, BF_RECT);
  drawCentredText(dc, panel, reinterpret_cast<HFONT>(SendMessageW(handle(), WM_GETFONT, 0, 0)),
                  colorRef(core::clBtnText), text_);
}

LRESULT StatusBar::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      const PaintDc dc(handle());
      paint(dc.get());
      return 0;
    }
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_SETFONT:
      invalidate();
      break;
    default:
      break;
  }
  return Control::handleMessage(msg, wParam, lParam);
}

}  // namespace ui
