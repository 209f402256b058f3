// The face of the gradient button: how a paint mixes its three prepared images by
// the fade levels, and where the glyph and the caption go.
#pragma once

#include "core/image.h"

namespace core {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

struct ButtonImages {
  const Image& resting;
  const Image& over;
  const Image& clicked;
};

// Fills `work` (the control's size) white, lays the resting image one pixel right of
// and below its origin with the hover image mixed in at `overLevel`, and when
// `clickLevel` > 0 moves the face inside the pressed rectangle (the client area, or
// 3 pixels inside it with a gradient border) one more pixel down and right and mixes
// the pressed image into it at `clickLevel`.
void composeButtonFace(Image& work, const ButtonImages& images, int overLevel, int clickLevel,
                       bool gradientBorder);

struct Point {
  int x = 0, y = 0;
  friend constexpr bool operator==(const Point&, const Point&) = default;
};

// The caption's rectangle: the client rectangle moved aside by the glyph's width or
// height plus the spacing, on the glyph's side.
Rect buttonTextRect(Rect client, TButtonLayout layout, int glyphWidth, int glyphHeight, int spacing);

struct GlyphPlacementInput {
  TButtonLayout layout = blGlyphLeft;
  bool withText = false;  // a caption is shown beside the glyph
  Rect text;              // from buttonTextRect
  int width = 0, height = 0;             // the button
  int glyphWidth = 0, glyphHeight = 0;
  int textWidth = 0, textHeight = 0;     // the caption in the paint font
  int spacing = 0;
};
Point glyphPosition(const GlyphPlacementInput& in);

}  // namespace core
