// A top-level window: caption, colour, stay-on-top tool frame, auto-size to its
// visible controls, key preview, popup menu and the activate/close/key events.
#pragma once

#include <functional>
#include <optional>
#include <unordered_map>
#include <string>
#include <vector>

#include "core/color.h"
#include "core/draw_pace.h"
#include "ui/control.h"
#include "ui/timer.h"

namespace ui {

class PopupMenu;

enum class CloseAction { None, Hide, Free };

enum class BorderStyle {
  None,         // no frame at all
  Sizeable,     // ordinary resizable window
  SizeToolWin,  // resizable, thin tool-window title bar
  Dialog,       // fixed size, a title bar with the close box only
};

struct FormParams {
  std::string className;  // window class name, e.g. "TForm1"
  std::string caption;
  int left = 0, top = 0, width = 300, height = 200;
  BorderStyle border = BorderStyle::Sizeable;
  bool stayOnTop = false;
  bool minimizeBox = true;
  bool maximizeBox = true;
};

class Form : public Control {
 public:
  ~Form() override;
  // Takes a control's screen work until the event is over; false when the form
  // cannot hold it (it has no window).
  bool holdScreenWorkOf(Control& control);
  void dropScreenWorkOf(Control& control);
  // Puts everything held on the screen now (the end of an event does it): the
  // layout, then the controls' work, then the caption.
  void applyHeld();
  // Under a flood of spots the window follows at a pace a person can read: what
  // changes while a PacedChanges scope lives reaches the screen at most once per
  // `intervalMs` (the first change after a quiet spell at once; see core::DrawPace);
  // what the operator does, at the end of its event as always. 0: no pace.
  void setDrawPace(int intervalMs);
  // Takes the held work of a paced change until its time, when one is set and not
  // yet come; false when it is to be drawn now.
  bool holdsForPace();
  // The longest gap between the spots of a flood (20 a second): within it after the
  // pace's time the next spot draws; without one, a timer.
  static constexpr ULONGLONG kFloodGapMs = 50;
  // Held work waits for the pace's time.
  bool pacedWorkWaiting() const { return paceTimer_.enabled(); }
  // True while the work of several paced changes goes onto the screen together.
  bool drawingPaced() const { return drawingPaced_; }
  void create(const FormParams& params);

  std::string caption() const;
  void setCaption(const std::string& caption);
  core::Color color() const { return color_; }
  void setColor(core::Color color);

  // Set by buttons that carry a modal result when they are clicked.
  int modalResult() const { return modalResult_; }
  void setModalResult(int result) { modalResult_ = result; }

  // Extra border inside the frame, in pixels; controls lie inside it.
  void setBorderWidth(int pixels);
  int borderWidth() const { return borderWidth_; }
  // With auto-size on, the window fits itself to its visible controls.
  void setAutoSize(bool on);
  void setKeyPreview(bool on) { keyPreview_ = on; }
  void setPopupMenu(PopupMenu* menu) { popupMenu_ = menu; }
  void setClientSize(int width, int height);
  // With auto-size, the size the form is going to fit itself to.
  RECT bounds() const override;
  int clientWidth() const override;
  int clientHeight() const override;

  void setVisible(bool visible) override;
  // A control anywhere on the form moved, resized, showed or hid: the form plans
  // its layout again and applies it when the event is over.
  void descendantLayoutChanged();
  // Where the plan puts a control of the form; none when it stays where it is or
  // was asked to go.
  std::optional<RECT> plannedBoundsOf(const Control& control) const;
  // Shows the window, brings it to the front and makes it the active window.
  void bringToFront();
  // A window the operator cannot take hold of (a place saved on a screen since gone,
  // or only a corner left on one) moves onto the nearest monitor's work area.
  void moveOntoScreen();
  static constexpr int kGripWidth = 48, kGripHeight = 16;
  // Runs the close handler and then does what it decided.
  void close();
  // Shows the window at the top of its band without making it the active window:
  // the keyboard stays where the operator is typing.
  void showWithoutActivating();
  // Shows a hidden window behind the dialog, box or menu that runs now, without
  // taking the keyboard from it; a visible one stays where it is.
  void showBehindModal();
  // Shows the form as a dialog: the program's other visible forms take no input
  // until it hides (by a modal result or its close box). Messages go on being
  // handled, and the idle handlers run while the queue is empty. Returns the modal
  // result, 0 when the form was closed without one.
  int showModal();

  // The form's brush, for controls that take the form's colour.
  HBRUSH backgroundBrush() const { return solidBrush(color_); }

  std::function<void()> OnActivate;
  // The system's colours changed, or high contrast went on or off.
  std::function<void()> OnSystemLook;
  std::function<void(CloseAction&)> OnClose;
  std::function<void(WORD key, ShiftState shift)> OnKeyDown;

  // Called by the application for every key taken from the queue for this form or
  // one of its controls: key preview and keyboard navigation. Returns true when
  // the key was used up.
  virtual bool previewKey(const MSG& msg);

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  // A form holds its controls' moves, resizes, showing and hiding until the event
  // that made them is over; then its own size (when it fits itself to its
  // controls), the aligned controls and every change that was held take effect in
  // one batch, each control moved straight to its final place and painted anew
  // there. What is read meanwhile is what was asked for.
  void childLayoutChanged() override;
  bool holdsChildLayout() const override { return true; }
  void realign() override;
  // Puts what is held on the screen now.
  void applyLayout();

  void paintBorder();

 private:
  core::Color color_ = core::clBtnFace;
  int borderWidth_ = 0;
  bool autoSize_ = false;
  bool keyPreview_ = false;
  // The layout the held changes call for: the client size, and the places the
  // layout gives the controls on this form however deep (aligned, arranged, kept at
  // a margin). Worked out at each change, read by the getters, put on the screen
  // when the event is over.
  struct Plan {
    SIZE client{};
    std::unordered_map<const Control*, RECT> bounds;
  };
  void replan();
  void planContainer(const Control& container, RECT area, Plan& p) const;
  void applyTo(Control& container, const Plan& p);
  SIZE fittedClientSize() const;
  std::optional<Plan> plan_;
  bool layoutPending_ = false;
  bool applying_ = false;
  bool fitting_ = false;
  void postSettle();
  std::vector<Control*> screenWork_;
  std::optional<std::string> heldCaption_;
  std::optional<core::DrawPace> pace_;
  ui::Timer paceTimer_;
  ULONGLONG paceDue_ = 0;  // while the timer runs
  bool drawingPaced_ = false;
  bool pacedWork_ = false;  // the held work holds a spot's changes
  PopupMenu* popupMenu_ = nullptr;
  HWND lastFocus_ = nullptr;
  int modalResult_ = 0;
};

// Calls f(control) for every control inside root, depth first, in child order;
// stops early when f returns true, and then returns true.
template <class F>
bool anyDescendant(const Control& root, F&& f) {
  for (Control* c : root.children())
    if (f(*c) || anyDescendant(*c, f)) return true;
  return false;
}

// The form a control sits on, however deep; null for a control outside any form.
Form* parentForm(const Control& control);

}  // namespace ui
