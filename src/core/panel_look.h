// The geometry of the rounded panel: its supersampled frame, the area it offers its
// children and the rectangle of its caption.
#pragma once

#include "core/image.h"

namespace core {

enum TRbCaptionPos {
  cpGroupBox,
  cpTopLeft,
  cpTopCenter,
  cpTopRight,
  cpMiddleLeft,
  cpMiddleCenter,
  cpMiddleRight,
  cpBottomLeft,
  cpBottomCenter,
  cpBottomRight
};

constexpr int kPanelSupersampling = 3;

struct PanelFrame {
  int factor = 1;                     // 3 when antialiased
  int workWidth = 0, workHeight = 0;  // the image the frame is drawn into
  int pen = 0;                        // width of the frame's pen
  Rect frame;                         // the rounded rectangle, in work pixels
  int corner = 0;                     // width and height of the corner ellipse
  int reductionMargin = 0;            // margin of the reduction to the panel's size
};

// `captionHeight` is the caption's text height in the panel's font; only the group
// box title uses it (the frame's top runs through the middle of the title).
PanelFrame panelFrame(int width, int height, int borderWidth, int cornerWidth, bool antialiased,
                      TRbCaptionPos position, int captionHeight);

// The client area offered to aligned child controls.
Rect panelChildArea(int width, int height, int borderWidth, TRbCaptionPos position, int captionHeight);

struct PanelCaption {
  Rect rect;
  // Alignment in the values of the platform's text-drawing flags: centre 1,
  // right 2, vertical centre 4, bottom 8.
  unsigned alignment = 0;
};
PanelCaption panelCaption(TRbCaptionPos position, int width, int height, int cornerWidth, int borderWidth);

}  // namespace core
