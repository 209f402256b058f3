// The gradient check box: a 13 x 13 diagonal-gradient box that fades to a hover and
// a pressed gradient, a tinted check mark, a caption, optional separator lines on
// its edges and a focus rectangle.
#pragma once

#include <optional>

#include "controls/RbCustomControl.h"
#include "core/image.h"

class TRbCheckBox : public TRbCustomControl {
 public:
  TRbCheckBox();
  // Creates the window at the construction size (130 x 17) or at the given bounds.
  void create(ui::Control* parent);
  void create(ui::Control* parent, int left, int top, int width, int height);

  TBorderLines BorderLines() const { return borderLines_; }
  void setBorderLines(TBorderLines v) { setAndRepaint(borderLines_, v); }
  core::Color BorderLinesColor() const { return borderLinesColor_; }
  void setBorderLinesColor(core::Color v) { setAndRepaint(borderLinesColor_, v); }
  bool HotTrack() const { return hotTrack_; }
  void setHotTrack(bool v) { setAndRepaint(hotTrack_, v); }
  core::TFadeSpeed FadeSpeed() const { return fadeSpeed_; }
  void setFadeSpeed(core::TFadeSpeed v) { fadeSpeed_ = v; }
  TRbControlColors& Colors() { return colors_; }
  const TRbControlColors& Colors() const { return colors_; }
  int Spacing() const { return spacing_; }
  void setSpacing(int v) { setAndRepaint(spacing_, v); }
  bool Checked() const { return checked_; }
  void setChecked(bool v) { setAndRepaint(checked_, v); }  // fires no event
  bool ShowFocusRect() const { return showFocusRect_; }
  void setShowFocusRect(bool v) { setAndRepaint(showFocusRect_, v); }
  core::Color CheckColor() const { return checkColor_; }
  void setCheckColor(core::Color v) { setAndRepaint(checkColor_, v); }
  bool GradientBorder() const { return gradientBorder_; }
  void setGradientBorder(bool v) { gradientBorder_ = v; }

  // Fired after each click's toggle, with the check box as sender.
  TNotifyEvent OnClick;

  const core::Image& BoxDefault() const { return boxDefault_; }
  const core::Image& BoxOver() const { return boxOver_; }
  const core::Image& BoxClicked() const { return boxClicked_; }

  void UpdateBitmaps() override;
  // A click toggles Checked, then fires OnClick.
  void click() override { ToggleChecked(); }
  void ToggleChecked();

 protected:
  void DoResize() override { repaint(); }
  void DoFocusChanged() override { repaint(); }
  void DoMouseEnter() override;
  void DoMouseLeave() override;
  void DoMouseDown() override;
  void DoMouseUp() override;
  void paint(ui::Canvas& canvas, ui::DibSurface& buffer) override;

 private:
  const core::Image& checkMark();

  TBorderLines borderLines_;
  core::Color borderLinesColor_ = core::clGray;
  bool hotTrack_ = false;
  TRbControlColors colors_{this};
  int spacing_ = 3;
  bool checked_ = false;
  bool showFocusRect_ = true;
  core::Color checkColor_ = core::clGreen;
  bool gradientBorder_ = true;
  core::Image boxDefault_, boxOver_, boxClicked_;
  std::optional<core::Image> checkMark_;
};
