// What the styled controls share: the colour sets, the style manager and the caption
// drawing. Their base control is TRbCustomControl (RbCustomControl.h).
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/color.h"
#include "core/fade.h"
#include "core/panel_look.h"
#include "core/pixel_routines.h"
#include "ui/canvas.h"
#include "ui/custom_control.h"
#include "ui/persistent.h"

// The enumerations of the styled controls (fade speeds, gradient types, caption
// positions, glyph layouts) live in the core, whose pixel routines take them, and
// are named from there: core::fsMedium, core::gtVertical.

enum TBorderLine { blTop, blBottom, blLeft, blRight };

// A set of border lines, stored as the bits 1, 2, 4 and 8.
class TBorderLines {
 public:
  TBorderLines() = default;
  TBorderLines(std::initializer_list<TBorderLine> lines) {
    for (TBorderLine l : lines) bits_ |= bit(l);
  }
  static TBorderLines fromBits(unsigned bits) {
    TBorderLines s;
    s.bits_ = std::uint8_t(bits & 0xF);
    return s;
  }
  bool contains(TBorderLine l) const { return (bits_ & bit(l)) != 0; }
  bool empty() const { return bits_ == 0; }
  unsigned bits() const { return bits_; }
  friend bool operator==(TBorderLines a, TBorderLines b) { return a.bits_ == b.bits_; }

 private:
  static std::uint8_t bit(TBorderLine l) { return std::uint8_t(1u << l); }
  std::uint8_t bits_ = 0;
};

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TRbCustomControl;
class TRbStyleManager;

// An event whose argument is the control that fired it.
using TNotifyEvent = std::function<void(ui::Control* Sender)>;

// ---- Colour sets ----------------------------------------------------------------

// The resting and hover gradients. A setter stores a changed value and calls Changed.
class TRbCustomColors : public ui::Persistent {
 public:
  explicit TRbCustomColors(TRbCustomControl* owner);
  const char* className() const override { return "TRbCustomColors"; }

  core::Color DefaultFrom() const { return defaultFrom_; }
  core::Color DefaultTo() const { return defaultTo_; }
  core::Color OverFrom() const { return overFrom_; }
  core::Color OverTo() const { return overTo_; }
  void setDefaultFrom(core::Color c) { setColour(defaultFrom_, c); }
  void setDefaultTo(core::Color c) { setColour(defaultTo_, c); }
  void setOverFrom(core::Color c) { setColour(overFrom_, c); }
  void setOverTo(core::Color c) { setColour(overTo_, c); }

  TRbCustomControl* owner() const { return owner_; }

  // Between colour sets the target takes the source's values directly: its Changed
  // is not called. Anything else fails with ui::AssignError.
  void assign(const ui::Persistent& source) override;

  virtual void Changed() = 0;

 protected:
  void setColour(core::Color& field, core::Color value);

 private:
  TRbCustomControl* owner_;
  core::Color defaultFrom_ = core::clWhite;
  core::Color defaultTo_ = 13745839;
  core::Color overFrom_ = core::clWhite;
  core::Color overTo_ = 12489846;
};

// The colour set of a button or check box.
class TRbControlColors : public TRbCustomColors {
 public:
  explicit TRbControlColors(TRbCustomControl* owner);
  const char* className() const override { return "TRbControlColors"; }

  core::Color ClickedFrom() const { return clickedFrom_; }
  core::Color ClickedTo() const { return clickedTo_; }
  core::Color HotTrack() const { return hotTrack_; }
  core::Color BorderColor() const { return borderColor_; }
  core::Color TextShadow() const { return textShadow_; }
  void setClickedFrom(core::Color c) { setColour(clickedFrom_, c); }
  void setClickedTo(core::Color c) { setColour(clickedTo_, c); }
  void setBorderColor(core::Color c) { setColour(borderColor_, c); }
  // Read at paint time, not baked into images: the control only repaints.
  void setHotTrack(core::Color c);
  void setTextShadow(core::Color c);

  // Between two control colour sets all nine colours go over.
  void assign(const ui::Persistent& source) override;
  // Rebuilds the owning control's images.
  void Changed() override;

 private:
  core::Color clickedFrom_ = 13029334;
  core::Color clickedTo_ = 15463415;
  core::Color hotTrack_ = core::clBlue;
  core::Color borderColor_ = core::clGray;
  core::Color textShadow_ = core::clWhite;
};

// The style manager's splitter colours; no control owns them here.
class TRbSplitterColors : public TRbCustomColors {
 public:
  TRbSplitterColors();
  const char* className() const override { return "TRbSplitterColors"; }
  void Changed() override {}
};

// ---- Style manager ----------------------------------------------------------------

// A house style and the list of controls linked to it. Its setters only store: the
// controls do not read it.
class TRbStyleManager : public ui::Component {
 public:
  explicit TRbStyleManager(ui::Form* owner = nullptr);
  const char* className() const override { return "TRbStyleManager"; }

  TRbControlColors& Colors() { return colors_; }
  const TRbControlColors& Colors() const { return colors_; }
  bool ShowFocusRect() const { return showFocusRect_; }
  bool HotTrack() const { return hotTrack_; }
  bool GradientBorder() const { return gradientBorder_; }
  bool TextShadow() const { return textShadow_; }
  core::Color CheckColor() const { return checkColor_; }
  core::TFadeSpeed FadeSpeed() const { return fadeSpeed_; }
  core::Color PanelColor() const { return panelColor_; }
  core::Color BorderColor() const { return borderColor_; }
  TRbSplitterColors& SplitterColors() { return splitterColors_; }
  const TRbSplitterColors& SplitterColors() const { return splitterColors_; }
  const ui::Font& Font() const { return font_; }

  void setShowFocusRect(bool v) { showFocusRect_ = v; }
  void setHotTrack(bool v) { hotTrack_ = v; }
  void setGradientBorder(bool v) { gradientBorder_ = v; }
  void setTextShadow(bool v) { textShadow_ = v; }
  void setCheckColor(core::Color v) { checkColor_ = v; }
  void setFadeSpeed(core::TFadeSpeed v) { fadeSpeed_ = v; }
  void setPanelColor(core::Color v) { panelColor_ = v; }
  void setBorderColor(core::Color v) { borderColor_ = v; }
  void setFont(const ui::Font& f) { font_ = f; }

  const std::vector<TRbCustomControl*>& LinkedControls() const { return linked_; }
  void RegisterControl(TRbCustomControl* control);
  void UnregisterControl(TRbCustomControl* control);

  void assign(const ui::Persistent& source) override;

 private:
  TRbControlColors colors_{nullptr};
  bool showFocusRect_ = true;
  bool hotTrack_ = false;
  bool gradientBorder_ = true;
  bool textShadow_ = true;
  core::Color checkColor_ = core::clGreen;
  core::TFadeSpeed fadeSpeed_ = core::fsMedium;
  core::Color panelColor_ = 14933983;
  core::Color borderColor_ = core::clGray;
  TRbSplitterColors splitterColors_;
  ui::Font font_;
  std::vector<TRbCustomControl*> linked_;
};

// ---- Caption drawing ---------------------------------------------------------------

// Text-drawing flags for a caption: vertically centred, no prefix characters, end
// ellipsis, the alignment, and word break or a single line.
unsigned CaptionFormat(TAlignment alignment, bool wordWrap);

// Draws a caption on a canvas whose background mode is already transparent: with a
// drop shadow when enabled and asked for, embossed when disabled.
void DrawCaption(ui::Canvas& canvas, const std::string& text, const ui::Font& font, core::Color shadowColor,
                 bool shadow, unsigned flags, RECT rect, bool enabled);
