#include "ui/label.h"

#include "ui/device_context.h"
#include "ui/text.h"

namespace ui {

void Label::create(Control* parent, int left, int top, int width, int height, const std::string& caption) {
  // Clipped by its siblings: controls laid over the label keep their place.
  createOwn(parent, "ruDOZ.Label", "", WS_VISIBLE | WS_CLIPSIBLINGS, 0, left, top, width, height, nullptr,
            CS_HREDRAW | CS_VREDRAW);
  caption_ = caption;
  SetWindowTextW(handle(), widen(caption_).c_str());
}

void Label::setCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  if (handle()) {
    SetWindowTextW(handle(), widen(caption_).c_str());
    invalidate();
  }
}

void Label::setColor(core::Color color) {
  if (color == color_) return;
  color_ = color;
  invalidate();
}

void Label::setCentred(bool centred) {
  if (centred == centred_) return;
  centred_ = centred;
  invalidate();
}

void Label::paint(HDC dc) {
  RECT r{};
  GetClientRect(handle(), &r);
  FillRect(dc, &r, solidBrush(color_));
  drawCentredText(dc, r, reinterpret_cast<HFONT>(SendMessageW(handle(), WM_GETFONT, 0, 0)), colorRef(font().color),
                  caption_, centred_);
}

LRESULT Label::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (LRESULT result = 0; paintMessage(handle(), msg, wParam, [this](HDC dc) { paint(dc); }, result)) return result;
  switch (msg) {
    case WM_SETFONT:
      invalidate();
      break;
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // clicks go to what lies under the text
    default:
      break;
  }
  return Control::handleMessage(msg, wParam, lParam);
}

}  // namespace ui
