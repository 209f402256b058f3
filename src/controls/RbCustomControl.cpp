// The base of the styled controls: caption switches, the style-manager link and the
// fade between the resting, hover and pressed looks.
#include "controls/RbCustomControl.h"

#include "ui/application.h"

TRbCustomControl::TRbCustomControl() : about_("RbControls 1.0: styled buttons, panels and check boxes") {}

TRbCustomControl::~TRbCustomControl() {
  if (styleManager_) {
    styleManager_->UnregisterControl(this);
    styleManager_->removeFreeNotification(this);
  }
}

void TRbCustomControl::setRbStyleManager(TRbStyleManager* manager) {
  if (manager == styleManager_) return;
  if (styleManager_) {
    styleManager_->UnregisterControl(this);
    styleManager_->removeFreeNotification(this);
  }
  if (manager) {
    manager->RegisterControl(this);
    manager->freeNotification(this);
  }
  styleManager_ = manager;
}

void TRbCustomControl::componentRemoved(ui::Component& component) {
  // Only the linked manager's going away clears the link: a control that forgot a
  // manager still alive would stay in that manager's list after its own end.
  if (&component == styleManager_) styleManager_ = nullptr;
}

void TRbCustomControl::StartFadeTimer() { startTimer(unsigned(core::fadeInterval(fadeSpeed_))); }

void TRbCustomControl::fire(const TNotifyEvent& event) {
  if (event) ui::app().guard([&] { event(this); });
}

void TRbCustomControl::DoEnabledChanged() { repaint(); }

void TRbCustomControl::DoMouseDown() {
  if (!focused() && canFocus()) setFocus();
}

void TRbCustomControl::DoMouseEnter() { fire(OnMouseEnter); }
void TRbCustomControl::DoMouseLeave() { fire(OnMouseLeave); }
void TRbCustomControl::DoTextChanged() { repaint(); }

void TRbCustomControl::FadeInStep() {
  if (core::fadeInStep(fade_) == core::FadeTimer::Stop) stopTimer();
  repaint();
}

void TRbCustomControl::FadeOutStep() {
  if (core::fadeOutStep(fade_) == core::FadeTimer::Stop) stopTimer();
  repaint();
}

void TRbCustomControl::enabledChanged() {
  DoEnabledChanged();
  ui::CustomControl::enabledChanged();
}

void TRbCustomControl::focusChanged() {
  DoFocusChanged();
  ui::CustomControl::focusChanged();
}

void TRbCustomControl::mouseEnter() {
  DoMouseEnter();
  ui::CustomControl::mouseEnter();
}

void TRbCustomControl::mouseLeave() {
  DoMouseLeave();
  ui::CustomControl::mouseLeave();
}

void TRbCustomControl::parentColorChanged() {
  DoParentColorChanged();
  ui::CustomControl::parentColorChanged();
}

void TRbCustomControl::textChanged() {
  DoTextChanged();
  ui::CustomControl::textChanged();
}

void TRbCustomControl::resized() {
  DoResize();
  ui::CustomControl::resized();
}

void TRbCustomControl::mouseMove(ui::ShiftState shift, int x, int y) {
  DoMouseMove();
  ui::CustomControl::mouseMove(shift, x, y);
}

void TRbCustomControl::mouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y) {
  ui::CustomControl::mouseDown(button, shift, x, y);
  if (button == ui::MouseButton::Left) DoMouseDown();
}

void TRbCustomControl::mouseUp(ui::MouseButton button, ui::ShiftState shift, int x, int y) {
  ui::CustomControl::mouseUp(button, shift, x, y);
  if (button == ui::MouseButton::Left) DoMouseUp();
}

void TRbCustomControl::timerTick() {
  // Whatever the timer's id: a control has only the one. A failing step is
  // swallowed and the next tick runs again.
  ui::app().guard(
      [&] {
        switch (fade_.step) {
          case core::FadeStep::FadeIn: FadeInStep(); break;
          case core::FadeStep::FadeOut: FadeOutStep(); break;
          case core::FadeStep::None: stopTimer(); break;
        }
      },
      ui::Boundary::Silent);
}
