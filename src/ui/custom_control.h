// A self-painting window control: it paints its whole area off screen and copies it
// in one block (no background erase, so no flicker), hears when the mouse enters and
// leaves it (watched while the application is idle, disabled controls included),
// has one window timer (id 1) and a loading phase in which a window's stored
// description sets its properties.
#pragma once

#include <functional>
#include <string>

#include "core/color.h"
#include "ui/canvas.h"
#include "ui/control.h"
#include "ui/dib_surface.h"
#include "ui/timer.h"

namespace ui {

enum class MouseButton { Left, Right, Middle };

struct WindowClass {
  std::string name;
  UINT style = CS_HREDRAW | CS_VREDRAW;  // no CS_DBLCLKS: a quick second click is a click
  DWORD exStyle = 0;
  DWORD style2 = 0;  // extra window styles (WS_CLIPCHILDREN for containers)
};

class CustomControl : public Control {
 public:
  ~CustomControl() override;

  core::Color color() const { return color_; }
  void setColor(core::Color color);
  bool parentColor() const { return parentColor_; }
  void setParentColor(bool on);

  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& caption);

  bool tabStop() const;
  void setTabStop(bool on);
  // Visible and enabled up to its form: it could take the focus.
  bool canFocus() const;
  // Paints again soon (no background erase).
  void repaint();

  // Properties set between these two calls come from a window's stored description;
  // endLoading() tells the control (loaded()). Loading may begin before the window
  // is created, so that creating it rebuilds nothing yet.
  void beginLoading() { loading_ = true; }
  void endLoading();
  bool loading() const { return loading_; }

  // The fade timer: the control's one window timer, id 1.
  void startTimer(unsigned intervalMs);
  void stopTimer();

  // Toolkit events; they run inside the application's error boundary.
  std::function<void()> OnClick;
  std::function<void(MouseButton, ShiftState, int x, int y)> OnMouseDown;
  std::function<void(MouseButton, ShiftState, int x, int y)> OnMouseUp;
  std::function<void(ShiftState, int x, int y)> OnMouseMove;
  std::function<void(WORD& key, ShiftState)> OnKeyDown;
  std::function<void()> OnEnter;
  std::function<void()> OnExit;

  // Tells every self-painting control on `form` that the focus moved.
  static void broadcastFocusChanged(Control& form);
  // Finds the control under the cursor and reports entering and leaving; run by the
  // application when it is idle.
  static void watchMouse();

  void parentColorChanged() override;
  void systemColorsChanged() override { colorChanged(); }

 protected:
  CustomControl() = default;
  void create(Control* parent, const WindowClass& windowClass, int left, int top, int width, int height);

  // Draws the whole control; `buffer` is the off-screen surface under `canvas`,
  // already filled with the control's colour.
  virtual void paint(Canvas& canvas, DibSurface& buffer) = 0;

  // Notifications; the base versions do what the comment says.
  virtual void enabledChanged() { repaint(); }
  virtual void focusChanged() {}
  virtual void mouseEnter() {}
  virtual void mouseLeave() {}
  virtual void textChanged() { repaint(); }
  virtual void colorChanged();  // repaint and tell the children
  virtual void resized() {}
  virtual void loaded() {}
  virtual void timerTick() {}
  virtual void mouseDown(MouseButton button, ShiftState shift, int x, int y);  // OnMouseDown
  virtual void mouseUp(MouseButton button, ShiftState shift, int x, int y);    // OnMouseUp
  virtual void mouseMove(ShiftState shift, int x, int y);                      // OnMouseMove
  virtual void click();                                                          // OnClick
  virtual void keyDown(WORD& key, ShiftState shift);                           // OnKeyDown

  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void paintTo(HDC dc);
  void takeParentColor();

  core::Color color_ = core::clBtnFace;
  bool parentColor_ = true;
  std::string caption_;
  bool loading_ = false;
  Timer timer_;  // the one timer of a control that animates
  bool clicked_ = false;  // the left button went down here and may still click
  DibSurface buffer_;
};

}  // namespace ui
