#include "controls/RbCheckBox.h"

#include "core/check_box_look.h"
#include "ui/dib_surface.h"

namespace {
const ui::WindowClass kCheckBoxClass{"TRbCheckBox"};
constexpr int kWidth = 130, kHeight = 17;
}  // namespace

TRbCheckBox::TRbCheckBox() {
  fadeSpeed_ = core::fsMedium;
  UpdateBitmaps();
}

void TRbCheckBox::create(ui::Control* parent) { create(parent, 0, 0, kWidth, kHeight); }

void TRbCheckBox::create(ui::Control* parent, int left, int top, int width, int height) {
  ui::CustomControl::create(parent, kCheckBoxClass, left, top, width, height);
}

void TRbCheckBox::ToggleChecked() {
  setChecked(!checked_);
  fire(OnClick);
}

void TRbCheckBox::DoMouseEnter() {
  TRbCustomControl::DoMouseEnter();
  if (core::mouseEntered(fade_)) StartFadeTimer();
}

void TRbCheckBox::DoMouseLeave() {
  TRbCustomControl::DoMouseLeave();
  if (core::checkbox::mouseLeft(fade_)) StartFadeTimer();
}

void TRbCheckBox::DoMouseDown() {
  TRbCustomControl::DoMouseDown();
  if (core::checkbox::pressed(fade_)) StartFadeTimer();
}

void TRbCheckBox::DoMouseUp() {
  if (core::checkbox::released(fade_)) StartFadeTimer();
}

void TRbCheckBox::UpdateBitmaps() {
  const core::SystemColors sys = ui::systemColors();
  const core::Color border = colors_.BorderColor();
  core::buildCheckBoxImage(boxDefault_, colors_.DefaultFrom(), colors_.DefaultTo(), &border, sys);
  core::buildCheckBoxImage(boxOver_, colors_.OverFrom(), colors_.OverTo(), &border, sys);
  core::buildCheckBoxImage(boxClicked_, colors_.ClickedFrom(), colors_.ClickedTo(), nullptr, sys);
  repaint();
}

const core::Image& TRbCheckBox::checkMark() {
  if (!checkMark_) checkMark_ = ui::loadBitmapResource(L"CHECK");
  return *checkMark_;
}

void TRbCheckBox::paint(ui::Canvas& canvas, ui::DibSurface& buffer) {
  const int w = buffer.width(), h = buffer.height();
  const core::SystemColors sys = ui::systemColors();
  core::Image work(w, h);
  core::CheckBoxLook look;
  look.background = color();
  look.overLevel = fade_.overLevel;
  look.clickLevel = fade_.clickLevel;
  look.gradientBorder = gradientBorder_;
  look.checkMark = checked_ ? &checkMark() : nullptr;
  look.tickColor = enabled() ? checkColor_ : core::clGray;
  core::composeCheckBox(work, {boxDefault_, boxOver_, boxClicked_}, look, sys);
  // The work image goes to the screen moved by the box's corner, so the box shows
  // at (2, 2) on a 17-pixel-high check box.
  const core::Rect box = core::checkBoxRect(h);
  canvas.drawImage(work, box.left, box.top);

  RECT text{13 + spacing_ + 3, 0, w, h};
  canvas.setTransparentText();
  canvas.setFont(font());
  if (hotTrack_ && fade_.mouseInside) canvas.setFontColor(colors_.HotTrack());
  if (ShowCaption())
    DrawCaption(canvas, caption(), canvas.font(), colors_.TextShadow(), TextShadow(), CaptionFormat(taLeftJustify, false),
                text, enabled());

  const core::Color pen = borderLinesColor_;
  if (borderLines_.contains(blTop)) canvas.line(0, 0, w, 0, pen);
  if (borderLines_.contains(blBottom)) canvas.line(0, h - 1, w, h - 1, pen);
  if (borderLines_.contains(blLeft)) canvas.line(0, 0, 0, h, pen);
  if (borderLines_.contains(blRight)) canvas.line(w - 1, 0, w - 1, h, pen);

  if (focused() && showFocusRect_) canvas.drawFocusRect({0, 0, w, h});
}
