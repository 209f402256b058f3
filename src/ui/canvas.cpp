#include "ui/canvas.h"

#include <stdexcept>

#include "ui/device_context.h"
#include "ui/dib_surface.h"
#include "ui/text.h"

namespace ui {

Canvas::Canvas(DibSurface& surface) : Canvas(surface.dc()) { surface_ = &surface; }

Canvas::Canvas(HDC dc) : dc_(dc) {
  if (!dc_) throw std::logic_error("A canvas needs a device context");
}

Canvas::~Canvas() = default;

void Canvas::setFont(const Font& font) {
  font_ = font;
  GdiHandle next = font_.create();
  // The DC's own font comes back when the first selection ends, with the canvas.
  if (selectedFont_) SelectObject(dc_, next.get());
  else selectedFont_.emplace(dc_, next.get());
  hfont_ = std::move(next);
  SetTextColor(dc_, colorRef(font_.color));
}

void Canvas::setFontColor(core::Color color) {
  font_.color = color;
  SetTextColor(dc_, colorRef(color));
}

void Canvas::setTransparentText() { SetBkMode(dc_, TRANSPARENT); }

void Canvas::fillRect(RECT r, core::Color color) { FillRect(dc_, &r, solidBrush(color)); }

void Canvas::frameRect(RECT r, core::Color pen) {
  roundRect(r, 0, 0, 1, pen, std::nullopt);
}

void Canvas::roundRect(RECT r, int ellipseWidth, int ellipseHeight, int penWidth, core::Color pen,
                       std::optional<core::Color> brush) {
  SelectedObject p(dc_, solidPen(penWidth, pen));
  SelectedObject b(dc_, brush ? HGDIOBJ(solidBrush(*brush)) : GetStockObject(NULL_BRUSH));
  if (ellipseWidth > 0 || ellipseHeight > 0)
    RoundRect(dc_, r.left, r.top, r.right, r.bottom, ellipseWidth, ellipseHeight);
  else
    Rectangle(dc_, r.left, r.top, r.right, r.bottom);
}

void Canvas::line(int x1, int y1, int x2, int y2, core::Color pen) {
  SelectedObject p(dc_, solidPen(1, pen));
  MoveToEx(dc_, x1, y1, nullptr);
  LineTo(dc_, x2, y2);
}

int Canvas::drawText(const std::string& text, RECT r, unsigned flags) {
  std::wstring wide = widen(text);
  return DrawTextExW(dc_, wide.data(), int(wide.size()), &r, flags, nullptr);
}

SIZE Canvas::textExtent(const std::string& text) {
  const std::wstring wide = widen(text);
  SIZE size{};
  GetTextExtentPoint32W(dc_, wide.c_str(), int(wide.size()), &size);
  return size;
}

void Canvas::drawFocusRect(RECT r) { DrawFocusRect(dc_, &r); }

void Canvas::drawImage(const core::Image& image, int x, int y) {
  if (surface_) {
    core::copyImage(surface_->pixels(), x, y, image);
    return;
  }
  ui::drawImage(dc_, image, x, y);
}

void Canvas::drawTransparent(const core::Image& picture, int x, int y) {
  if (!surface_) throw std::logic_error("Transparent drawing needs a canvas over a surface");
  core::drawTransparent(surface_->pixels(), x, y, picture);
}

SIZE textExtent(const Font& font, const std::string& text) {
  const ScreenDc screen;
  Canvas canvas(screen.get());
  canvas.setFont(font);
  return canvas.textExtent(text);
}

}  // namespace ui
