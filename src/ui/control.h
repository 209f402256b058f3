// One window handle and the object that owns it: a window of our own class or a
// wrapped system control. The object is found from the handle in constant time
// (GWLP_USERDATA); one static window procedure forwards to handleMessage.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ui/gdi.h"
#include "ui/win.h"

namespace ui {

class Component;
class Form;
class Timer;

enum class Align { None, Top, Bottom, Left, Right, Client };

struct ShiftState {
  bool shift = false;
  bool alt = false;
  bool ctrl = false;
};
ShiftState currentShiftState();

class Control {
 public:
  Control();
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  HWND handle() const { return hwnd_; }
  // Counts the changes to the program's windows that can change which one lies
  // under the cursor: a move, a resize, showing or hiding, a capture ending.
  static unsigned windowChanges() { return windowChanges_; }
  Control* parent() const { return parent_; }
  const std::vector<Control*>& children() const { return children_; }
  // The control of one of the program's own windows; null for any other window.
  static Control* fromHandle(HWND hwnd);

  // Position relative to the parent's client area (the screen for top-level
  // windows), outer size, and the client area's size: what the last change asked
  // for, also while the form holds the change back until the event is over. Reading
  // never moves a window.
  int left() const { return bounds().left; }
  int top() const { return bounds().top; }
  int width() const;
  int height() const;
  virtual RECT bounds() const;
  virtual int clientWidth() const;
  virtual int clientHeight() const;
  void setBounds(int left, int top, int width, int height);
  void setLeft(int v) { setBounds(v, top(), width(), height()); }
  void setTop(int v) { setBounds(left(), v, width(), height()); }
  void setWidth(int v) { setBounds(left(), top(), v, height()); }
  void setHeight(int v) { setBounds(left(), top(), width(), v); }

  // The control's own visibility as last asked for, whatever its parent's.
  bool visible() const;
  virtual void setVisible(bool visible);
  void show() { setVisible(true); }
  void hide() { setVisible(false); }
  bool enabled() const;
  void setEnabled(bool enabled);
  void setFocus();
  bool focused() const;
  // Repaints the whole control, once the event is over (see holdScreenWork).
  void invalidate();

  const Font& font() const { return font_; }
  void setFont(const Font& font);

  // Enter or Escape that the form offers to its controls (when the focused control
  // does not take every key itself). Returns true when the control used the key.
  virtual bool dialogKey(WORD /*key*/, ShiftState /*shift*/) { return false; }
  // The parent's colour changed.
  virtual void parentColorChanged() {}
  // The system's colours changed: what was drawn with them is drawn again.
  virtual void systemColorsChanged() { invalidate(); }
  // A component of this control's form (or one it asked to hear of) is going away.
  virtual void componentRemoved(Component& /*component*/) {}

  Align align() const { return align_; }
  void setAlign(Align align);
  // The control keeps the distance it has now from its container's right edge when
  // the container's width changes (it lies over the aligned ones).
  void keepRightMargin();
  // Lays the aligned children out within alignArea(). Inside a form the form plans
  // it with every other change and puts it on the screen when the event is over
  // (see Form); a control on no form does it at once.
  virtual void realign();

 protected:
  // A system control (EDIT, BUTTON, LISTBOX...) as a child of parent, subclassed so
  // that its messages pass through handleMessage. An ANSI window keeps its text in
  // single bytes, untouched.
  void createSystem(Control* parent, const wchar_t* className, DWORD style, DWORD exStyle, int left, int top,
                    int width, int height, bool ansi = false);
  // A window of a class of our own, registered on first use. parent may be null (a
  // top-level window, owned by ownerWindow when given).
  void createOwn(Control* parent, const std::string& className, const std::string& title, DWORD style,
                 DWORD exStyle, int left, int top, int width, int height, HWND ownerWindow = nullptr,
                 UINT classStyle = CS_DBLCLKS);

  virtual LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT defaultHandling(UINT msg, WPARAM wParam, LPARAM lParam);

  // WM_COMMAND that the parent reflected to this control.
  virtual bool onCommand(WORD /*code*/) { return false; }
  // WM_NOTIFY that the parent reflected to this control; true when it set result.
  virtual bool onNotify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  // WM_CTLCOLOR* that the parent passes on; null lets the system choose.
  virtual HBRUSH onCtlColor(HDC /*dc*/) { return nullptr; }
  // A child was moved, resized, shown or hidden: inside a form the form plans again.
  virtual void childLayoutChanged();
  // Where aligned children are laid out: the client area unless a container says
  // otherwise.
  virtual RECT alignArea(SIZE client) const { return {0, 0, client.cx, client.cy}; }
  // True for a container whose children's moves, resizes and showing or hiding wait
  // for the end of the event, so that a change undone within one event costs the
  // window nothing: every container on a form.
  virtual bool holdsChildLayout() const;
  // Where the window lies and whether it is shown, now, whatever is held.
  RECT placedBounds() const;
  bool placedVisible() const;
  RECT placedClientRect() const;
  // The client area as the window has it now: what painting and hit testing use.
  int placedClientWidth() const { return int(placedClientRect().right); }
  int placedClientHeight() const { return int(placedClientRect().bottom); }
  // The aligned children's places within `area`, in the order they take it; a
  // child's own size comes from sizeOf (which gives what is planned for it).
  struct Placement {
    Control* control;
    RECT bounds;
  };
  std::vector<Placement> alignedPlaces(RECT area) const;
  // Where the children that neither align nor keep a margin go, for a container
  // with a layout of its own (parts sharing its height by thirds, say): computed
  // from the area alone, and applied with the aligned ones.
  virtual void arrange(RECT /*area*/, std::vector<Placement>& /*places*/) const {}
  bool isAnsi() const { return ansi_; }

  // Work on the screen (a text written, a part to repaint) that the control's form
  // holds until the event is over, so that what a handler changes several times is
  // put on the screen once; outside a form it is done at once.
  void holdScreenWork();
  // Does the work held; the base repaints what invalidate() and invalidatePart()
  // marked.
  virtual void applyScreenWork();
  // Marks a part of the client area for repainting, with the rest that was marked.
  void invalidatePart(RECT part);

 private:
  static LRESULT CALLBACK ownWindowProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK subclassProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
  void attach(HWND hwnd, Control* parent);
  void detach();
  void notifyParent();
  friend class Form;  // takes over what it held back
  friend Form* parentForm(const Control& control);

  static inline unsigned windowChanges_ = 0;
  HWND hwnd_ = nullptr;
  Control* parent_ = nullptr;
  friend class Timer;
  std::vector<Timer*> timers_;  // ticking on this window
  UINT_PTR nextTimerId_ = 1;
  std::vector<Control*> children_;
  WNDPROC systemProc_ = nullptr;
  bool ansi_ = false;
  bool aligning_ = false;
  Align align_ = Align::None;
  std::optional<int> rightMargin_;
  Form* form_ = nullptr;  // the form it sits on, however deep (see parentForm)
  std::optional<RECT> heldBounds_;  // in the parent's client area
  std::optional<bool> heldVisible_;
  Form* screenWorkHolder_ = nullptr;  // the form holding this control's screen work
  std::optional<RECT> dirty_;  // to repaint; the whole client area when empty-sized
  Font font_;
  GdiHandle hfont_;
};

}  // namespace ui
