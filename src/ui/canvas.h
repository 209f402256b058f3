// Drawing on a device context the way the styled controls need it: fills, outlines
// and rounded rectangles with pens of any width, lines, text through DrawTextEx,
// the focus rectangle and pictures drawn transparent.
#pragma once

#include <optional>
#include <string>

#include "core/color.h"
#include "core/image.h"
#include "ui/device_context.h"
#include "ui/gdi.h"
#include "ui/win.h"

namespace ui {

class DibSurface;

class Canvas {
 public:
  // A canvas over a surface can also draw pictures into its pixels.
  explicit Canvas(DibSurface& surface);
  explicit Canvas(HDC dc);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }

  // The canvas font; setFont takes a copy and selects it.
  const Font& font() const { return font_; }
  void setFont(const Font& font);
  void setFontColor(core::Color color);
  void setTransparentText();

  void fillRect(RECT r, core::Color color);
  // An outline with a clear inside.
  void frameRect(RECT r, core::Color pen);
  // A rounded rectangle with a corner ellipse of the given size; the inside is filled
  // with `brush`, or left as it is without one.
  void roundRect(RECT r, int ellipseWidth, int ellipseHeight, int penWidth, core::Color pen,
                 std::optional<core::Color> brush);
  // A 1-pixel line from (x1, y1) up to, not including, (x2, y2).
  void line(int x1, int y1, int x2, int y2, core::Color pen);

  // Windows-1251 text through DrawTextEx in the canvas font; returns the text height.
  int drawText(const std::string& text, RECT r, unsigned flags);
  SIZE textExtent(const std::string& text);
  void drawFocusRect(RECT r);

  void drawImage(const core::Image& image, int x, int y);
  // Leaves out the picture's bottom-left colour. Needs a canvas over a surface.
  void drawTransparent(const core::Image& picture, int x, int y);

 private:
  HDC dc_;
  DibSurface* surface_ = nullptr;
  Font font_;
  GdiHandle hfont_;  // declared before the selection, so that it outlives it
  std::optional<SelectedObject> selectedFont_;
};

// Text height and width of `text` in `font` on the screen.
SIZE textExtent(const Font& font, const std::string& text);

}  // namespace ui
