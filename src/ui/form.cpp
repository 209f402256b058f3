#include "ui/form.h"

#include <algorithm>

#include "ui/application.h"
#include "ui/device_context.h"
#include "ui/popup_menu.h"
#include "ui/text.h"

namespace ui {

namespace {
std::wstring windowText(HWND hwnd) {
  std::wstring text(std::size_t(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(std::size_t(GetWindowTextW(hwnd, text.data(), int(text.size()))));
  return text;
}

}  // namespace

Form::~Form() {
  for (Control* c : screenWork_) c->screenWorkHolder_ = nullptr;
  app().formDestroyed(*this);
}

void Form::create(const FormParams& p) {
  DWORD style = WS_CLIPCHILDREN;
  DWORD exStyle = WS_EX_CONTROLPARENT;
  switch (p.border) {
    case BorderStyle::None:
      style |= WS_POPUP;
      break;
    case BorderStyle::Sizeable:
      style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
      if (p.minimizeBox) style |= WS_MINIMIZEBOX;
      if (p.maximizeBox) style |= WS_MAXIMIZEBOX;
      break;
    case BorderStyle::SizeToolWin:
      style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
      exStyle |= WS_EX_TOOLWINDOW;
      break;
    case BorderStyle::Dialog:
      style |= WS_POPUP | WS_CAPTION | WS_SYSMENU;
      exStyle |= WS_EX_DLGMODALFRAME;
      break;
  }
  if (p.stayOnTop) exStyle |= WS_EX_TOPMOST;
  createOwn(nullptr, p.className, p.caption, style, exStyle, p.left, p.top, p.width, p.height, app().ownerWindow());
  Font defaultFont;
  setFont(defaultFont);
  app().formCreated(*this);
}

std::string Form::caption() const {
  if (heldCaption_) return narrow(titleText(*heldCaption_));  // as the title will show it
  return handle() ? narrow(windowText(handle())) : std::string();
}

void Form::setCaption(const std::string& caption) {
  if (!handle()) return;
  // The title several handlers write in one event reaches the screen once, after
  // the event.
  heldCaption_ = caption;
  postSettle();
}

void Form::postSettle() {
  // Done after the event that changed it, with the other forms it changed.
  if (handle()) app().settleLater(*this);
}

bool Form::holdScreenWorkOf(Control& control) {
  if (!handle()) return false;
  screenWork_.push_back(&control);
  postSettle();
  return true;
}

void Form::dropScreenWorkOf(Control& control) {
  screenWork_.erase(std::remove(screenWork_.begin(), screenWork_.end(), &control), screenWork_.end());
}

void Form::setDrawPace(int intervalMs) {
  pace_.emplace(core::Millis(intervalMs));  // no interval holds nothing
  if (!paceTimer_.OnTimer) {
    paceTimer_.create(*this, unsigned(intervalMs), false);
    paceTimer_.OnTimer = [this] {
      struct Drawing {
        bool& on;
        ~Drawing() { on = false; }
      } drawing{drawingPaced_ = true};
      applyHeld();
    };
  }
}

bool Form::holdsForPace() {
  if (!pace_ || !handle()) return false;
  pacedWork_ = true;
  const ULONGLONG now = GetTickCount64();
  const ULONGLONG due = ULONGLONG(pace_->due(core::Millis(now)));
  if (due <= now) return false;
  // While the flood goes on, the first change at or after that time draws, right
  // after its own event: the drawing then has the gap before the next spot to
  // itself, and a spot sent meanwhile seldom waits for it. The timer draws what the
  // last spots of a flood left, a little later.
  const ULONGLONG last = due + kFloodGapMs;
  if (!paceTimer_.enabled() || last < paceDue_) {
    paceDue_ = last;
    paceTimer_.setInterval(unsigned(last - now));
    paceTimer_.setEnabled(true);
  }
  return true;
}

void Form::applyHeld() {
  paceTimer_.setEnabled(false);
  // The pace counts the drawings of spots only: the blinking or the operator's
  // typing drawn just before keeps no spot at a human pace waiting.
  if (pacedWork_ && pace_) pace_->drawn(core::Millis(GetTickCount64()));
  pacedWork_ = false;
  if (layoutPending_) applyLayout();
  // A control's work may hold more (a repaint a text write asks for): take turns
  // until nothing is left.
  while (!screenWork_.empty()) {
    std::vector<Control*> work;
    work.swap(screenWork_);
    for (Control* c : work) c->applyScreenWork();
  }
  if (heldCaption_ && handle()) {
    const std::wstring text = titleText(*heldCaption_);
    heldCaption_.reset();
    // The same title again would still redraw the frame.
    if (text != windowText(handle())) SetWindowTextW(handle(), text.c_str());
  }
}

void Form::setColor(core::Color color) {
  if (color == color_) return;
  color_ = color;
  if (handle()) RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  for (Control* c : children()) c->parentColorChanged();
}

Form* parentForm(const Control& control) { return control.form_; }

void Form::setBorderWidth(int pixels) {
  borderWidth_ = std::max(pixels, 0);
  if (handle())
    SetWindowPos(handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Form::setAutoSize(bool on) {
  autoSize_ = on;
  if (on) {
    layoutPending_ = true;
    replan();
    applyLayout();
  }
}

void Form::setClientSize(int width, int height) {
  RECT window{}, client{};
  GetWindowRect(handle(), &window);
  GetClientRect(handle(), &client);
  int outerWidth, outerHeight;
  if (client.right > 0 && client.bottom > 0) {
    // The frame the window has now: no metrics or DPI query on the way.
    outerWidth = width + (window.right - window.left) - client.right;
    outerHeight = height + (window.bottom - window.top) - client.bottom;
  } else {
    RECT r{0, 0, width + 2 * borderWidth_, height + 2 * borderWidth_};
    AdjustWindowRectEx(&r, DWORD(GetWindowLongPtrW(handle(), GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongPtrW(handle(), GWL_EXSTYLE)));
    outerWidth = r.right - r.left;
    outerHeight = r.bottom - r.top;
  }
  if (outerWidth == window.right - window.left && outerHeight == window.bottom - window.top) return;
  SetWindowPos(handle(), nullptr, 0, 0, outerWidth, outerHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::childLayoutChanged() { descendantLayoutChanged(); }

void Form::descendantLayoutChanged() {
  // While the held layout goes to the screen, the moves it makes come back here.
  if (applying_) return;
  layoutPending_ = true;
  replan();
  postSettle();
}
SIZE Form::fittedClientSize() const {
  int width = 0, height = 0, stacked = 0;
  for (Control* c : children()) {
    if (!c->visible()) continue;
    // Its own place and size: what alignment gives it comes from this very plan.
    const RECT r = c->heldBounds_ ? *c->heldBounds_ : c->placedBounds();
    switch (c->align()) {
      case Align::None:
        width = std::max(width, int(r.right));
        height = std::max(height, int(r.bottom));
        break;
      case Align::Top:
      case Align::Bottom:
        stacked += r.bottom - r.top;
        break;
      default:
        break;
    }
  }
  return {width, height + stacked};
}

void Form::replan() {
  Plan p;
  if (autoSize_) {
    p.client = fittedClientSize();
  } else {
    RECT r{};
    if (handle()) GetClientRect(handle(), &r);
    p.client = {r.right, r.bottom};
  }
  planContainer(*this, alignArea(p.client), p);
  plan_ = std::move(p);
}

void Form::planContainer(const Control& container, RECT area, Plan& p) const {
  for (const Placement& placed : container.alignedPlaces(area)) p.bounds[placed.control] = placed.bounds;
  // Each container inside lays its children out in the size it is going to have.
  for (const Control* c : container.children()) {
    if (c->children().empty()) continue;
    const auto planned = p.bounds.find(c);
    const RECT outer = planned != p.bounds.end() ? planned->second : c->heldBounds_ ? *c->heldBounds_ : c->placedBounds();
    const RECT placed = c->placedBounds(), client = c->placedClientRect();
    const SIZE size{std::max(0L, (outer.right - outer.left) - (placed.right - placed.left - client.right)),
                    std::max(0L, (outer.bottom - outer.top) - (placed.bottom - placed.top - client.bottom))};
    planContainer(*c, c->alignArea(size), p);
  }
}

std::optional<RECT> Form::plannedBoundsOf(const Control& control) const {
  if (!layoutPending_ || !plan_) return std::nullopt;
  const auto it = plan_->bounds.find(&control);
  if (it == plan_->bounds.end()) return std::nullopt;
  return it->second;
}

RECT Form::bounds() const {
  RECT r = placedBounds();
  if (autoSize_ && layoutPending_ && plan_) {
    const RECT client = placedClientRect();
    r.right += plan_->client.cx - client.right;
    r.bottom += plan_->client.cy - client.bottom;
  }
  return r;
}

int Form::clientWidth() const {
  return autoSize_ && layoutPending_ && plan_ ? int(plan_->client.cx) : Control::clientWidth();
}
int Form::clientHeight() const {
  return autoSize_ && layoutPending_ && plan_ ? int(plan_->client.cy) : Control::clientHeight();
}

void Form::realign() {
  // The window was resized (by the operator, or by the layout itself).
  if (!applying_) applyLayout();
}

namespace {
bool holdsFocus(HWND window) {
  HWND focus = GetFocus();
  return focus && (focus == window || IsChild(window, focus));
}
}  // namespace

void Form::applyLayout() {
  if (applying_ || !handle()) return;
  if (!plan_) replan();
  applying_ = true;
  if (autoSize_ && layoutPending_) {
    fitting_ = true;
    setClientSize(int(plan_->client.cx), int(plan_->client.cy));
    fitting_ = false;
  }
  RECT client{};
  GetClientRect(handle(), &client);
  if (client.right != plan_->client.cx || client.bottom != plan_->client.cy) {
    // The system would not take the planned size: the plan follows the real one.
    Plan p;
    p.client = {client.right, client.bottom};
    planContainer(*this, alignArea(p.client), p);
    plan_ = std::move(p);
  }
  const Plan p = std::move(*plan_);
  plan_.reset();
  layoutPending_ = false;
  applyTo(*this, p);
  applying_ = false;
}

void Form::applyTo(Control& container, const Plan& p) {
  // Every child goes straight to its final place and visibility, all of one
  // container in one batch. One that moves is painted anew there rather than given
  // the pixels of where it was, which may by now belong to a neighbour that grew
  // over them.
  struct Move {
    HWND window;
    RECT target;
    UINT flags;
  };
  std::vector<Move> batchMoves;
  std::vector<HWND> hideLater;
  for (Control* c : container.children()) {
    const auto planned = p.bounds.find(c);
    const RECT target = planned != p.bounds.end() ? planned->second : c->heldBounds_ ? *c->heldBounds_ : c->placedBounds();
    const bool shownNow = c->placedVisible();
    const bool show = c->heldVisible_.value_or(shownNow);
    c->heldBounds_.reset();
    c->heldVisible_.reset();
    const RECT now = c->placedBounds();
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    const bool moves = !EqualRect(&now, &target);
    flags |= moves ? SWP_NOCOPYBITS : SWP_NOMOVE | SWP_NOSIZE;
    if (show != shownNow) {
      // A control that holds the focus gives it up to its form when it hides, as
      // hiding it alone does.
      if (!show && holdsFocus(c->handle())) hideLater.push_back(c->handle());
      else flags |= show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
    }
    if (moves || (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))) batchMoves.push_back({c->handle(), target, flags});
  }
  HDWP batch = batchMoves.empty() ? nullptr : BeginDeferWindowPos(int(batchMoves.size()));
  for (const Move& m : batchMoves)
    if (batch)
      batch = DeferWindowPos(batch, m.window, nullptr, m.target.left, m.target.top, m.target.right - m.target.left,
                             m.target.bottom - m.target.top, m.flags);
  if (batch) {
    EndDeferWindowPos(batch);
  } else {
    // The system could not make the batch (it then drops what it held): each
    // control goes by itself.
    for (const Move& m : batchMoves)
      SetWindowPos(m.window, nullptr, m.target.left, m.target.top, m.target.right - m.target.left,
                   m.target.bottom - m.target.top, m.flags);
  }
  for (HWND h : hideLater) ShowWindow(h, SW_HIDE);
  // Then what lies inside each container, in the size it now has.
  for (Control* c : container.children())
    if (!c->children().empty()) applyTo(*c, p);
}

void Form::setVisible(bool v) {
  if (!handle() || v == visible()) return;
  applyHeld();
  if (v && this == app().mainForm()) app().mainFormShown(true);
  ShowWindow(handle(), v ? SW_SHOW : SW_HIDE);
  if (!v && this == app().mainForm()) app().mainFormShown(false);
}

void Form::bringToFront() {
  if (!handle()) return;
  applyHeld();
  if (this == app().mainForm()) app().mainFormShown(true);
  ShowWindow(handle(), SW_SHOW);
  SetWindowPos(handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(handle());
  SetActiveWindow(handle());
}

void Form::moveOntoScreen() {
  if (!handle()) return;
  RECT r = bounds();
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info)) return;
  const RECT& work = info.rcWork;
  // On the screen is where the operator can take hold of it: a good piece of its
  // width on the nearest monitor's work area, and its top edge, where the title bar
  // is, at most half a bar above or below that area. A pixel or two in a corner is
  // not.
  const int width = std::min(int(r.right - r.left), int(work.right - work.left));
  const int height = std::min(int(r.bottom - r.top), int(work.bottom - work.top));
  const long overlap = std::min(r.right, work.right) - std::max(r.left, work.left);
  if (overlap >= std::min(width, kGripWidth) && r.top >= work.top - kGripHeight / 2 &&
      r.top <= work.bottom - kGripHeight)
    return;
  const int left = std::clamp(int(r.left), int(work.left), int(work.right) - width);
  const int top = std::clamp(int(r.top), int(work.top), int(work.bottom) - height);
  setBounds(left, top, width, height);
}

void Form::showWithoutActivating() {
  if (!handle()) return;
  applyHeld();
  if (this == app().mainForm()) app().mainFormShown(true);
  // A stay-on-top window goes to the top of the windows that stay on top: "the top"
  // alone leaves it under them (under Wine).
  const bool onTop = GetWindowLongPtrW(handle(), GWL_EXSTYLE) & WS_EX_TOPMOST;
  SetWindowPos(handle(), onTop ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void Form::showBehindModal() {
  if (!handle() || IsWindowVisible(handle())) return;
  applyHeld();
  // Just below the dialog or box that has the keyboard, where that one stays on top
  // too; elsewhere where it was.
  HWND modal = GetActiveWindow();
  const bool below = modal && modal != handle() && (GetWindowLongPtrW(modal, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetWindowPos(handle(), below ? modal : nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW | (below ? 0 : SWP_NOZORDER));
}

int Form::showModal() {
  if (!handle()) return 0;
  const ModalScope modal;
  modalResult_ = 0;
  HWND previous = GetActiveWindow();
  std::vector<HWND> disabled;
  for (Form* form : app().forms()) {
    HWND other = form->handle();
    if (form == this || !other || !IsWindowVisible(other) || !IsWindowEnabled(other)) continue;
    EnableWindow(other, FALSE);
    disabled.push_back(other);
  }
  // The keyboard goes to the first field, its text selected to be typed over, and
  // comes back there whenever the dialog is activated.
  HWND first = GetNextDlgTabItem(handle(), nullptr, FALSE);
  if (first) lastFocus_ = first;
  bringToFront();
  if (first) {
    if (!holdsFocus(handle())) SetFocus(first);
    if (SendMessageW(first, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(first, EM_SETSEL, 0, -1);
  }
  const auto open = [this] { return handle() && modalResult_ == 0 && IsWindowVisible(handle()) && !app().terminated(); };
  while (open()) {
    app().processMessages();
    if (!open()) break;
    app().idle();
    if (open()) WaitMessage();
  }
  // The others take input again before this one hides, so that the activation can
  // go back to where it was.
  for (HWND other : disabled)
    if (IsWindow(other)) EnableWindow(other, TRUE);
  if (handle()) ShowWindow(handle(), SW_HIDE);
  if (previous && IsWindow(previous) && IsWindowVisible(previous)) SetActiveWindow(previous);
  return modalResult_;
}

void Form::close() {
  if (handle()) SendMessageW(handle(), WM_CLOSE, 0, 0);
}

bool Form::previewKey(const MSG& msg) {
  const WORD key = WORD(msg.wParam);
  if (keyPreview_ && OnKeyDown) {
    const ShiftState shift = currentShiftState();
    app().guard([&] { OnKeyDown(key, shift); });
  }
  if (!handle()) return true;  // the handler closed the window
  if (key == VK_TAB && msg.message == WM_KEYDOWN) {
    const ShiftState shift = currentShiftState();
    if (shift.ctrl || shift.alt) return false;
    HWND focus = GetFocus();
    if (focus && (SendMessageW(focus, WM_GETDLGCODE, msg.wParam, LPARAM(&msg)) & DLGC_WANTTAB)) return false;
    if (HWND next = GetNextDlgTabItem(handle(), focus, shift.shift)) {
      SetFocus(next);
      if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, EM_SETSEL, 0, -1);
    }
    return true;
  }
  if ((key == VK_RETURN || key == VK_ESCAPE) && msg.message == WM_KEYDOWN) {
    // A control that takes every key (a multi-line field) keeps Enter and Escape;
    // otherwise the form's controls are offered them (default and cancel buttons).
    HWND focus = GetFocus();
    if (focus && (SendMessageW(focus, WM_GETDLGCODE, msg.wParam, LPARAM(&msg)) & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)))
      return false;
    // The focused control first: a default button takes Enter only when the focused
    // control does not, wherever it lies among the form's children.
    const ShiftState shift = currentShiftState();
    Control* focused = Control::fromHandle(focus);
    if (focused && focused != this && IsChild(handle(), focus) && focused->dialogKey(key, shift)) return true;
    return anyDescendant(*this, [&](Control& c) { return &c != focused && c.dialogKey(key, shift); });
  }
  return false;
}

void Form::paintBorder() {
  if (borderWidth_ <= 0) return;
  const WindowDc whole(handle(), WindowDc::Area::Whole);
  HDC dc = whole.get();
  RECT window{}, client{};
  GetWindowRect(handle(), &window);
  GetClientRect(handle(), &client);
  MapWindowPoints(handle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -window.left, -window.top);
  RECT ring = client;
  InflateRect(&ring, borderWidth_, borderWidth_);
  ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
  FillRect(dc, &ring, backgroundBrush());
}

LRESULT Form::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCCALCSIZE: {
      const LRESULT r = defaultHandling(msg, wParam, lParam);
      RECT* rc = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
      InflateRect(rc, -borderWidth_, -borderWidth_);
      if (rc->right < rc->left) rc->right = rc->left;
      if (rc->bottom < rc->top) rc->bottom = rc->top;
      return r;
    }
    case WM_NCPAINT: {
      const LRESULT r = defaultHandling(msg, wParam, lParam);
      paintBorder();
      return r;
    }
    case WM_SETTINGCHANGE:
      if (wParam != SPI_SETHIGHCONTRAST) break;
      [[fallthrough]];
    case WM_SYSCOLORCHANGE:
      // High contrast on or off, or new system colours: every control draws again
      // with them, the frame too, and the form hears of it.
      app().systemLookChanged();
      if (OnSystemLook) app().guard([this] { OnSystemLook(); });
      anyDescendant(*this, [](Control& c) {
        c.systemColorsChanged();
        return false;
      });
      if (handle()) RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
      break;
    case WM_WINDOWPOSCHANGING:
      // The size the form fits itself to is its controls' own: the system's limits
      // for a size the operator drags (which ask the monitors for their areas) have
      // nothing to say about it.
      if (fitting_) return 0;
      break;
    case WM_ERASEBKGND: {
      RECT r{};
      GetClientRect(handle(), &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, backgroundBrush());
      return 1;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(handle(), focus)) lastFocus_ = focus;
      } else {
        const LRESULT r = defaultHandling(msg, wParam, lParam);
        if (lastFocus_ && IsChild(handle(), lastFocus_)) SetFocus(lastFocus_);
        app().formActivated(*this);
        return r;
      }
      break;
    case WM_CLOSE: {
      CloseAction action = this == app().mainForm() ? CloseAction::Free : CloseAction::Hide;
      app().guard([&] {
        if (OnClose) OnClose(action);
      });
      if (action == CloseAction::None) return 0;
      const bool isMain = this == app().mainForm();
      ShowWindow(handle(), SW_HIDE);
      if (action == CloseAction::Free) DestroyWindow(handle());
      if (isMain) app().terminate();
      return 0;
    }
    case WM_SYSCOMMAND:
      // Alt with a letter is the form's own shortcut, not a menu key: no beep.
      if ((wParam & 0xFFF0) == SC_KEYMENU && lParam != 0 && lParam != ' ') return 0;
      break;
    case WM_CONTEXTMENU:
      if (popupMenu_) {
        POINT pt{short(LOWORD(lParam)), short(HIWORD(lParam))};
        if (lParam == LPARAM(-1)) GetCursorPos(&pt);
        popupMenu_->popup(handle(), pt.x, pt.y);
        return 0;
      }
      break;
    default:
      break;
  }
  return Control::handleMessage(msg, wParam, lParam);
}

}  // namespace ui
