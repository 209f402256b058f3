// 24-bit images of the styled controls: three bytes per pixel in the order blue,
// green, red; row 0 is the top row. An image either owns its pixels or views the
// bits of a Windows DIB section (or any other buffer) without copying them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/color.h"

namespace core {

// A rectangle in image pixels: left and top included, right and bottom excluded.
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  constexpr int width() const { return right - left; }
  constexpr int height() const { return bottom - top; }
  constexpr bool empty() const { return right <= left || bottom <= top; }
  constexpr Rect shrunk(int d) const { return {left + d, top + d, right - d, bottom - d}; }
  constexpr Rect moved(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  constexpr Rect clippedTo(int width, int height) const {
    return {left < 0 ? 0 : left, top < 0 ? 0 : top, right > width ? width : right,
            bottom > height ? height : bottom};
  }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

class Image {
 public:
  static constexpr int kBytesPerPixel = 3;
  // Bytes of one row when rows are DWORD-aligned, as in a DIB.
  static std::ptrdiff_t alignedStride(int width);

  Image() = default;
  // An owning image, black, with DWORD-aligned rows top to bottom.
  Image(int width, int height);

  // Views rows that the caller keeps alive: `topRow` is the first byte of row 0,
  // `stride` the distance in bytes from one row to the next (negative when the rows
  // lie bottom-up in memory).
  static Image wrap(std::uint8_t* topRow, int width, int height, std::ptrdiff_t stride);
  // Views the bits of a 24-bit DIB section. `dibHeight` is the height as the
  // BITMAPINFOHEADER gives it: positive for a bottom-up DIB, negative for top-down.
  static Image wrapDib(void* bits, int width, int dibHeight);

  // Copies always own their pixels, whatever the source was.
  Image(const Image& other);
  Image& operator=(const Image& other);
  Image(Image&& other) noexcept;
  Image& operator=(Image&& other) noexcept;

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ < 1 || height_ < 1; }
  bool ownsPixels() const { return wrapped_ == false; }
  std::ptrdiff_t stride() const { return stride_; }
  Rect bounds() const { return {0, 0, width_, height_}; }

  // Row y from the top; the caller keeps y within 0..height-1.
  std::uint8_t* row(int y) { return top_ + stride_ * y; }
  const std::uint8_t* row(int y) const { return top_ + stride_ * y; }

  // Reallocates an owning image (its pixels become black); a viewing image cannot
  // change its size and throws std::logic_error. Negative sizes give an empty image.
  void setSize(int width, int height);

  // Single-pixel access, for tests and small glyphs: RGB colour 0x00BBGGRR.
  // Outside the image pixel() gives 0 and setPixel() does nothing.
  Color pixel(int x, int y) const;
  void setPixel(int x, int y, Color rgb);

  // Fills the whole image, or the part of `area` that lies inside it.
  void fill(Color rgb);
  void fillRect(Rect area, Color rgb);

 private:
  int width_ = 0, height_ = 0;
  std::ptrdiff_t stride_ = 0;
  std::uint8_t* top_ = nullptr;
  bool wrapped_ = false;
  std::vector<std::uint8_t> storage_;

  void allocate(int width, int height);
};

// Copies the block of `source` at its origin, width by height pixels, into `target`
// with its top-left corner at (x, y), clipped to both images. The two may be the same
// image: rows and bytes are moved so that every source pixel is read before it is
// overwritten.
void copyBlock(Image& target, int x, int y, const Image& source, int width, int height);
inline void copyImage(Image& target, int x, int y, const Image& source) {
  copyBlock(target, x, y, source, source.width(), source.height());
}

// Draws `picture` at (x, y) leaving out every pixel whose colour equals that of the
// picture's bottom-left pixel (its transparent colour); clipped to the target.
void drawTransparent(Image& target, int x, int y, const Image& picture);

}  // namespace core
