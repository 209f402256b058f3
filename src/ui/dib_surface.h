// An off-screen 24-bit bitmap that GDI draws on and whose pixels the core's
// routines read and write directly (a DIB section, rows top to bottom).
#pragma once

#include "core/image.h"
#include "core/system_colors.h"
#include <memory>

#include "ui/device_context.h"
#include "ui/gdi.h"
#include "ui/win.h"

namespace ui {

class DibSurface {
 public:
  DibSurface() = default;
  DibSurface(int width, int height) { setSize(width, height); }
  ~DibSurface() { release(); }
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;

  // New, black pixels; sizes below 1 give an empty surface without a bitmap.
  void setSize(int width, int height);
  int width() const { return pixels_.width(); }
  int height() const { return pixels_.height(); }
  bool empty() const { return pixels_.empty(); }

  // A memory DC with the bitmap selected, for GDI drawing (null when empty).
  HDC dc() const { return dc_ ? dc_->get() : nullptr; }
  // The pixels; GDI's pending drawing is finished first.
  core::Image& pixels();

  // Copies the whole surface to dc at (x, y) in one block.
  void copyTo(HDC dc, int x, int y) const;

 private:
  void release();

  // Held in this order, so that they go in the reverse one: the bitmap is taken out
  // of the DC, the DC deleted, then the bitmap.
  GdiHandle bitmap_;
  std::unique_ptr<MemoryDc> dc_;
  std::unique_ptr<SelectedObject> selected_;
  core::Image pixels_;
};

// The running system's colours, for the core's pixel routines.
core::SystemColors systemColors();

// Copies an image to dc at (x, y).
void drawImage(HDC dc, const core::Image& image, int x, int y);

// A bitmap resource of the program as a 24-bit image. Throws std::runtime_error
// when there is no such resource.
core::Image loadBitmapResource(const wchar_t* name);

}  // namespace ui
