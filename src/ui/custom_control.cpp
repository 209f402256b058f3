#include "ui/custom_control.h"

#include <windowsx.h>

#include <algorithm>

#include "ui/application.h"
#include "ui/device_context.h"
#include "ui/form.h"
#include "ui/text.h"

namespace ui {

namespace {

// Marks our self-painting windows, so that a window under the cursor can be asked
// safely whether it is one of them.
constexpr const wchar_t* kControlProperty = L"ruDOZ.CustomControl";

CustomControl* customControlOf(HWND hwnd) {
  if (!hwnd || GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) return nullptr;
  return static_cast<CustomControl*>(GetPropW(hwnd, kControlProperty));
}

// The control the mouse was last seen over; the application's one cursor.
struct MouseWatch {
  CustomControl* current = nullptr;
  bool installed = false;
  // What the last look saw: asking the system which window lies under the cursor
  // is a costly round of window queries, worth it only when something moved.
  POINT cursor{-1, -1};
  unsigned windowChanges = 0;
  // When it was taken, and the mouse messages seen by then; a look put off waits
  // on this timer.
  ULONGLONG lookedAt = 0;
  unsigned mouseMessages = 0;
  UINT_PTR lookLater = 0;
};
// The program's loop looks at most this often while nothing tells that the mouse
// moved over a window of ours or that windows changed: the pointer leaving for
// another program's window is noticed within this time.
constexpr ULONGLONG kLookEveryMs = 50;
MouseWatch& mouseWatch() {
  static MouseWatch watch;
  return watch;
}

core::Color colorOf(const Control* c) {
  if (auto* form = dynamic_cast<const Form*>(c)) return form->color();
  if (auto* custom = dynamic_cast<const CustomControl*>(c)) return custom->color();
  return core::clBtnFace;
}

}  // namespace

CustomControl::~CustomControl() {
  MouseWatch& watch = mouseWatch();
  if (watch.current == this) watch.current = nullptr;
  if (handle()) RemovePropW(handle(), kControlProperty);
}

void CustomControl::create(Control* parent, const WindowClass& wc, int left, int top, int width, int height) {
  MouseWatch& watch = mouseWatch();
  if (!watch.installed) {
    watch.installed = true;
    app().addIdleHandler(&CustomControl::watchMouse);
  }
  const DWORD style = WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | wc.style2;
  createOwn(parent, wc.name, caption_, style, wc.exStyle, left, top, width, height, nullptr, wc.style);
  SetPropW(handle(), kControlProperty, this);
  timer_.create(*this, 40, false);
  timer_.OnTimer = [this] { timerTick(); };
  if (parentColor_) color_ = colorOf(this->parent());
}

void CustomControl::setColor(core::Color color) {
  if (color == color_) return;
  color_ = color;
  parentColor_ = false;
  colorChanged();
}

void CustomControl::setParentColor(bool on) {
  if (on == parentColor_) return;
  parentColor_ = on;
  if (on) takeParentColor();
}

void CustomControl::takeParentColor() {
  if (!parent()) return;
  const core::Color c = colorOf(parent());
  if (c == color_) return;
  color_ = c;
  colorChanged();
}

void CustomControl::parentColorChanged() {
  if (parentColor_) takeParentColor();
}

void CustomControl::colorChanged() {
  repaint();
  for (Control* c : children()) c->parentColorChanged();
}

void CustomControl::setCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  if (handle()) SetWindowTextW(handle(), screenText(caption_).c_str());
  textChanged();
}

bool CustomControl::tabStop() const { return handle() && (GetWindowLongPtrW(handle(), GWL_STYLE) & WS_TABSTOP); }

void CustomControl::setTabStop(bool on) {
  if (!handle()) return;
  LONG_PTR style = GetWindowLongPtrW(handle(), GWL_STYLE);
  style = on ? (style | WS_TABSTOP) : (style & ~LONG_PTR(WS_TABSTOP));
  SetWindowLongPtrW(handle(), GWL_STYLE, style);
}

bool CustomControl::canFocus() const {
  if (!handle() || !parentForm(*this)) return false;
  // Up to the form, not including it: a hidden form's controls can still be focused
  // once it shows, as the form decides.
  for (const Control* c = this; c && !dynamic_cast<const Form*>(c); c = c->parent())
    if (!c->visible() || !c->enabled()) return false;
  return true;
}

void CustomControl::repaint() {
  if (handle()) InvalidateRect(handle(), nullptr, FALSE);
}

void CustomControl::endLoading() {
  loading_ = false;
  loaded();
}

void CustomControl::startTimer(unsigned intervalMs) {
  timer_.setInterval(intervalMs);
  timer_.setEnabled(true);
}

void CustomControl::stopTimer() { timer_.setEnabled(false); }

void CustomControl::broadcastFocusChanged(Control& form) {
  anyDescendant(form, [](Control& c) {
    if (auto* custom = dynamic_cast<CustomControl*>(&c)) custom->focusChanged();
    return false;
  });
}

void CustomControl::watchMouse() {
  MouseWatch& paced = mouseWatch();
  const ULONGLONG now = GetTickCount64();
  if (app().pacedIdle() && now - paced.lookedAt < kLookEveryMs && app().mouseMessages() == paced.mouseMessages &&
      windowChanges() == paced.windowChanges) {
    if (!paced.lookLater)
      paced.lookLater = SetTimer(nullptr, 0, UINT(kLookEveryMs - (now - paced.lookedAt)), [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        mouseWatch().lookLater = 0;
        watchMouse();
      });
    return;
  }
  paced.lookedAt = now;
  paced.mouseMessages = app().mouseMessages();
  POINT pt{};
  if (!GetCursorPos(&pt)) return;
  MouseWatch& watch = mouseWatch();
  if (pt.x == watch.cursor.x && pt.y == watch.cursor.y && windowChanges() == watch.windowChanges) return;
  watch.cursor = pt;
  watch.windowChanges = windowChanges();
  // Outside every window of ours, with no control to tell it has lost the mouse,
  // there is nothing to find.
  if (!watch.current) {
    const auto& forms = app().forms();
    const bool overOurs = std::any_of(forms.begin(), forms.end(), [&](const Form* f) {
      RECT r{};
      return f->handle() && IsWindowVisible(f->handle()) && GetWindowRect(f->handle(), &r) && PtInRect(&r, pt);
    });
    if (!overOurs) return;
  }
  // WindowFromPoint passes over disabled windows; going down from there with
  // ChildWindowFromPointEx finds them too.
  HWND h = WindowFromPoint(pt);
  while (h) {
    POINT local = pt;
    ScreenToClient(h, &local);
    HWND child = ChildWindowFromPointEx(h, local, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == h) break;
    h = child;
  }
  CustomControl* under = customControlOf(h);
  if (under == watch.current) return;
  // While a control holds the mouse, only that control hears of it. The watch
  // records only a control that was told it has the mouse: one passed over during
  // a capture is "entered" once the capture ends, when the watch runs again.
  CustomControl* capture = customControlOf(GetCapture());
  CustomControl* previous = watch.current;
  const bool tellUnder = under && (!capture || capture == under);
  watch.current = tellUnder ? under : nullptr;
  if (previous && (!capture || capture == previous)) previous->mouseLeave();
  if (tellUnder && watch.current == under) under->mouseEnter();
}

void CustomControl::mouseDown(MouseButton button, ShiftState shift, int x, int y) {
  if (OnMouseDown) app().guard([&] { OnMouseDown(button, shift, x, y); });
}

void CustomControl::mouseUp(MouseButton button, ShiftState shift, int x, int y) {
  if (OnMouseUp) app().guard([&] { OnMouseUp(button, shift, x, y); });
}

void CustomControl::mouseMove(ShiftState shift, int x, int y) {
  if (OnMouseMove) app().guard([&] { OnMouseMove(shift, x, y); });
}

void CustomControl::click() {
  if (OnClick) app().guard([&] { OnClick(); });
}

void CustomControl::keyDown(WORD& key, ShiftState shift) {
  if (OnKeyDown) app().guard([&] { OnKeyDown(key, shift); });
}

void CustomControl::paintTo(HDC dc) {
  const int w = placedClientWidth(), h = placedClientHeight();
  if (w < 1 || h < 1) return;
  if (buffer_.width() != w || buffer_.height() != h) buffer_.setSize(w, h);
  Canvas canvas(buffer_);
  canvas.fillRect({0, 0, w, h}, color_);
  paint(canvas, buffer_);
  GdiFlush();
  buffer_.copyTo(dc, 0, 0);
}

LRESULT CustomControl::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
  // The paint covers everything.
  if (LRESULT result = 0; paintMessage(handle(), msg, wParam, [this](HDC dc) { paintTo(dc); }, result)) return result;
  switch (msg) {
    case WM_SIZE: {
      const LRESULT r = Control::handleMessage(msg, wParam, lParam);
      resized();
      return r;
    }
    case WM_ENABLE:
      enabledChanged();
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (Form* form = parentForm(*this)) broadcastFocusChanged(*form);
      if (const auto& handler = msg == WM_SETFOCUS ? OnEnter : OnExit) app().guard(handler);
      return 0;
    case WM_SETFONT:
      repaint();
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetCapture(handle());
      clicked_ = true;
      mouseDown(MouseButton::Left, currentShiftState(), x, y);
      return 0;
    case WM_LBUTTONUP: {
      // Decided before the capture goes: releasing it cancels a pending click.
      const bool click = clicked_ && x >= 0 && y >= 0 && x < placedClientWidth() && y < placedClientHeight();
      clicked_ = false;
      if (GetCapture() == handle()) ReleaseCapture();
      if (click) this->click();
      mouseUp(MouseButton::Left, currentShiftState(), x, y);
      return 0;
    }
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      mouseDown(msg == WM_RBUTTONDOWN ? MouseButton::Right : MouseButton::Middle, currentShiftState(), x, y);
      break;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      mouseUp(msg == WM_RBUTTONUP ? MouseButton::Right : MouseButton::Middle, currentShiftState(), x, y);
      break;
    case WM_MOUSEMOVE: {
      // Leaving towards another program brings no message of ours; this one does,
      // and the idle watch that follows it notices the leave.
      TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle(), 0};
      TrackMouseEvent(&track);
      mouseMove(currentShiftState(), x, y);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != handle()) clicked_ = false;
      break;
    case WM_CANCELMODE:
      clicked_ = false;
      if (GetCapture() == handle()) ReleaseCapture();
      break;
    case WM_KEYDOWN: {
      WORD key = WORD(wParam);
      keyDown(key, currentShiftState());
      return 0;
    }
    case WM_NCDESTROY:
      RemovePropW(handle(), kControlProperty);
      if (mouseWatch().current == this) mouseWatch().current = nullptr;
      break;
    default:
      break;
  }
  return Control::handleMessage(msg, wParam, lParam);
}

}  // namespace ui
