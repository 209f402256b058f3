// A top-level window: caption, colour, stay-on-top tool frame, auto-size to its
// visible controls, key preview, popup menu and the activate/close/key events.
#pragma once

#include <functional>
#include <string>

#include "core/color.h"
#include "ui/control.h"

namespace ui {

class PopupMenu;

enum class CloseAction { None, Hide, Free };

enum class BorderStyle {
  None,         // no frame at all
  Sizeable,     // ordinary resizable window
  SizeToolWin,  // resizable, thin tool-window title bar
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

  void setVisible(bool visible) override;
  // Shows the window, brings it to the front and makes it the active window.
  void bringToFront();
  // Runs the close handler and then does what it decided.
  void close();

  // The form's brush, for controls that take the form's colour.
  HBRUSH backgroundBrush() { return brush_.get(color_); }

  std::function<void()> OnActivate;
  std::function<void(CloseAction&)> OnClose;
  std::function<void(WORD key, ShiftState shift)> OnKeyDown;

  // Called by the application for every key taken from the queue for this form or
  // one of its controls: key preview and keyboard navigation. Returns true when
  // the key was used up.
  virtual bool previewKey(const MSG& msg);

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  // A child moved, resized, showed or hid: the form's own size and its aligned
  // children follow once, when the event that changed them is over (or earlier, as
  // soon as anyone asks for a size or place).
  void childLayoutChanged() override;
  void settleLayout() const override;
  // A form that fits itself to its controls holds their changes until the event
  // is over.
  bool holdsChildLayout() const override { return autoSize_; }
  void adjustSize();
  void paintBorder();

 private:
  core::Color color_ = core::clBtnFace;
  Brush brush_;
  int borderWidth_ = 0;
  bool autoSize_ = false;
  bool keyPreview_ = false;
  bool sizing_ = false;
  mutable bool layoutPending_ = false;
  bool settlePosted_ = false;
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
