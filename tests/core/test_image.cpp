#include "core/image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using core::Image;
using core::rgb;

TEST(Image, RowsAreDwordAlignedAndStartBlack) {
  Image img(5, 2);
  EXPECT_EQ(img.stride(), 16);
  EXPECT_EQ(img.pixel(4, 1), 0u);
  img.setPixel(4, 1, rgb(1, 2, 3));
  const std::uint8_t* p = img.row(1) + 12;
  EXPECT_EQ(p[0], 3);  // blue first
  EXPECT_EQ(p[1], 2);
  EXPECT_EQ(p[2], 1);
  EXPECT_EQ(img.pixel(4, 1), rgb(1, 2, 3));
}

TEST(Image, OutsidePixelsAndBadSizesAreHarmless) {
  Image img(3, 3);
  img.setPixel(-1, 0, 0xFFFFFF);
  img.setPixel(3, 0, 0xFFFFFF);
  EXPECT_EQ(img.pixel(3, 0), 0u);
  img.fillRect({-5, -5, 100, 1}, rgb(9, 9, 9));
  EXPECT_EQ(img.pixel(2, 0), rgb(9, 9, 9));
  EXPECT_EQ(img.pixel(0, 1), 0u);
  img.setSize(-4, 7);
  EXPECT_TRUE(img.empty());
  img.fill(0xFFFFFF);  // nothing to fill, nothing to break
  EXPECT_THROW(Image(1 << 20, 2), std::length_error);
}

TEST(Image, WrapsABottomUpDibWithoutCopying) {
  // 5 pixels wide: 15 bytes of pixels, 16 with the DWORD padding.
  std::vector<std::uint8_t> bits(16 * 3, 0);
  Image view = Image::wrapDib(bits.data(), 5, 3);  // positive height: bottom-up
  EXPECT_FALSE(view.ownsPixels());
  view.setPixel(1, 0, rgb(10, 20, 30));  // top row is the last one in memory
  EXPECT_EQ(bits[32 + 3], 30);
  EXPECT_EQ(bits[32 + 5], 10);
  bits[0] = 77;  // first byte in memory: bottom row, blue of pixel 0
  EXPECT_EQ(view.pixel(0, 2), rgb(0, 0, 77));
  EXPECT_THROW(view.setSize(2, 2), std::logic_error);

  Image copy = view;  // a copy owns its pixels
  EXPECT_TRUE(copy.ownsPixels());
  bits[0] = 1;
  EXPECT_EQ(copy.pixel(0, 2), rgb(0, 0, 77));
}

TEST(Image, WrapsATopDownDib) {
  std::vector<std::uint8_t> bits(8 * 2, 0);
  Image view = Image::wrapDib(bits.data(), 2, -2);  // 6 bytes, padded to 8
  view.setPixel(0, 1, rgb(5, 6, 7));
  EXPECT_EQ(bits[8], 7);
  EXPECT_EQ(view.stride(), 8);
  EXPECT_THROW(Image::wrap(bits.data(), 3, 2, 4), std::invalid_argument);
}

Image numbered(int w, int h) {
  Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, rgb(std::uint8_t(x), std::uint8_t(y), std::uint8_t(x * 16 + y)));
  return img;
}

TEST(CopyImage, OverlappingMovesReadBeforeTheyWrite) {
  const struct {
    int dx, dy;
  } moves[] = {{1, 1}, {2, 0}, {0, 3}, {-1, -2}, {-2, 1}};
  for (const auto& m : moves) {
    SCOPED_TRACE(testing::Message() << "move " << m.dx << "," << m.dy);
    const Image original = numbered(7, 6);
    Image img = original;
    core::copyBlock(img, m.dx, m.dy, img, 5, 4);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 7; ++x) {
        const int sx = x - m.dx, sy = y - m.dy;
        const bool moved = sx >= 0 && sy >= 0 && sx < 5 && sy < 4;
        ASSERT_EQ(img.pixel(x, y), moved ? original.pixel(sx, sy) : original.pixel(x, y)) << x << "," << y;
      }
  }
}

TEST(DrawTransparent, LeavesOutTheBottomLeftColour) {
  Image picture(3, 2);
  picture.fill(rgb(255, 0, 255));
  picture.setPixel(1, 0, rgb(1, 2, 3));
  picture.setPixel(2, 1, rgb(4, 5, 6));
  Image target(4, 4);
  target.fill(rgb(9, 9, 9));
  core::drawTransparent(target, 2, 2, picture);  // partly outside: clipped
  EXPECT_EQ(target.pixel(3, 2), rgb(1, 2, 3));
  EXPECT_EQ(target.pixel(2, 2), rgb(9, 9, 9));
  EXPECT_EQ(target.pixel(2, 3), rgb(9, 9, 9));
  core::drawTransparent(target, -1, 0, picture);
  EXPECT_EQ(target.pixel(0, 0), rgb(1, 2, 3));
}

}  // namespace
