// The rounded panel: a container with a rounded frame drawn once into a background
// image (smoothed by 3x supersampling) and a caption at one of ten places, one of
// them a group-box title cut into the frame.
#pragma once

#include "controls/RbCustomControl.h"
#include "ui/dib_surface.h"

class TRbPanel : public TRbCustomControl {
 public:
  TRbPanel();
  // Creates the window at the construction size (185 x 105) or at the given bounds.
  void create(ui::Control* parent);
  void create(ui::Control* parent, int left, int top, int width, int height);

  core::TRbCaptionPos CaptionPosition() const { return captionPosition_; }
  void setCaptionPosition(core::TRbCaptionPos v);
  int CornerWidth() const { return cornerWidth_; }
  void setCornerWidth(int v);
  int BorderWidth() const { return borderWidth_; }
  void setBorderWidth(int v);
  core::Color BorderColor() const { return borderColor_; }
  void setBorderColor(core::Color v) { setAndRebuild(borderColor_, v); }
  core::Color OuterColor() const { return outerColor_; }
  void setOuterColor(core::Color v) { setAndRebuild(outerColor_, v); }
  core::Color TextShadowColor() const { return textShadowColor_; }
  void setTextShadowColor(core::Color v) { setAndRepaint(textShadowColor_, v); }
  bool Antialiased() const { return antialiased_; }
  void setAntialiased(bool v);
  bool Gradient() const { return gradient_; }
  void setGradient(bool v);
  core::Color DefaultFrom() const { return defaultFrom_; }
  void setDefaultFrom(core::Color v) { setAndRebuild(defaultFrom_, v); }
  core::Color DefaultTo() const { return defaultTo_; }
  void setDefaultTo(core::Color v) { setAndRebuild(defaultTo_, v); }
  core::TGradientType GradientType() const { return gradientType_; }
  void setGradientType(core::TGradientType v);

  // The prepared background, the size of the panel.
  ui::DibSurface& BackImage() { return backImage_; }

  void UpdateBitmaps() override { RebuildBackground(); }
  void RebuildBackground();
  void parentColorChanged() override;

 protected:
  void DoResize() override;
  void loaded() override;
  void colorChanged() override;
  RECT alignArea(SIZE client) const override;
  void paint(ui::Canvas& canvas, ui::DibSurface& buffer) override;

 private:
  void setAndRebuild(core::Color& field, core::Color value);
  int captionHeight() const;

  core::TRbCaptionPos captionPosition_ = core::cpTopLeft;
  int cornerWidth_ = 10;
  int borderWidth_ = 2;
  core::Color borderColor_ = core::clGray;
  core::Color outerColor_ = core::clBtnFace;
  core::Color textShadowColor_ = core::clWhite;
  bool antialiased_ = true;
  bool gradient_ = false;
  core::Color defaultFrom_ = core::clWhite;
  core::Color defaultTo_ = 14933983;
  core::TGradientType gradientType_ = core::gtVertical;
  ui::DibSurface backImage_;
};
