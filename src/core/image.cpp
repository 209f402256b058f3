#include "core/image.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string>

namespace core {

namespace {

// Far above any control on any screen; keeps the byte count well inside size_t.
constexpr int kMaxSide = 1 << 15;

void checkSides(int width, int height) {
  if (width > kMaxSide || height > kMaxSide)
    throw std::length_error("Image size " + std::to_string(width) + " x " + std::to_string(height) +
                            " is too large");
}

void putPixel(std::uint8_t* p, Color rgb) {
  p[0] = blueOf(rgb);
  p[1] = greenOf(rgb);
  p[2] = redOf(rgb);
}

}  // namespace

std::ptrdiff_t Image::alignedStride(int width) {
  return (std::ptrdiff_t(std::max(width, 0)) * kBytesPerPixel + 3) & ~std::ptrdiff_t(3);
}

Image::Image(int width, int height) { allocate(width, height); }

void Image::allocate(int width, int height) {
  checkSides(width, height);
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  if (width_ == 0 || height_ == 0) width_ = height_ = 0;
  stride_ = alignedStride(width_);
  storage_.assign(std::size_t(stride_) * std::size_t(height_), 0);
  top_ = storage_.empty() ? nullptr : storage_.data();
  wrapped_ = false;
}

Image Image::wrap(std::uint8_t* topRow, int width, int height, std::ptrdiff_t stride) {
  checkSides(width, height);
  Image img;
  if (topRow != nullptr && width > 0 && height > 0) {
    if ((stride < 0 ? -stride : stride) < std::ptrdiff_t(width) * kBytesPerPixel)
      throw std::invalid_argument("Image rows overlap: stride shorter than a row");
    img.width_ = width;
    img.height_ = height;
    img.stride_ = stride;
    img.top_ = topRow;
  }
  img.wrapped_ = true;
  return img;
}

Image Image::wrapDib(void* bits, int width, int dibHeight) {
  const std::ptrdiff_t stride = alignedStride(width);
  auto* base = static_cast<std::uint8_t*>(bits);
  if (dibHeight < 0) return wrap(base, width, -dibHeight, stride);
  // Bottom-up: the top row is the last one in memory.
  if (dibHeight == 0 || base == nullptr) return wrap(nullptr, 0, 0, stride);
  return wrap(base + stride * (dibHeight - 1), width, dibHeight, -stride);
}

Image::Image(const Image& other) {
  allocate(other.width_, other.height_);
  const std::size_t rowBytes = std::size_t(width_) * kBytesPerPixel;
  for (int y = 0; y < height_; ++y) std::memcpy(row(y), other.row(y), rowBytes);
}

Image& Image::operator=(const Image& other) {
  if (this != &other) *this = Image(other);
  return *this;
}

Image::Image(Image&& other) noexcept
    : width_(other.width_),
      height_(other.height_),
      stride_(other.stride_),
      top_(other.top_),
      wrapped_(other.wrapped_),
      storage_(std::move(other.storage_)) {
  other.width_ = other.height_ = 0;
  other.stride_ = 0;
  other.top_ = nullptr;
}

Image& Image::operator=(Image&& other) noexcept {
  if (this != &other) {
    width_ = other.width_;
    height_ = other.height_;
    stride_ = other.stride_;
    top_ = other.top_;
    wrapped_ = other.wrapped_;
    storage_ = std::move(other.storage_);
    other.width_ = other.height_ = 0;
    other.stride_ = 0;
    other.top_ = nullptr;
  }
  return *this;
}

void Image::setSize(int width, int height) {
  if (wrapped_) throw std::logic_error("A view of outside pixels cannot change its size");
  allocate(width, height);
}

Color Image::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const std::uint8_t* p = row(y) + x * kBytesPerPixel;
  return rgb(p[2], p[1], p[0]);
}

void Image::setPixel(int x, int y, Color rgb) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  putPixel(row(y) + x * kBytesPerPixel, rgb);
}

void Image::fill(Color rgb) { fillRect(bounds(), rgb); }

void Image::fillRect(Rect area, Color rgb) {
  const Rect r = area.clippedTo(width_, height_);
  if (r.empty()) return;
  // One row is built, then copied to the others.
  std::uint8_t* first = row(r.top) + r.left * kBytesPerPixel;
  for (int x = 0; x < r.width(); ++x) putPixel(first + x * kBytesPerPixel, rgb);
  const std::size_t rowBytes = std::size_t(r.width()) * kBytesPerPixel;
  for (int y = r.top + 1; y < r.bottom; ++y)
    std::memcpy(row(y) + r.left * kBytesPerPixel, first, rowBytes);
}

void copyBlock(Image& target, int x, int y, const Image& source, int width, int height) {
  // The block starts at the source's origin; clip it to both images.
  const int sx = x < 0 ? -x : 0;
  const int sy = y < 0 ? -y : 0;
  const int w = std::min({width, source.width(), target.width() - x}) - sx;
  const int h = std::min({height, source.height(), target.height() - y}) - sy;
  if (w <= 0 || h <= 0) return;
  const std::size_t rowBytes = std::size_t(w) * Image::kBytesPerPixel;
  auto moveRow = [&](int j) {
    std::memmove(target.row(y + sy + j) + (x + sx) * Image::kBytesPerPixel,
                 source.row(sy + j) + sx * Image::kBytesPerPixel, rowBytes);
  };
  // When the block moves down within the same bits, the lower rows go first.
  if (y > 0) {
    for (int j = h - 1; j >= 0; --j) moveRow(j);
  } else {
    for (int j = 0; j < h; ++j) moveRow(j);
  }
}

void drawTransparent(Image& target, int x, int y, const Image& picture) {
  if (picture.empty()) return;
  const std::uint8_t* key = picture.row(picture.height() - 1);
  for (int j = 0; j < picture.height(); ++j) {
    const int ty = y + j;
    if (ty < 0 || ty >= target.height()) continue;
    const std::uint8_t* src = picture.row(j);
    std::uint8_t* dst = target.row(ty);
    for (int i = 0; i < picture.width(); ++i) {
      const int tx = x + i;
      const std::uint8_t* p = src + i * Image::kBytesPerPixel;
      if (tx < 0 || tx >= target.width() || std::memcmp(p, key, Image::kBytesPerPixel) == 0) continue;
      std::memcpy(dst + tx * Image::kBytesPerPixel, p, Image::kBytesPerPixel);
    }
  }
}

}  // namespace core
