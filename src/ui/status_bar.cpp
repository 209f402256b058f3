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

void StatusBar::setTextColor(core::Color color) {
  if (color == textColor_) return;
  textColor_ = color;
  invalidate();
}

void StatusBar::setPanelText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  invalidate();
}

void StatusBar::applyScreenWork() {
  Control::applyScreenWork();
  // A screen reader reads the bar by its window text, through the bar's client
  // object (the standard one names it by that text): it hears that it changed when
  // the change is drawn, once for the texts a flood of spots wrote meanwhile.
  if (text_ == announced_ || !handle()) return;
  announced_ = text_;
  NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, handle(), OBJID_CLIENT, CHILDID_SELF);
}

void StatusBar::paint(HDC dc) {
  RECT r{};
  GetClientRect(handle(), &r);
  FillRect(dc, &r, solidBrush(color_));
  RECT panel = r;
  InflateRect(&panel, -1, -1);
  DrawEdge(dc, &panel, BDR_SUNKENOUTER, BF_RECT);
  drawCentredText(dc, panel, reinterpret_cast<HFONT>(SendMessageW(handle(), WM_GETFONT, 0, 0)),
                  colorRef(textColor_), text_);
}

LRESULT StatusBar::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (LRESULT result = 0; paintMessage(handle(), msg, wParam, [this](HDC dc) { paint(dc); }, result)) return result;
  switch (msg) {
    case WM_SETFONT:
      invalidate();
      break;
    // Its text is the panel's, for whoever reads windows by their text (screen
    // readers among them).
    case WM_GETTEXTLENGTH:
      return LRESULT(screenText(text_).size());
    case WM_GETTEXT:
      return LRESULT(copyTextOut<wchar_t>(screenText(text_), std::size_t(wParam), reinterpret_cast<wchar_t*>(lParam)));
    default:
      break;
  }
  return Control::handleMessage(msg, wParam, lParam);
}

}  // namespace ui
