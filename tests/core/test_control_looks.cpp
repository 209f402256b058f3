#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "core/button_look.h"
#include "core/check_box_look.h"
#include "core/panel_look.h"

namespace {

using core::Image;
using core::rgb;

Image pattern(int w, int h, int seed) {
  Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      img.setPixel(x, y, rgb(std::uint8_t(seed + x * 5), std::uint8_t(seed + y * 7), std::uint8_t(seed * 3 + x + y)));
  return img;
}

std::uint8_t mix(int keepPercent, int a, int b) {
  return std::uint8_t(std::nearbyint(keepPercent / 100.0 * a + (100 - keepPercent) / 100.0 * b));
}

core::Color mixed(int keepPercent, core::Color a, core::Color b) {
  return rgb(mix(keepPercent, core::redOf(a), core::redOf(b)), mix(keepPercent, core::greenOf(a), core::greenOf(b)),
             mix(keepPercent, core::blueOf(a), core::blueOf(b)));
}

TEST(ButtonFace, RestingFaceLiesOnePixelRightAndDown) {
  const Image resting = pattern(20, 12, 0), over = pattern(20, 12, 40), clicked = pattern(20, 12, 80);
  Image work(20, 12);
  core::composeButtonFace(work, {resting, over, clicked}, 0, 0, true);
  EXPECT_EQ(work.pixel(0, 0), core::clWhite);
  EXPECT_EQ(work.pixel(0, 5), core::clWhite);
  EXPECT_EQ(work.pixel(1, 1), resting.pixel(0, 0));
  EXPECT_EQ(work.pixel(19, 11), resting.pixel(18, 10));

  core::composeButtonFace(work, {resting, over, clicked}, 100, 0, true);
  EXPECT_EQ(work.pixel(0, 0), over.pixel(0, 0));
  EXPECT_EQ(work.pixel(7, 3), over.pixel(7, 3));
  core::composeButtonFace(work, {resting, over, clicked}, -30, 0, true);  // below 0 draws as rest
  EXPECT_EQ(work.pixel(7, 3), resting.pixel(6, 2));
}

TEST(ButtonFace, PressedFaceShiftsInsideTheRing) {
  const Image resting = pattern(20, 12, 0), over = pattern(20, 12, 40), clicked = pattern(20, 12, 80);
  Image work(20, 12);
  core::composeButtonFace(work, {resting, over, clicked}, 0, 25, true);
  // The 3-pixel ring keeps the resting look.
  EXPECT_EQ(work.pixel(2, 2), resting.pixel(1, 1));
  EXPECT_EQ(work.pixel(17, 9), resting.pixel(16, 8));
  // Inside it: the resting face moved 4 more pixels, mixed 25 % with the pressed one
  // read from its origin at the ring's corner.
  EXPECT_EQ(work.pixel(10, 6), mixed(75, resting.pixel(5, 1), clicked.pixel(7, 3)));

  core::composeButtonFace(work, {resting, over, clicked}, 0, 100, false);
  EXPECT_EQ(work.pixel(0, 0), clicked.pixel(0, 0));
  core::composeButtonFace(work, {resting, over, clicked}, 0, 50, false);
  EXPECT_EQ(work.pixel(4, 4), mixed(50, resting.pixel(2, 2), clicked.pixel(4, 4)));
}

TEST(ButtonLayout, TextRectAndGlyphPositions) {
  const core::Rect client{0, 0, 75, 25};
  EXPECT_EQ(core::buttonTextRect(client, core::blGlyphLeft, 16, 16, 2), (core::Rect{18, 0, 75, 25}));
  EXPECT_EQ(core::buttonTextRect(client, core::blGlyphBottom, 16, 10, 2), (core::Rect{0, -12, 75, 25}));
  const struct {
    core::TButtonLayout layout;
    bool withText;
    core::Point expected;
  } cases[] = {
      {core::blGlyphLeft, true, {(18 + 75 - 30) / 2 - 2 - 16, 4}},
      {core::blGlyphLeft, false, {(18 + 75 - 2) / 2 - 16, 4}},
      {core::blGlyphRight, true, {(-18 + 75 + 30) / 2 + 2, 4}},
      {core::blGlyphTop, false, {29, (18 + 25) / 2 - 2 - 16}},
      {core::blGlyphBottom, true, {29, (-18 + 25 + 13) / 2 + 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.layout);
    core::GlyphPlacementInput in;
    in.layout = c.layout;
    in.withText = c.withText;
    in.text = core::buttonTextRect(client, c.layout, 16, 16, 2);
    in.width = 75;
    in.height = 25;
    in.glyphWidth = in.glyphHeight = 16;
    in.textWidth = 30;
    in.textHeight = 13;
    in.spacing = 2;
    EXPECT_EQ(core::glyphPosition(in), c.expected);
  }
}

Image checkMark() {
  Image tick(8, 8);
  tick.fill(core::clFuchsia);
  tick.setPixel(7, 1, core::clBlack);
  tick.setPixel(3, 7, core::clBlack);
  return tick;
}

TEST(CheckBoxLook, BoxTickAndLevels) {
  EXPECT_EQ(core::checkBoxRect(17), (core::Rect{1, 1, 14, 14}));
  EXPECT_EQ(core::checkBoxRect(10), (core::Rect{1, 0, 14, 13}));  // -3 div 4 truncates to 0
  EXPECT_EQ(core::checkBoxRect(30), (core::Rect{1, 4, 14, 17}));

  const Image resting = pattern(13, 13, 0), over = pattern(13, 13, 40), clicked = pattern(13, 13, 80);
  const Image tick = checkMark();
  const core::SystemColors colors;
  Image work(225, 17);
  core::CheckBoxLook look;
  look.background = core::clBtnFace;
  look.checkMark = &tick;
  look.tickColor = core::clGreen;
  core::composeCheckBox(work, {resting, over, clicked}, look, colors);
  EXPECT_EQ(work.pixel(0, 0), colors.resolve(core::clBtnFace));
  EXPECT_EQ(work.pixel(1, 1), resting.pixel(0, 0));
  EXPECT_EQ(work.pixel(14, 1), colors.resolve(core::clBtnFace));
  EXPECT_EQ(work.pixel(3 + 7, 3 + 1), core::clGreen);   // the tick, exactly
  EXPECT_EQ(work.pixel(3 + 3, 3 + 7), core::clGreen);
  EXPECT_EQ(work.pixel(3, 3), resting.pixel(2, 2));      // its background is not drawn

  look.checkMark = nullptr;
  look.overLevel = 50;
  look.clickLevel = 50;
  core::composeCheckBox(work, {resting, over, clicked}, look, colors);
  EXPECT_NE(work.pixel(10, 4), core::clGreen);  // unticked
  const core::Color hover = mixed(50, resting.pixel(4, 4), over.pixel(4, 4));
  EXPECT_EQ(work.pixel(5, 5), mixed(50, hover, clicked.pixel(2, 2)));
  EXPECT_EQ(work.pixel(2, 2), mixed(50, resting.pixel(1, 1), over.pixel(1, 1)));  // outside the shrunk box
}

TEST(PanelLook, FrameOfTheSpotListPanels) {
  const core::PanelFrame f = core::panelFrame(258, 31, 2, 10, true, core::cpTopLeft, 13);
  EXPECT_EQ(f.workWidth, 774);
  EXPECT_EQ(f.workHeight, 93);
  EXPECT_EQ(f.pen, 5);
  EXPECT_EQ(f.frame, (core::Rect{2, 2, 772, 91}));
  EXPECT_EQ(f.corner, 30);
  EXPECT_EQ(f.reductionMargin, 30);

  const core::PanelFrame flat = core::panelFrame(100, 50, 3, 8, false, core::cpGroupBox, 13);
  EXPECT_EQ(flat.factor, 1);
  EXPECT_EQ(flat.pen, 2);
  EXPECT_EQ(flat.frame, (core::Rect{1, 7, 99, 49}));  // top: inset + 13 div 2
  EXPECT_EQ(core::panelFrame(100, 50, 2, 10, true, core::cpGroupBox, 13).frame.top, 2 + 39 / 2);
}

TEST(PanelLook, ChildAreaAndCaptionRectangles) {
  EXPECT_EQ(core::panelChildArea(258, 31, 2, core::cpTopLeft, 13), (core::Rect{3, 3, 255, 28}));
  EXPECT_EQ(core::panelChildArea(258, 100, 2, core::cpGroupBox, 13), (core::Rect{3, 13, 255, 97}));

  const struct {
    core::TRbCaptionPos pos;
    int cornerWidth, borderWidth;
    core::Rect rect;
    unsigned alignment;
  } cases[] = {
      {core::cpTopLeft, 10, 2, {6, 2, 252, 29}, 0},
      {core::cpMiddleLeft, 10, 2, {2, 2, 252, 29}, 4},
      {core::cpMiddleRight, 10, 2, {6, 2, 256, 29}, 6},
      {core::cpBottomRight, 10, 2, {6, 2, 252, 29}, 10},
      {core::cpGroupBox, 10, 2, {6, 0, 252, 29}, 0},
      {core::cpGroupBox, 0, 1, {5, 0, 258, 30}, 0},  // no corner: the title moves in by 5
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pos);
    const core::PanelCaption cap = core::panelCaption(c.pos, 258, 31, c.cornerWidth, c.borderWidth);
    EXPECT_EQ(cap.rect, c.rect);
    EXPECT_EQ(cap.alignment, c.alignment);
  }
}

}  // namespace
