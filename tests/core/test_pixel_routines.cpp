#include "core/pixel_routines.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using core::Image;
using core::rgb;

const core::SystemColors kColors;

Image filled(int w, int h, core::Color c) {
  Image img(w, h);
  img.fill(c);
  return img;
}

Image numbered(int w, int h) {
  Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      img.setPixel(x, y, rgb(std::uint8_t(x * 9), std::uint8_t(y * 13), std::uint8_t(100 + x + y)));
  return img;
}

TEST(NearestEven, HalvesGoToTheEvenNeighbour) {
  const struct {
    double v, expected;
  } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {251.8, 252}, {249.5, 250}, {-0.5, 0}, {-1.5, -2}, {3.2, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.v);
    EXPECT_EQ(core::nearestEven(c.v), c.expected);
  }
}

TEST(GradientFill, VerticalRowsFromWhiteToTheButtonBlue) {
  Image img(4, 25);
  core::GradientFill(img, img.bounds(), core::clWhite, 13745839, core::gtVertical, {}, kColors);
  const struct {
    int row;
    core::Color expected;
  } rows[] = {{0, rgb(255, 255, 255)}, {1, rgb(252, 252, 253)}, {2, rgb(249, 250, 251)}, {24, rgb(178, 193, 211)}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.row);
    EXPECT_EQ(img.pixel(0, r.row), r.expected);
    EXPECT_EQ(img.pixel(3, r.row), r.expected);
  }
}

TEST(GradientFill, DistancesOfEachType) {
  // From black to red 200: the red channel shows step x distance.
  const struct {
    core::TGradientType type;
    int w, h;
    int x, y;
    int red;
  } cases[] = {
      // gtDoubleHorz over 8 columns: D = 4, distances 4 3 2 1 0 1 2 3.
      {core::gtDoubleHorz, 8, 1, 0, 0, 200}, {core::gtDoubleHorz, 8, 1, 1, 0, 150},
      {core::gtDoubleHorz, 8, 1, 3, 0, 50},  {core::gtDoubleHorz, 8, 1, 4, 0, 0},
      {core::gtDoubleHorz, 8, 1, 5, 0, 50},  {core::gtDoubleHorz, 8, 1, 7, 0, 150},
      {core::gtDoubleVert, 1, 8, 0, 6, 100}, {core::gtHorizontal, 4, 2, 3, 1, 150},
      // diagonal 3-4-5: D = 5, step 40
      {core::gtFromTopLeft, 3, 4, 2, 3, 144},   // sqrt(13) = 3.606 -> 144.2
      {core::gtFromTopRight, 3, 4, 0, 0, 120},  // distance 3 from the right edge
      {core::gtRadial, 6, 8, 3, 4, 0},          // the centre; D = 10 div 2 = 5
      {core::gtRadial, 6, 8, 0, 0, 200},        // sqrt(9 + 16) = 5
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << " at " << c.x << "," << c.y);
    Image img(c.w, c.h);
    core::GradientFill(img, img.bounds(), core::clBlack, rgb(200, 0, 0), c.type, {}, kColors);
    EXPECT_EQ(core::redOf(img.pixel(c.x, c.y)), c.red);
  }
}

TEST(GradientFill, OvershootAtFarCornersIsHeldAtTheLimit) {
  // 10 x 3: the diagonal 10.44 rounds to 10, the far corner lies at 10.2.
  Image img(10, 3);
  core::GradientFill(img, img.bounds(), core::clBlack, core::clWhite, core::gtFromTopRight, {}, kColors);
  EXPECT_EQ(img.pixel(0, 2), core::clWhite);
}

TEST(GradientFill, ZeroLengthDrawsTheFromColour) {
  Image narrow(1, 6);
  core::GradientFill(narrow, narrow.bounds(), rgb(10, 20, 30), core::clWhite, core::gtDoubleHorz, {}, kColors);
  Image dot(1, 1);
  core::GradientFill(dot, dot.bounds(), rgb(10, 20, 30), core::clBlack, core::gtRadial, {}, kColors);
  EXPECT_EQ(narrow.pixel(0, 5), rgb(10, 20, 30));
  EXPECT_EQ(dot.pixel(0, 0), rgb(10, 20, 30));
}

TEST(GradientFill, EqualColoursFillSolidAndRespectTheRegion) {
  Image img = filled(6, 4, rgb(1, 1, 1));
  auto leftHalf = [](int x, int) { return x < 3; };
  core::GradientFill(img, img.bounds(), rgb(50, 60, 70), rgb(50, 60, 70), core::gtFromTopLeft, leftHalf, kColors);
  EXPECT_EQ(img.pixel(2, 3), rgb(50, 60, 70));
  EXPECT_EQ(img.pixel(3, 0), rgb(1, 1, 1));

  // The button face against the RGB value it stands for: not equal before
  // resolving, so the per-pixel path runs, and every pixel is that colour.
  core::SystemColors colors;
  colors.set(15, rgb(236, 233, 216));
  core::GradientFill(img, img.bounds(), core::clBtnFace, rgb(236, 233, 216), core::gtRadial, {}, colors);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) ASSERT_EQ(img.pixel(x, y), rgb(236, 233, 216));

  Image gradient = filled(6, 4, rgb(1, 1, 1));
  core::GradientFill(gradient, gradient.bounds(), core::clBlack, core::clWhite, core::gtVertical, leftHalf, kColors);
  EXPECT_EQ(gradient.pixel(5, 3), rgb(1, 1, 1));
  EXPECT_EQ(gradient.pixel(0, 2), rgb(128, 128, 128));  // 63.75 x 2 = 127.5 -> 128
}

TEST(BlendImage, MixesInTheOverlayFromItsOwnOrigin) {
  Image target = filled(4, 3, core::clBlack);
  Image overlay = filled(2, 2, core::clWhite);
  overlay.setPixel(1, 1, rgb(1, 3, 2));
  core::BlendImage(target, overlay, {2, 1, 4, 3}, 25);
  EXPECT_EQ(target.pixel(2, 1), rgb(64, 64, 64));  // 63.75
  EXPECT_EQ(target.pixel(1, 1), core::clBlack);
  core::BlendImage(target, overlay, {2, 1, 4, 3}, 50);
  EXPECT_EQ(target.pixel(3, 2), rgb(0, 2, 1));  // 0.5 -> 0, 1.5 -> 2, 1 -> 1
  // An area larger than the overlay only blends where the overlay has pixels.
  core::BlendImage(target, overlay, {-1, -1, 10, 10}, 100);
  EXPECT_EQ(target.pixel(0, 0), rgb(1, 3, 2));
  EXPECT_EQ(target.pixel(3, 2), rgb(0, 2, 1));
}

TEST(CopyAndBlend, PercentZeroCopiesAndOverHundredReplaces) {
  const Image base = numbered(6, 5);
  const Image overlay = filled(6, 5, rgb(7, 7, 7));
  const struct {
    int percent;
    bool overlaid;
  } cases[] = {{0, false}, {-20, false}, {150, true}, {100, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.percent);
    Image target = filled(6, 5, core::clWhite);
    core::CopyAndBlend(target, base, overlay, 1, target.bounds(), c.percent);
    EXPECT_EQ(target.pixel(0, 0), c.overlaid ? rgb(7, 7, 7) : core::clWhite);
    EXPECT_EQ(target.pixel(5, 4), c.overlaid ? rgb(7, 7, 7) : base.pixel(4, 3));
  }
}

TEST(CopyAndBlend, WithinOneImageMovesTheBlockAtItsOrigin) {
  const Image original = numbered(9, 7);
  Image img = original;
  const Image overlay(1, 1);
  core::CopyAndBlend(img, img, overlay, 1, {2, 2, 8, 6}, 0);  // a 5 x 3 block to (3, 3)
  EXPECT_EQ(img.pixel(3, 3), original.pixel(0, 0));
  EXPECT_EQ(img.pixel(7, 5), original.pixel(4, 2));
  EXPECT_EQ(img.pixel(8, 5), original.pixel(8, 5));
  EXPECT_EQ(img.pixel(2, 2), original.pixel(2, 2));
  // An offset as large as the area's width or height copies nothing, though the
  // place the block would go lies inside the image.
  const struct {
    core::Rect area;
    int offset;
  } empty[] = {{{0, 0, 3, 3}, 3}, {{0, 0, 3, 6}, 3}, {{1, 0, 8, 2}, 2}};
  for (const auto& c : empty) {
    SCOPED_TRACE(c.area.right);
    Image untouched = original;
    core::CopyAndBlend(untouched, untouched, overlay, c.offset, c.area, 0);
    for (int y = 0; y < original.height(); ++y)
      for (int x = 0; x < original.width(); ++x) ASSERT_EQ(untouched.pixel(x, y), original.pixel(x, y)) << x << "," << y;
  }
}

TEST(ColorizeImage, GreyLevelPlusTint) {
  const struct {
    core::Color pixel, tint, expected;
  } cases[] = {
      {core::clBlack, core::clGreen, core::clGreen},
      {core::clFuchsia, core::clGreen, rgb(170, 255, 170)},
      {core::clWhite, core::clGreen, core::clWhite},
      {rgb(10, 20, 31), 0x404040, rgb(84, 84, 84)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.pixel);
    Image img = filled(2, 2, c.pixel);
    core::ColorizeImage(img, c.tint, kColors);
    EXPECT_EQ(img.pixel(1, 1), c.expected);
  }
}

TEST(Downsample, AveragesTheEdgeBandAndFillsTheRestFlat) {
  Image source = filled(180, 120, rgb(30, 60, 90));
  // One block with red 0..8 (sum 36) and green giving 40 / 9 = 4.44 -> 4.
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i) source.setPixel(3 + i, 6 + j, rgb(std::uint8_t(j * 3 + i), i == 0 && j == 0 ? 8 : 4, 0));
  Image target(60, 40);
  core::Downsample(source, target, 3, rgb(1, 2, 3), 30, kColors);
  EXPECT_EQ(target.pixel(1, 2), rgb(4, 4, 0));
  const struct {
    int x, y;
  } points[] = {{14, 20}, {15, 20}, {44, 20}, {45, 20}, {30, 14}, {30, 15}, {30, 24}, {30, 25}, {0, 0}, {59, 39}};
  const bool expectBand[] = {true, false, false, true, true, false, false, true, true, true};
  for (std::size_t k = 0; k < std::size(points); ++k) {
    SCOPED_TRACE(testing::Message() << points[k].x << "," << points[k].y);
    EXPECT_EQ(target.pixel(points[k].x, points[k].y), expectBand[k] ? rgb(30, 60, 90) : rgb(1, 2, 3));
  }

  // A margin of 0 uses the factor: a band of 3 div 2 = 1 pixel.
  Image thin(10, 10);
  core::Downsample(filled(30, 30, core::clWhite), thin, 3, core::clBlack, 0, kColors);
  EXPECT_EQ(thin.pixel(0, 5), core::clWhite);
  EXPECT_EQ(thin.pixel(1, 5), core::clBlack);
  EXPECT_EQ(thin.pixel(9, 5), core::clWhite);
  EXPECT_EQ(thin.pixel(8, 5), core::clBlack);
}

TEST(Downsample, PanelOfTheSpotListKeepsOneFlatRow) {
  // 31 rows with a band of 15: only row 15, between columns 15 and 242, is flat.
  Image target(258, 31);
  core::Downsample(filled(774, 93, rgb(200, 100, 50)), target, 3, core::clBlack, 30, kColors);
  EXPECT_EQ(target.pixel(128, 15), core::clBlack);
  EXPECT_EQ(target.pixel(14, 15), rgb(200, 100, 50));
  EXPECT_EQ(target.pixel(243, 15), rgb(200, 100, 50));
  EXPECT_EQ(target.pixel(128, 14), rgb(200, 100, 50));
  EXPECT_EQ(target.pixel(128, 16), rgb(200, 100, 50));
}

TEST(Downsample, ShortSourceEndsTheAveragingButStillFills) {
  Image target(10, 10);
  target.fill(rgb(5, 5, 5));
  core::Downsample(filled(30, 7, core::clWhite), target, 3, core::clBlack, 4, kColors);
  EXPECT_EQ(target.pixel(9, 1), core::clWhite);   // rows 0 and 1 have their source
  EXPECT_EQ(target.pixel(0, 2), rgb(5, 5, 5));     // row 2 has not: the pass ended
  EXPECT_EQ(target.pixel(2, 2), core::clBlack);    // the flat fill still ran
  EXPECT_THROW(core::Downsample(target, target, 0, 0, 0, kColors), std::invalid_argument);
}

}  // namespace
