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

enum class Align { None, Top, Bottom, Left, Right, Client };

struct ShiftState {
  bool shift = false;
  bool alt = false;
  bool ctrl = false;
};
ShiftState currentShiftState();

class Control {
 public:
  Control() = default;
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  HWND handle() const { return hwnd_; }
  Control* parent() const { return parent_; }
  const std::vector<Control*>& children() const { return children_; }
  static Control* fromHandle(HWND hwnd);

  // Position relative to the parent's client area (the screen for top-level
  // windows), outer size. A layout still waiting to be done is done first, so the
  // answer is always the one the last change calls for.
  int left() const;
  int top() const;
  int width() const;
  int height() const;
  int clientWidth() const;
  int clientHeight() const;
  void setBounds(int left, int top, int width, int height);
  void setLeft(int v) { setBounds(v, top(), width(), height()); }
  void setTop(int v) { setBounds(left(), v, width(), height()); }
  void setWidth(int v) { setBounds(left(), top(), v, height()); }
  void setHeight(int v) { setBounds(left(), top(), width(), v); }

  // The control's own visibility, whatever its parent's.
  bool visible() const;
  virtual void setVisible(bool visible);
  void show() { setVisible(true); }
  void hide() { setVisible(false); }
  bool enabled() const;
  void setEnabled(bool enabled);
  void setFocus();
  bool focused() const;
  void invalidate();

  const Font& font() const { return font_; }
  void setFont(const Font& font);

  // Enter or Escape that the form offers to its controls (when the focused control
  // does not take every key itself). Returns true when the control used the key.
  virtual bool dialogKey(WORD /*key*/, ShiftState /*shift*/) { return false; }
  // The parent's colour changed.
  virtual void parentColorChanged() {}
  // A component of this control's form (or one it asked to hear of) is going away.
  virtual void componentRemoved(Component& /*component*/) {}

  // Puts a change of place, size or visibility that the form held back on the
  // window.
  void applyHeldLayout();

  Align align() const { return align_; }
  void setAlign(Align align);
  // Lays the aligned children out within alignRect().
  void realign();

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
  // A child was moved, resized, shown or hidden.
  virtual void childLayoutChanged();
  // Where aligned children are laid out: the client area unless a container says
  // otherwise.
  virtual RECT alignRect() const;
  // Does a layout that waits for the end of the current event, here or above.
  virtual void settleLayout() const;
  // True for a container that takes its children's moves, resizes and showing or
  // hiding at the end of the event, so that a change undone within one event costs
  // the window nothing.
  virtual bool holdsChildLayout() const { return false; }
  bool isAnsi() const { return ansi_; }

 private:
  static LRESULT CALLBACK ownWindowProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK subclassProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
  void attach(HWND hwnd, Control* parent);
  void detach();
  void notifyParent();

  HWND hwnd_ = nullptr;
  Control* parent_ = nullptr;
  std::vector<Control*> children_;
  WNDPROC systemProc_ = nullptr;
  bool ansi_ = false;
  bool aligning_ = false;
  Align align_ = Align::None;
  std::optional<RECT> heldBounds_;  // in the parent's client area
  std::optional<bool> heldVisible_;
  Font font_;
  GdiHandle hfont_;
};

}  // namespace ui
