#include "core/panel_look.h"

namespace core {

namespace {
constexpr unsigned kCenter = 1, kRight = 2, kVCenter = 4, kBottom = 8;
}

PanelFrame panelFrame(int width, int height, int borderWidth, int cornerWidth, bool antialiased,
                      TRbCaptionPos position, int captionHeight) {
  PanelFrame f;
  f.factor = antialiased ? kPanelSupersampling : 1;
  f.workWidth = width * f.factor;
  f.workHeight = height * f.factor;
  f.pen = borderWidth * f.factor - 1;
  const int inset = f.pen / 2;
  const int top = position == cpGroupBox ? inset + (captionHeight * f.factor) / 2 : inset;
  f.frame = {inset, top, f.workWidth - inset, f.workHeight - inset};
  f.corner = cornerWidth * f.factor;
  f.reductionMargin = cornerWidth + 20;
  return f;
}

Rect panelChildArea(int width, int height, int borderWidth, TRbCaptionPos position, int captionHeight) {
  const int d = borderWidth + 1;
  if (position == cpGroupBox) return {d, 2 * (captionHeight / 2) + 1, width - d, height - 3};
  return {d, d, width - d, height - d};
}

PanelCaption panelCaption(TRbCaptionPos position, int width, int height, int cornerWidth, int borderWidth) {
  const int k = (cornerWidth + borderWidth) / 2;
  PanelCaption c{{k, borderWidth, width - k, height - borderWidth}, 0};
  switch (position) {
    case cpGroupBox:
      c.rect.top -= borderWidth;
      if (cornerWidth + borderWidth < 2) c.rect.left += 5;
      break;
    case cpTopLeft: break;
    case cpTopCenter: c.alignment = kCenter; break;
    case cpTopRight: c.alignment = kRight; break;
    case cpMiddleLeft:
      c.alignment = kVCenter;
      c.rect.left -= (cornerWidth - borderWidth) / 2;
      break;
    case cpMiddleCenter: c.alignment = kVCenter | kCenter; break;
    case cpMiddleRight:
      c.alignment = kVCenter | kRight;
      c.rect.right += (cornerWidth - borderWidth) / 2;
      break;
    case cpBottomLeft: c.alignment = kBottom; break;
    case cpBottomCenter: c.alignment = kBottom | kCenter; break;
    case cpBottomRight: c.alignment = kBottom | kRight; break;
  }
  return c;
}

}  // namespace core
