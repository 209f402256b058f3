#include "controls/RbDrawCore.h"

#include "controls/RbCustomControl.h"

#include <algorithm>

namespace {

// Text-drawing flags, as the platform defines them.
constexpr unsigned kCenter = 0x1, kRight = 0x2, kVCenter = 0x4, kWordBreak = 0x10, kSingleLine = 0x20,
                   kNoPrefix = 0x800, kEndEllipsis = 0x8000;

}  // namespace

// ---- Colour sets ----

TRbCustomColors::TRbCustomColors(TRbCustomControl* owner) : owner_(owner) {}

void TRbCustomColors::setColour(core::Color& field, core::Color value) {
  if (field == value) return;
  field = value;
  Changed();
}

void TRbCustomColors::assign(const ui::Persistent& source) {
  if (auto* s = dynamic_cast<const TRbCustomColors*>(&source)) {
    defaultFrom_ = s->defaultFrom_;
    defaultTo_ = s->defaultTo_;
    overFrom_ = s->overFrom_;
    overTo_ = s->overTo_;
    return;
  }
  ui::Persistent::assign(source);
}

TRbControlColors::TRbControlColors(TRbCustomControl* owner) : TRbCustomColors(owner) {}

void TRbControlColors::setHotTrack(core::Color c) {
  if (c == hotTrack_) return;
  hotTrack_ = c;
  if (owner()) owner()->repaint();
}

void TRbControlColors::setTextShadow(core::Color c) {
  if (c == textShadow_) return;
  textShadow_ = c;
  if (owner()) owner()->repaint();
}

void TRbControlColors::assign(const ui::Persistent& source) {
  TRbCustomColors::assign(source);
  if (auto* s = dynamic_cast<const TRbControlColors*>(&source)) {
    clickedFrom_ = s->clickedFrom_;
    clickedTo_ = s->clickedTo_;
    hotTrack_ = s->hotTrack_;
    borderColor_ = s->borderColor_;
    textShadow_ = s->textShadow_;
  }
}

void TRbControlColors::Changed() {
  if (owner()) owner()->UpdateBitmaps();
}

TRbSplitterColors::TRbSplitterColors() : TRbCustomColors(nullptr) {
  // Changed has nobody to tell here, so the setters serve.
  setDefaultFrom(core::clBtnFace);
  setDefaultTo(core::clBtnFace);
  setOverFrom(core::clWhite);
  setOverTo(12489846);
}

// ---- Style manager ----

TRbStyleManager::TRbStyleManager(ui::Form* owner) : ui::Component(owner) {}

void TRbStyleManager::RegisterControl(TRbCustomControl* control) {
  if (control && std::find(linked_.begin(), linked_.end(), control) == linked_.end()) linked_.push_back(control);
}

void TRbStyleManager::UnregisterControl(TRbCustomControl* control) {
  if (destroying()) return;
  linked_.erase(std::remove(linked_.begin(), linked_.end(), control), linked_.end());
}

void TRbStyleManager::assign(const ui::Persistent& source) {
  auto* s = dynamic_cast<const TRbStyleManager*>(&source);
  if (!s) {
    ui::Persistent::assign(source);
    return;
  }
  colors_.assign(s->colors_);
  splitterColors_.assign(s->splitterColors_);
  setShowFocusRect(s->showFocusRect_);
  setHotTrack(s->hotTrack_);
  setGradientBorder(s->gradientBorder_);
  setCheckColor(s->checkColor_);
  setFont(s->font_);
  setFadeSpeed(s->fadeSpeed_);
  setPanelColor(s->panelColor_);
  setBorderColor(s->borderColor_);
  setTextShadow(s->textShadow_);
}

// ---- Caption drawing ----

unsigned CaptionFormat(TAlignment alignment, bool wordWrap) {
  unsigned flags = kVCenter | kNoPrefix | kEndEllipsis;
  if (alignment == taRightJustify) flags |= kRight;
  if (alignment == taCenter) flags |= kCenter;
  return flags | (wordWrap ? kWordBreak : kSingleLine);
}

void DrawCaption(ui::Canvas& canvas, const std::string& text, const ui::Font& givenFont, core::Color shadowColor,
                 bool shadow, unsigned flags, RECT rect, bool enabled) {
  const ui::Font font = givenFont;  // it may be the canvas's own font, which changes below
  canvas.setFont(font);
  RECT shifted = rect;
  OffsetRect(&shifted, 1, 1);
  if (enabled) {
    if (shadow) {
      canvas.setFontColor(shadowColor);
      canvas.drawText(text, shifted, flags);
      canvas.setFontColor(font.color);
    }
    canvas.drawText(text, rect, flags);
    return;
  }
  canvas.setFontColor(core::clBtnHighlight);
  canvas.drawText(text, shifted, flags);
  canvas.setFontColor(core::clBtnShadow);
  canvas.drawText(text, rect, flags);
}
