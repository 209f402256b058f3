#include "controls/RbPanel.h"

#include <algorithm>

#include "core/panel_look.h"
#include "ui/form.h"

namespace {
// A container: its children are clipped out of its paint; a resize does not ask
// for a full redraw, double clicks count.
const ui::WindowClass kPanelClass{"TRbPanel", CS_DBLCLKS, WS_EX_CONTROLPARENT, WS_CLIPCHILDREN};
constexpr int kWidth = 185, kHeight = 105;
constexpr core::Color kPanelColor = 14933983;
constexpr core::Color kFontColor = 13500416;
constexpr unsigned kSingleLine = 0x20, kEndEllipsis = 0x8000;

// The region test of a rounded rectangle, as the platform's regions have it.
class RoundRectRegion {
 public:
  RoundRectRegion(const core::Rect& r, int corner)
      : region_(CreateRoundRectRgn(r.left, r.top, r.right, r.bottom, corner, corner)) {}
  ~RoundRectRegion() {
    if (region_) DeleteObject(region_);
  }
  RoundRectRegion(const RoundRectRegion&) = delete;
  RoundRectRegion& operator=(const RoundRectRegion&) = delete;
  bool contains(int x, int y) const { return region_ && PtInRegion(region_, x, y); }

 private:
  HRGN region_;
};

}  // namespace

TRbPanel::TRbPanel() { setColor(kPanelColor); }

void TRbPanel::create(ui::Control* parent) { create(parent, 0, 0, kWidth, kHeight); }

void TRbPanel::create(ui::Control* parent, int left, int top, int width, int height) {
  ui::CustomControl::create(parent, kPanelClass, left, top, width, height);
  ui::Font f = font();
  f.color = kFontColor;
  setFont(f);
}

void TRbPanel::setAndRebuild(core::Color& field, core::Color value) {
  if (field == value) return;
  field = value;
  RebuildBackground();
}

void TRbPanel::setCaptionPosition(core::TRbCaptionPos v) {
  if (v == captionPosition_) return;
  const core::TRbCaptionPos old = captionPosition_;
  captionPosition_ = v;
  realign();
  if (old == core::cpGroupBox || v == core::cpGroupBox)
    RebuildBackground();  // the frame's top moves
  else
    repaint();
}

void TRbPanel::setCornerWidth(int v) {
  if (v < 0 || v == cornerWidth_) return;
  cornerWidth_ = v;
  RebuildBackground();
}

void TRbPanel::setBorderWidth(int v) {
  if (v <= 0 || v == borderWidth_) return;
  borderWidth_ = v;
  if (parent()) parent()->realign();
  realign();
  RebuildBackground();
}

void TRbPanel::setAntialiased(bool v) {
  if (v == antialiased_) return;
  antialiased_ = v;
  if (v) gradient_ = false;  // the two exclude each other, and this one wins
  RebuildBackground();
}

void TRbPanel::setGradient(bool v) {
  if (v == gradient_) return;
  gradient_ = v && !antialiased_;
  RebuildBackground();
}

void TRbPanel::setGradientType(core::TGradientType v) {
  if (v == gradientType_) return;
  gradientType_ = v;
  RebuildBackground();
}

void TRbPanel::parentColorChanged() {
  TRbCustomControl::parentColorChanged();
  if (parent() && parentColor()) {
    if (auto* form = dynamic_cast<ui::Form*>(parent()))
      setOuterColor(form->color());
    else if (auto* custom = dynamic_cast<ui::CustomControl*>(parent()))
      setOuterColor(custom->color());
  }
}

void TRbPanel::DoResize() {
  backImage_.setSize(placedClientWidth(), placedClientHeight());
  RebuildBackground();
}

void TRbPanel::loaded() {
  TRbCustomControl::loaded();
  RebuildBackground();
}

void TRbPanel::colorChanged() {
  TRbCustomControl::colorChanged();
  RebuildBackground();
}

int TRbPanel::captionHeight() const { return ui::textExtent(font(), caption()).cy; }

RECT TRbPanel::alignArea(SIZE client) const {
  const int th = captionPosition_ == core::cpGroupBox ? captionHeight() : 0;
  const core::Rect r = core::panelChildArea(client.cx, client.cy, borderWidth_, captionPosition_, th);
  return {r.left, r.top, r.right, r.bottom};
}

void TRbPanel::RebuildBackground() {
  if (loading() || backImage_.empty()) return;
  const int th = captionPosition_ == core::cpGroupBox ? captionHeight() : 0;
  const core::PanelFrame f =
      core::panelFrame(backImage_.width(), backImage_.height(), borderWidth_, cornerWidth_, antialiased_, captionPosition_, th);
  ui::DibSurface supersampled;
  if (antialiased_) supersampled.setSize(f.workWidth, f.workHeight);
  ui::DibSurface& work = antialiased_ ? supersampled : backImage_;
  {
    ui::Canvas canvas(work);
    canvas.fillRect({0, 0, work.width(), work.height()}, outerColor_);
    const core::SystemColors sys = ui::systemColors();
    if (gradient_) {
      const RoundRectRegion region(f.frame, f.corner);
      core::GradientFill(work.pixels(), work.pixels().bounds(), defaultFrom_, defaultTo_, gradientType_,
                         [&](int x, int y) { return region.contains(x, y); }, sys);
    }
    const RECT frame{f.frame.left, f.frame.top, f.frame.right, f.frame.bottom};
    canvas.roundRect(frame, f.corner, f.corner, f.pen, borderColor_,
                     gradient_ ? std::nullopt : std::optional<core::Color>(color()));
    if (antialiased_)
      core::Downsample(work.pixels(), backImage_.pixels(), f.factor, color(), f.reductionMargin, sys);
  }
  repaint();
}

void TRbPanel::paint(ui::Canvas& canvas, ui::DibSurface& buffer) {
  const int w = buffer.width(), h = buffer.height();
  canvas.fillRect({0, 0, w, h}, outerColor_);
  if (!backImage_.empty()) canvas.drawImage(backImage_.pixels(), 0, 0);
  canvas.setFont(font());
  if (captionPosition_ != core::cpGroupBox) canvas.setTransparentText();

  core::PanelCaption cap = core::panelCaption(captionPosition_, w, h, cornerWidth_, borderWidth_);
  const unsigned flags = cap.alignment | kSingleLine | kEndEllipsis;
  RECT r{cap.rect.left, cap.rect.top, cap.rect.right, cap.rect.bottom};
  if (!ShowCaption()) return;
  if (captionPosition_ == core::cpGroupBox) {
    const SIZE text = canvas.textExtent(caption());
    const int th = text.cy, tw = text.cx;
    const int line = th / 2 + r.top;
    canvas.fillRect({0, 0, r.right, line}, outerColor_);
    canvas.fillRect({r.left, line, r.left + tw, line + std::min(borderWidth_, th / 2)}, outerColor_);
    canvas.setTransparentText();
  }
  DrawCaption(canvas, caption(), font(), textShadowColor_, TextShadow(), flags, r, enabled());
}
