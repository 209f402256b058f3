#include "controls/RbButton.h"

#include "core/pixel_routines.h"
#include "ui/dib_surface.h"
#include "ui/form.h"

namespace {
const ui::WindowClass kButtonClass{"TRbButton"};
constexpr int kWidth = 75, kHeight = 25;
}  // namespace

TRbButton::TRbButton() { fadeSpeed_ = core::fsMedium; }

void TRbButton::create(ui::Control* parent) { create(parent, 0, 0, kWidth, kHeight); }

void TRbButton::create(ui::Control* parent, int left, int top, int width, int height) {
  ui::CustomControl::create(parent, kButtonClass, left, top, width, height);
}

void TRbButton::setGlyph(const core::Image& picture) {
  glyph_ = picture;  // drawn transparent, keyed on its bottom-left pixel
  repaint();
}

void TRbButton::setSpacing(int v) { spacing_ = v < 0 ? 0 : v; }

void TRbButton::setDefault(bool v) {
  if (v == default_) return;
  default_ = v;
  // The form's buttons repaint as the focus had moved.
  if (ui::Form* form = ui::parentForm(*this)) ui::CustomControl::broadcastFocusChanged(*form);
}

void TRbButton::setGradientType(core::TGradientType v) {
  if (v == gradientType_) return;
  gradientType_ = v;
  UpdateBitmaps();
}

// ---- Group ----

template <class F>
void TRbButton::forEachGroupSibling(F&& f) const {
  if (!parent()) return;
  for (ui::Control* c : parent()->children())
    if (auto* b = dynamic_cast<TRbButton*>(c); b && b != this && b->groupIndex_ == groupIndex_) f(*b);
}

void TRbButton::setDown(bool v) {
  if (groupIndex_ <= 0) return;  // a button outside a group is never down
  if (!v && !CanRelease()) return;
  down_ = v;
  if (v) ReleaseGroup();
  if (core::button::downChanged(fade_, v)) StartFadeTimer();
}

void TRbButton::ReleaseGroup() {
  if (groupIndex_ <= 0) return;
  forEachGroupSibling([](TRbButton& b) { b.setDown(false); });
}

bool TRbButton::CanRelease() const {
  if (allowAllUp_) return true;
  if (groupIndex_ <= 0 || !parent()) return false;
  bool otherDown = false;
  forEachGroupSibling([&](TRbButton& b) { otherDown = otherDown || b.down_; });
  return otherDown;
}

// ---- Input ----

void TRbButton::click() {
  if (ui::Form* form = ui::parentForm(*this)) form->setModalResult(modalResult_);
  setDown(groupIndex_ > 0 && !down_);
  ui::CustomControl::click();
}

void TRbButton::keyDown(WORD& key, ui::ShiftState shift) {
  if (key == VK_SPACE && !shift.shift && !shift.ctrl && !shift.alt) click();
  TRbCustomControl::keyDown(key, shift);
}

bool TRbButton::dialogKey(WORD key, ui::ShiftState shift) {
  // Enter whatever modifiers are held; Escape only without Shift, Ctrl or Alt.
  const bool noModifier = !shift.shift && !shift.ctrl && !shift.alt;
  const bool wanted = (key == VK_RETURN && (focused() || default_)) || (key == VK_ESCAPE && cancel_ && noModifier);
  if (!wanted || !canFocus()) return false;
  click();
  return true;
}

void TRbButton::DoMouseEnter() {
  TRbCustomControl::DoMouseEnter();
  if (core::mouseEntered(fade_)) StartFadeTimer();
}

void TRbButton::DoMouseLeave() {
  TRbCustomControl::DoMouseLeave();
  if (core::button::mouseLeft(fade_, down_)) StartFadeTimer();
}

void TRbButton::DoMouseDown() {
  TRbCustomControl::DoMouseDown();
  if (core::button::pressed(fade_)) StartFadeTimer();
}

void TRbButton::DoMouseUp() {
  if (core::button::released(fade_, down_)) StartFadeTimer();
}

// ---- Looks ----

void TRbButton::UpdateBitmaps() {
  const int w = placedClientWidth(), h = placedClientHeight();
  const core::SystemColors sys = ui::systemColors();
  auto build = [&](core::Image& image, core::Color from, core::Color to) {
    image.setSize(w, h);
    core::GradientFill(image, image.bounds(), from, to, gradientType_, {}, sys);
  };
  build(defaultImage_, colors_.DefaultFrom(), colors_.DefaultTo());
  build(overImage_, colors_.OverFrom(), colors_.OverTo());
  build(clickedImage_, colors_.ClickedFrom(), colors_.ClickedTo());
  repaint();
}

void TRbButton::paint(ui::Canvas& canvas, ui::DibSurface& buffer) {
  const int w = buffer.width(), h = buffer.height();
  const RECT client{0, 0, w, h};
  // The work image is the off-screen buffer itself: it is the control's size and
  // goes to the screen at (0, 0).
  core::composeButtonFace(buffer.pixels(), {defaultImage_, overImage_, clickedImage_}, fade_.overLevel,
                          fade_.clickLevel, gradientBorder_);
  canvas.frameRect(client, color());
  canvas.roundRect(client, 5, 5, 1, colors_.BorderColor(), std::nullopt);

  const bool hasGlyph = !glyph_.empty();
  const core::Rect t = hasGlyph ? core::buttonTextRect({0, 0, w, h}, layout_, glyph_.width(), glyph_.height(), spacing_)
                                : core::Rect{0, 0, w, h};
  canvas.setTransparentText();
  canvas.setFont(font());
  if (hotTrack_ && fade_.mouseInside) canvas.setFontColor(colors_.HotTrack());
  if (ShowCaption())
    DrawCaption(canvas, caption(), canvas.font(), colors_.TextShadow(), TextShadow(), CaptionFormat(taCenter, false),
                {t.left, t.top, t.right, t.bottom}, enabled());

  if (hasGlyph) {
    core::Image picture = glyph_;
    if (!enabled()) core::ColorizeImage(picture, 0x404040, ui::systemColors());
    const SIZE text = canvas.textExtent(caption());
    core::GlyphPlacementInput in;
    in.layout = layout_;
    in.withText = !caption().empty() && ShowCaption();
    in.text = t;
    in.width = w;
    in.height = h;
    in.glyphWidth = glyph_.width();
    in.glyphHeight = glyph_.height();
    in.textWidth = text.cx;
    in.textHeight = text.cy;
    in.spacing = spacing_;
    const core::Point at = core::glyphPosition(in);
    canvas.drawTransparent(picture, at.x, at.y);
  }
  if (focused() && showFocusRect_) canvas.drawFocusRect({2, 2, w - 2, h - 2});
}
