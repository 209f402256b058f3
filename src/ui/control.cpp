#include "ui/control.h"

#include <algorithm>
#include <unordered_set>

#include "ui/application.h"
#include "ui/form.h"
#include "ui/text.h"
#include "ui/timer.h"

namespace ui {

ShiftState currentShiftState() {
  return {GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0, GetKeyState(VK_CONTROL) < 0};
}

namespace {
// Puts a wrapped system control's class procedure back, through the same A or W
// call that subclassed it.
void restoreClassProc(HWND hwnd, WNDPROC proc, bool ansi) {
  if (ansi)
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, LONG_PTR(proc));
  else
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, LONG_PTR(proc));
}
}  // namespace

namespace {
// The controls that exist: a window's user data is taken for one of ours only when
// it names one of them, so that another window's data is never used as a control.
std::unordered_set<const Control*>& liveControls() {
  static std::unordered_set<const Control*> live;
  return live;
}
}  // namespace

Control::Control() { liveControls().insert(this); }

Control::~Control() {
  liveControls().erase(this);
  for (Timer* t : timers_) t->owner_ = nullptr;
  if (screenWorkHolder_) screenWorkHolder_->dropScreenWorkOf(*this);
  if (hwnd_) {
    HWND h = hwnd_;
    const WNDPROC proc = systemProc_;
    const bool ansi = ansi_;
    detach();
    // A wrapped system control gets its class procedure back before it goes, so
    // that WM_DESTROY and WM_NCDESTROY reach the class (which frees its storage
    // there) rather than DefWindowProc.
    if (proc) restoreClassProc(h, proc, ansi);
    DestroyWindow(h);
  }
}

Control* Control::fromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  auto* c = reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return c && liveControls().count(c) && c->hwnd_ == hwnd ? c : nullptr;
}

void Control::attach(HWND hwnd, Control* parent) {
  hwnd_ = hwnd;
  parent_ = parent;
  if (parent_) form_ = parent_->form_ ? parent_->form_ : dynamic_cast<Form*>(parent_);
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  if (parent_) parent_->children_.push_back(this);
}

void Control::detach() {
  if (hwnd_) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  if (parent_) {
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  for (Control* child : children_) child->parent_ = nullptr;
  children_.clear();
  hwnd_ = nullptr;
  parent_ = nullptr;
  form_ = nullptr;
}

void Control::createSystem(Control* parent, const wchar_t* className, DWORD style, DWORD exStyle, int left, int top,
                           int width, int height, bool ansi) {
  HWND parentWnd = parent ? parent->handle() : nullptr;
  HWND h;
  if (ansi) {
    char narrowClass[64] = {};
    WideCharToMultiByte(CP_ACP, 0, className, -1, narrowClass, sizeof narrowClass, nullptr, nullptr);
    h = CreateWindowExA(exStyle, narrowClass, "", style | WS_CHILD, left, top, width, height, parentWnd, nullptr,
                        GetModuleHandleW(nullptr), nullptr);
  } else {
    h = CreateWindowExW(exStyle, className, L"", style | WS_CHILD, left, top, width, height, parentWnd, nullptr,
                        GetModuleHandleW(nullptr), nullptr);
  }
  if (!h) throw std::runtime_error("Cannot create a window of class " + narrow(className));
  ansi_ = ansi;
  attach(h, parent);
  // The subclass procedure set through the A or W call keeps the window ANSI or
  // Unicode as it was created.
  systemProc_ = ansi ? reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWLP_WNDPROC, LONG_PTR(&subclassProc)))
                     : reinterpret_cast<WNDPROC>(SetWindowLongPtrW(h, GWLP_WNDPROC, LONG_PTR(&subclassProc)));
  if (parent) setFont(parent->font());
}

void Control::createOwn(Control* parent, const std::string& className, const std::string& title, DWORD style,
                        DWORD exStyle, int left, int top, int width, int height, HWND ownerWindow, UINT classStyle) {
  const std::wstring cls = widen(className);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(instance, cls.c_str(), &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = &ownWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = cls.c_str();
    wc.hIcon = LoadIconW(instance, L"MAINICON");
    if (!RegisterClassExW(&wc)) throw std::runtime_error("Cannot register window class " + className);
  }
  parent_ = parent;  // attach() at WM_NCCREATE completes the link
  HWND parentWnd = parent ? parent->handle() : ownerWindow;
  if (parent) style |= WS_CHILD;
  HWND h = CreateWindowExW(exStyle, cls.c_str(), widen(title).c_str(), style, left, top, width, height, parentWnd,
                           nullptr, instance, this);
  if (!h) throw std::runtime_error("Cannot create a window of class " + className);
  if (parent) setFont(parent->font());
}

LRESULT CALLBACK Control::ownWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Control*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    Control* parent = self->parent_;
    self->parent_ = nullptr;
    self->attach(hwnd, parent);
  }
  Control* self = fromHandle(hwnd);
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  return self->dispatch(msg, wParam, lParam);
}

LRESULT CALLBACK Control::subclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Control* self = fromHandle(hwnd);
  if (!self) return IsWindowUnicode(hwnd) ? DefWindowProcW(hwnd, msg, wParam, lParam)
                                          : DefWindowProcA(hwnd, msg, wParam, lParam);
  return self->dispatch(msg, wParam, lParam);
}

LRESULT Control::dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_WINDOWPOSCHANGED || msg == WM_CAPTURECHANGED || msg == WM_DESTROY) ++windowChanges_;
  if (msg == WM_TIMER) {
    for (Timer* t : timers_)
      if (t->id_ == wParam) {
        t->tick();
        return 0;
      }
  }
  // No exception ever crosses a window procedure.
  LRESULT result = 0;
  bool handled = false;
  // A fault met while painting is told once the paint is over.
  const bool painting = msg == WM_PAINT || msg == WM_NCPAINT || msg == WM_ERASEBKGND || msg == WM_PRINTCLIENT;
  app().guard(
      [&] {
        result = handleMessage(msg, wParam, lParam);
        handled = true;
      },
      painting ? Boundary::ShowLater : Boundary::ShowError);
  if (!handled && msg != WM_NCDESTROY) result = 0;
  if (msg == WM_NCDESTROY && hwnd_) {
    const WNDPROC proc = systemProc_;
    const bool ansi = ansi_;
    HWND h = hwnd_;
    detach();
    if (proc) restoreClassProc(h, proc, ansi);
  }
  return result;
}

LRESULT Control::defaultHandling(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (systemProc_)
    return ansi_ ? CallWindowProcA(systemProc_, hwnd_, msg, wParam, lParam)
                 : CallWindowProcW(systemProc_, hwnd_, msg, wParam, lParam);
  return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT Control::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      if (lParam) {
        if (Control* child = fromHandle(reinterpret_cast<HWND>(lParam)); child && child->parent_ == this)
          if (child->onCommand(HIWORD(wParam))) return 0;
      }
      break;
    case WM_NOTIFY: {
      const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (Control* child = fromHandle(header.hwndFrom); child && child->parent_ == this) {
        LRESULT result = 0;
        if (child->onNotify(header, result)) return result;
      }
      break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      if (Control* child = fromHandle(reinterpret_cast<HWND>(lParam)); child && child->parent_ == this)
        if (HBRUSH brush = child->onCtlColor(reinterpret_cast<HDC>(wParam))) return reinterpret_cast<LRESULT>(brush);
      break;
    case WM_SIZE:
      realign();
      break;
    case WM_GETFONT:
      // Our own windows keep their font here; system controls keep their own.
      if (!systemProc_) return reinterpret_cast<LRESULT>(hfont_.get());
      break;
    default:
      break;
  }
  return defaultHandling(msg, wParam, lParam);
}

namespace {
RECT windowRectIn(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  if (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}
}  // namespace

RECT Control::placedBounds() const { return hwnd_ ? windowRectIn(hwnd_) : RECT{}; }

RECT Control::placedClientRect() const {
  RECT r{};
  if (hwnd_) GetClientRect(hwnd_, &r);
  return r;
}

bool Control::placedVisible() const { return hwnd_ && (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE); }

RECT Control::bounds() const {
  // Where the form's plan puts it (aligned, arranged, kept at a margin), else where
  // it was asked to go, else where it is.
  if (parent_)
    if (const Form* form = parentForm(*this))
      if (const auto planned = form->plannedBoundsOf(*this)) return *planned;
  if (heldBounds_) return *heldBounds_;
  return placedBounds();
}

int Control::width() const {
  const RECT r = bounds();
  return r.right - r.left;
}
int Control::height() const {
  const RECT r = bounds();
  return r.bottom - r.top;
}

// The client area of the size that is asked for: the frame is as thick as it is now.
int Control::clientWidth() const {
  if (!hwnd_) return 0;
  RECT client{}, placed = placedBounds();
  GetClientRect(hwnd_, &client);
  return std::max(0, width() - int(placed.right - placed.left - client.right));
}
int Control::clientHeight() const {
  if (!hwnd_) return 0;
  RECT client{}, placed = placedBounds();
  GetClientRect(hwnd_, &client);
  return std::max(0, height() - int(placed.bottom - placed.top - client.bottom));
}

void Control::setBounds(int left, int top, int width, int height) {
  if (!hwnd_) return;
  // Places and sizes beyond what any screen holds (from a settings file) are shown
  // at the edge of what the window system takes, and never overflow on the way.
  constexpr int kLimit = 32767;
  left = std::clamp(left, -kLimit, kLimit);
  top = std::clamp(top, -kLimit, kLimit);
  width = std::clamp(width, 0, kLimit);
  height = std::clamp(height, 0, kLimit);
  // A window that already has this place and size is left alone: moving it to
  // where it is would still cost a repaint.
  const RECT wanted{left, top, left + width, top + height};
  const RECT current = bounds();
  if (EqualRect(&wanted, &current)) return;
  if (parent_ && parent_->holdsChildLayout()) {
    const RECT now = placedBounds();
    if (EqualRect(&wanted, &now)) heldBounds_.reset();
    else heldBounds_ = wanted;
  } else {
    SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  notifyParent();
}

bool Control::visible() const {
  if (heldVisible_) return *heldVisible_;
  return placedVisible();
}

void Control::setVisible(bool v) {
  if (!hwnd_ || v == visible()) return;
  if (parent_ && parent_->holdsChildLayout()) {
    if (v == placedVisible()) heldVisible_.reset();
    else heldVisible_ = v;
  } else {
    ShowWindow(hwnd_, v ? SW_SHOWNA : SW_HIDE);
  }
  notifyParent();
}

bool Control::enabled() const { return hwnd_ && IsWindowEnabled(hwnd_); }
void Control::setEnabled(bool e) {
  if (hwnd_) EnableWindow(hwnd_, e);
}
void Control::setFocus() {
  if (hwnd_) SetFocus(hwnd_);
}
bool Control::focused() const { return hwnd_ && GetFocus() == hwnd_; }
void Control::invalidate() {
  dirty_ = RECT{0, 0, 0, 0};
  holdScreenWork();
}

void Control::invalidatePart(RECT part) {
  if (IsRectEmpty(&part)) return;
  if (!dirty_) dirty_ = part;
  else if (!IsRectEmpty(&*dirty_)) UnionRect(&*dirty_, &*dirty_, &part);
  holdScreenWork();
}

void Control::holdScreenWork() {
  if (!hwnd_ || screenWorkHolder_) return;
  Form* form = dynamic_cast<Form*>(this);
  if (!form) form = parentForm(*this);
  if (form && form->holdScreenWorkOf(*this)) screenWorkHolder_ = form;
  else applyScreenWork();
}

void Control::applyScreenWork() {
  screenWorkHolder_ = nullptr;
  if (!dirty_ || !hwnd_) return;
  const RECT r = *dirty_;
  dirty_.reset();
  if (IsRectEmpty(&r)) InvalidateRect(hwnd_, nullptr, TRUE);
  else InvalidateRect(hwnd_, &r, FALSE);
}

void Control::setFont(const Font& font) {
  font_ = font;
  hfont_ = font.create();
  if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, WPARAM(hfont_.get()), TRUE);
}

void Control::setAlign(Align a) {
  if (a == align_) return;
  align_ = a;
  notifyParent();
}

void Control::notifyParent() {
  if (parent_) parent_->childLayoutChanged();
}

void Control::childLayoutChanged() {
  if (Form* form = parentForm(*this)) form->descendantLayoutChanged();
  else realign();
}

bool Control::holdsChildLayout() const { return parentForm(*this) != nullptr; }

void Control::keepRightMargin() {
  if (!parent_) return;
  const RECT area = parent_->alignArea({parent_->clientWidth(), parent_->clientHeight()});
  rightMargin_ = int(area.right - bounds().right);
}

std::vector<Control::Placement> Control::alignedPlaces(RECT r) const {
  std::vector<Placement> places;
  arrange(r, places);
  auto place = [&](Control* c, int x, int y, int w, int h) {
    places.push_back({c, {x, y, x + std::max(w, 0), y + std::max(h, 0)}});
  };
  // Controls kept at their distance from the right edge, before the aligned ones
  // take their share of the area.
  for (Control* c : children_) {
    if (!c->rightMargin_ || c->align_ != Align::None || !c->visible()) continue;
    const RECT own = c->heldBounds_ ? *c->heldBounds_ : c->placedBounds();
    place(c, r.right - *c->rightMargin_ - (own.right - own.left), own.top, own.right - own.left, own.bottom - own.top);
  }
  for (Align pass : {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client}) {
    for (Control* c : children_) {
      if (c->align_ != pass || !c->visible()) continue;
      const RECT own = c->heldBounds_ ? *c->heldBounds_ : c->placedBounds();
      const int w = own.right - own.left, h = own.bottom - own.top;
      switch (pass) {
        case Align::Top:
          place(c, r.left, r.top, r.right - r.left, h);
          r.top += h;
          break;
        case Align::Bottom:
          place(c, r.left, r.bottom - h, r.right - r.left, h);
          r.bottom -= h;
          break;
        case Align::Left:
          place(c, r.left, r.top, w, r.bottom - r.top);
          r.left += w;
          break;
        case Align::Right:
          place(c, r.right - w, r.top, w, r.bottom - r.top);
          r.right -= w;
          break;
        case Align::Client:
          place(c, r.left, r.top, r.right - r.left, r.bottom - r.top);
          break;
        case Align::None:
          break;
      }
    }
  }
  return places;
}

void Control::realign() {
  if (Form* form = parentForm(*this)) {
    form->descendantLayoutChanged();
    return;
  }
  if (aligning_ || !hwnd_) return;
  aligning_ = true;
  const RECT client = placedClientRect();
  for (const Placement& p : alignedPlaces(alignArea({client.right, client.bottom}))) {
    const RECT now = p.control->placedBounds();
    if (EqualRect(&now, &p.bounds)) continue;
    SetWindowPos(p.control->hwnd_, nullptr, p.bounds.left, p.bounds.top, p.bounds.right - p.bounds.left,
                 p.bounds.bottom - p.bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  aligning_ = false;
}

}  // namespace ui
