#include "core/button_look.h"

#include "core/pixel_routines.h"

namespace core {

void composeButtonFace(Image& work, const ButtonImages& images, int overLevel, int clickLevel,
                       bool gradientBorder) {
  work.fill(0xFFFFFF);
  const Rect client = work.bounds();
  CopyAndBlend(work, images.resting, images.over, 1, client, overLevel);
  if (clickLevel > 0) {
    const Rect pressed = gradientBorder ? client.shrunk(3) : client;
    CopyAndBlend(work, work, images.clicked, 1, pressed, clickLevel);
  }
}

Rect buttonTextRect(Rect client, TButtonLayout layout, int glyphWidth, int glyphHeight, int spacing) {
  Rect t = client;
  switch (layout) {
    case blGlyphLeft: t.left += glyphWidth + spacing; break;
    case blGlyphRight: t.left -= glyphWidth + spacing; break;
    case blGlyphTop: t.top += glyphHeight + spacing; break;
    case blGlyphBottom: t.top -= glyphHeight + spacing; break;
  }
  return t;
}

Point glyphPosition(const GlyphPlacementInput& in) {
  const Rect& t = in.text;
  const int s = in.spacing, gw = in.glyphWidth, gh = in.glyphHeight;
  const int centredX = (in.width - gw) / 2, centredY = (in.height - gh) / 2;
  switch (in.layout) {
    case blGlyphLeft:
      return {in.withText ? (t.left + t.right - in.textWidth) / 2 - s - gw : (t.left + t.right - s) / 2 - gw,
              centredY};
    case blGlyphRight:
      return {in.withText ? (t.left + t.right + in.textWidth) / 2 + s : (t.left + t.right) / 2 + s, centredY};
    case blGlyphTop:
      return {centredX,
              in.withText ? (t.top + t.bottom - in.textHeight) / 2 - s - gh : (t.top + t.bottom) / 2 - s - gh};
    case blGlyphBottom:
      return {centredX, in.withText ? (t.top + t.bottom + in.textHeight) / 2 + s : (t.top + t.bottom) / 2 + s};
  }
  return {centredX, centredY};
}

}  // namespace core
