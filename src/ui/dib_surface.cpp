#include "ui/dib_surface.h"

#include "ui/device_context.h"

#include <stdexcept>
#include <vector>

#include "ui/text.h"

namespace ui {

namespace {

BITMAPINFO topDownInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows top to bottom
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

void DibSurface::release() {
  pixels_ = core::Image::wrap(nullptr, 0, 0, 0);
  selected_.reset();
  dc_.reset();
  bitmap_.reset();
}

void DibSurface::setSize(int width, int height) {
  release();
  if (width < 1 || height < 1) return;
  const BITMAPINFO info = topDownInfo(width, height);
  void* bits = nullptr;
  GdiHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits)
    throw std::runtime_error("Cannot create a bitmap of " + std::to_string(width) + " x " + std::to_string(height));
  bitmap_ = std::move(bitmap);
  dc_ = std::make_unique<MemoryDc>();
  selected_ = std::make_unique<SelectedObject>(dc_->get(), bitmap_.get());
  pixels_ = core::Image::wrapDib(bits, width, -height);
}

core::Image& DibSurface::pixels() {
  GdiFlush();
  return pixels_;
}

void DibSurface::copyTo(HDC dc, int x, int y) const {
  if (dc_) BitBlt(dc, x, y, width(), height(), dc_->get(), 0, 0, SRCCOPY);
}

core::SystemColors systemColors() {
  core::SystemColors colors;
  for (int i = 0; i < core::SystemColors::kCount; ++i) colors.set(i, GetSysColor(i));
  return colors;
}

void drawImage(HDC dc, const core::Image& image, int x, int y) {
  if (image.empty()) return;
  const BITMAPINFO info = topDownInfo(image.width(), image.height());
  if (image.stride() == core::Image::alignedStride(image.width())) {
    SetDIBitsToDevice(dc, x, y, DWORD(image.width()), DWORD(image.height()), 0, 0, 0, UINT(image.height()),
                      image.row(0), &info, DIB_RGB_COLORS);
    return;
  }
  const core::Image packed = image;  // copies have DWORD-aligned rows
  drawImage(dc, packed, x, y);
}

core::Image loadBitmapResource(const wchar_t* name) {
  const GdiHandle bitmap(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) throw std::runtime_error("The program has no picture " + narrow(name));
  BITMAP bm{};
  GetObjectW(bitmap.get(), sizeof bm, &bm);
  core::Image image(bm.bmWidth, bm.bmHeight);
  BITMAPINFO info = topDownInfo(image.width(), image.height());
  int rows = 0;
  {
    const ScreenDc screen;
    rows = image.empty() ? 0
                         : GetDIBits(screen.get(), static_cast<HBITMAP>(bitmap.get()), 0, UINT(image.height()),
                                     image.row(0), &info, DIB_RGB_COLORS);
  }
  if (rows != image.height()) throw std::runtime_error("Cannot read the picture " + narrow(name));
  return image;
}

}  // namespace ui
