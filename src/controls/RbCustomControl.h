// The base of every styled control: whether the mouse is over it and the left button
// held on it, the fade between the resting, hover and pressed looks on its own
// timer, the caption switches and the link to a style manager.
#pragma once

#include <string>

#include "controls/RbDrawCore.h"
#include "core/fade.h"
#include "ui/custom_control.h"

class TRbCustomControl : public ui::CustomControl {
 public:
  ~TRbCustomControl() override;

  bool TextShadow() const { return textShadow_; }
  void setTextShadow(bool v) { setAndRepaint(textShadow_, v); }
  bool ShowCaption() const { return showCaption_; }
  void setShowCaption(bool v) { setAndRepaint(showCaption_, v); }
  TRbStyleManager* RbStyleManager() const { return styleManager_; }
  void setRbStyleManager(TRbStyleManager* manager);
  const std::string& About() const { return about_; }
  void setAbout(const std::string&) {}  // informational only

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  // Rebuilds the prepared images and repaints.
  virtual void UpdateBitmaps() = 0;

  // The fade state, for those who watch it.
  int OverLevel() const { return fade_.overLevel; }
  int ClickLevel() const { return fade_.clickLevel; }
  bool MouseInside() const { return fade_.mouseInside; }
  bool MousePressed() const { return fade_.mousePressed; }
  core::FadeStep FadeStep() const { return fade_.step; }

  // Restarts the control's one timer (id 1) at the interval of its fade speed.
  void StartFadeTimer();

  void componentRemoved(ui::Component& component) override;
  void parentColorChanged() override;
  // The prepared images hold the system's colours as they were.
  void systemColorsChanged() override {
    UpdateBitmaps();
    ui::CustomControl::systemColorsChanged();
  }

 protected:
  TRbCustomControl();

  virtual void DoEnabledChanged();
  virtual void DoFocusChanged() {}
  virtual void DoMouseDown();
  virtual void DoMouseUp() {}
  virtual void DoMouseEnter();
  virtual void DoMouseLeave();
  virtual void DoMouseMove() {}
  virtual void DoParentColorChanged() {}
  virtual void DoResize() {}
  virtual void DoTextChanged();
  virtual void FadeOutStep();
  virtual void FadeInStep();

  // The toolkit's notifications go to the hooks first, then to its own handling;
  // mouse buttons the other way round, and only the left one reaches the hooks.
  void enabledChanged() override;
  void focusChanged() override;
  void mouseEnter() override;
  void mouseLeave() override;
  void textChanged() override;
  void resized() override;
  void mouseMove(ui::ShiftState shift, int x, int y) override;
  void mouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y) override;
  void mouseUp(ui::MouseButton button, ui::ShiftState shift, int x, int y) override;
  void timerTick() override;

  // Fires an event inside the application's error boundary.
  void fire(const TNotifyEvent& event);

  // The setter rule of properties that are read at paint time: store a changed
  // value, then repaint.
  template <class T>
  void setAndRepaint(T& field, T value) {
    if (field == value) return;
    field = value;
    repaint();
  }

  core::FadeState fade_;
  core::TFadeSpeed fadeSpeed_ = core::fsSlow;

 private:
  bool textShadow_ = true;
  bool showCaption_ = true;
  TRbStyleManager* styleManager_ = nullptr;
  std::string about_;
};
