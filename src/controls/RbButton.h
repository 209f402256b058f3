// The gradient push button: a gradient face with a thin rounded frame that fades to
// a hover and a pressed gradient, an optional glyph, keyboard activation, default
// and cancel roles and a grouped, radio-style down state.
#pragma once

#include "controls/RbCustomControl.h"
#include "core/button_look.h"
#include "core/image.h"


class TRbButton : public TRbCustomControl {
 public:
  TRbButton();
  // Creates the window at the construction size (75 x 25) or at the given bounds.
  void create(ui::Control* parent);
  void create(ui::Control* parent, int left, int top, int width, int height);

  int ModalResult() const { return modalResult_; }
  void setModalResult(int v) { modalResult_ = v; }
  const core::Image& Glyph() const { return glyph_; }
  void setGlyph(const core::Image& picture);
  int Spacing() const { return spacing_; }
  void setSpacing(int v);
  core::TButtonLayout Layout() const { return layout_; }
  void setLayout(core::TButtonLayout v) { setAndRepaint(layout_, v); }
  TRbControlColors& Colors() { return colors_; }
  const TRbControlColors& Colors() const { return colors_; }
  core::TFadeSpeed FadeSpeed() const { return fadeSpeed_; }
  void setFadeSpeed(core::TFadeSpeed v) { fadeSpeed_ = v; }
  bool ShowFocusRect() const { return showFocusRect_; }
  void setShowFocusRect(bool v) { setAndRepaint(showFocusRect_, v); }
  bool HotTrack() const { return hotTrack_; }
  void setHotTrack(bool v) { setAndRepaint(hotTrack_, v); }
  bool Default() const { return default_; }
  void setDefault(bool v);
  bool Cancel() const { return cancel_; }
  void setCancel(bool v) { cancel_ = v; }
  bool GradientBorder() const { return gradientBorder_; }
  void setGradientBorder(bool v) { gradientBorder_ = v; }
  int GroupIndex() const { return groupIndex_; }
  void setGroupIndex(int v) { groupIndex_ = v; }
  bool AllowAllUp() const { return allowAllUp_; }
  void setAllowAllUp(bool v) { allowAllUp_ = v; }
  bool Down() const { return down_; }
  void setDown(bool v);
  core::TGradientType GradientType() const { return gradientType_; }
  void setGradientType(core::TGradientType v);

  // The prepared looks, the size of the control.
  const core::Image& DefaultImage() const { return defaultImage_; }
  const core::Image& OverImage() const { return overImage_; }
  const core::Image& ClickedImage() const { return clickedImage_; }

  void UpdateBitmaps() override;
  // What a click does: the form's modal result, the group, then OnClick.
  void click() override;
  bool dialogKey(WORD key, ui::ShiftState shift) override;

 protected:
  void DoResize() override { UpdateBitmaps(); }
  void DoFocusChanged() override { repaint(); }
  void DoMouseEnter() override;
  void DoMouseLeave() override;
  void DoMouseDown() override;
  void DoMouseUp() override;
  void keyDown(WORD& key, ui::ShiftState shift) override;
  void paint(ui::Canvas& canvas, ui::DibSurface& buffer) override;

 private:
  void ReleaseGroup();
  bool CanRelease() const;
  template <class F>
  void forEachGroupSibling(F&& f) const;

  int modalResult_ = 0;
  core::Image glyph_;
  int spacing_ = 2;
  core::TButtonLayout layout_ = core::blGlyphLeft;
  TRbControlColors colors_{this};
  bool showFocusRect_ = true;
  bool hotTrack_ = false;
  bool default_ = false;
  bool cancel_ = false;
  bool gradientBorder_ = true;
  int groupIndex_ = 0;
  bool allowAllUp_ = false;
  bool down_ = false;
  core::TGradientType gradientType_ = core::gtVertical;
  core::Image defaultImage_, overImage_, clickedImage_;
};
