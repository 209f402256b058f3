// Status bar with one panel, drawn by itself so that its background colour shows
// on every theme.
#pragma once

#include <string>

#include "core/color.h"
#include "ui/control.h"

namespace ui {

class StatusBar : public Control {
 public:
  void create(Control* parent, int left, int top, int width, int height);
  core::Color color() const { return color_; }
  void setColor(core::Color color);
  core::Color textColor() const { return textColor_; }
  void setTextColor(core::Color color);
  const std::string& panelText() const { return text_; }
  void setPanelText(const std::string& text);

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void applyScreenWork() override;

 private:
  void paint(HDC dc);
  core::Color color_ = core::clBtnFace;
  core::Color textColor_ = core::clBtnText;
  std::string text_;
  std::string announced_;  // the text a screen reader was last told of
};

}  // namespace ui
