// What the styled controls draw: rendered through WM_PRINTCLIENT on a real window,
// saved as BMP files beside the results, and checked at their key pixels.
#include <gtest/gtest.h>

#include <cstdlib>

#include "controls_support.h"
#include "ui/application.h"
#include "ui/dib_surface.h"

namespace {

using core::rgb;

constexpr core::Color kPanelColor = 14933983;  // red 223, green 223, blue 227

bool closeTo(core::Color a, core::Color b, int tolerance) {
  return std::abs(core::redOf(a) - core::redOf(b)) <= tolerance &&
         std::abs(core::greenOf(a) - core::greenOf(b)) <= tolerance &&
         std::abs(core::blueOf(a) - core::blueOf(b)) <= tolerance;
}

struct Point {
  int x, y;
};

void expectColourAt(const core::Image& img, core::Color colour, std::initializer_list<Point> points) {
  for (const Point& p : points) EXPECT_EQ(img.pixel(p.x, p.y), colour) << "at " << p.x << "," << p.y;
}

// A channel strictly between two values (an averaged frame pixel).
bool between(int v, int a, int b) { return v > std::min(a, b) && v < std::max(a, b); }

TEST(PanelLook, SpotListPanelHasAFlatInsideAndASmoothedFrame) {
  test::TestForm& form = test::form();
  TRbPanel panel;
  test::setUpSpotListPanel(panel, &form, 0, 0, 258, 31);
  const core::Image img = test::render(panel);
  test::saveBmp(img, "panel.bmp");
  ASSERT_EQ(img.width(), 258);
  ASSERT_EQ(img.height(), 31);

  // Only row 15 lies outside the averaged band of 15 pixels: it is flat Color.
  for (int x = 15; x < 243; ++x) ASSERT_EQ(img.pixel(x, 15), kPanelColor) << x;
  // The corners lie outside the rounded frame: the face colour around the panel.
  expectColourAt(img, test::resolved(core::clBtnFace), {{0, 0}, {257, 30}});
  // The 5-pixel pen covers the outermost three work rows: grey edges.
  EXPECT_TRUE(closeTo(img.pixel(128, 0), core::clGray, 8));
  EXPECT_TRUE(closeTo(img.pixel(0, 15), core::clGray, 8));
  EXPECT_TRUE(closeTo(img.pixel(257, 15), core::clGray, 8));
  EXPECT_TRUE(closeTo(img.pixel(128, 30), core::clGray, 8));
  // One row in, the frame's inner edge is averaged with the inside.
  const core::Color edge = img.pixel(128, 1);
  EXPECT_TRUE(between(core::redOf(edge), 128, 223)) << std::hex << edge;
  EXPECT_TRUE(between(core::blueOf(edge), 128, 227)) << std::hex << edge;
  // Inside the band, away from the frame, the average of flat Color is Color.
  EXPECT_EQ(img.pixel(128, 8), kPanelColor);
  // At the rounded corner the frame and the outer colour mix.
  const core::Color corner = img.pixel(2, 2);
  EXPECT_NE(corner, kPanelColor);
  EXPECT_NE(corner, test::resolved(core::clBtnFace));
}

TEST(PanelLook, GroupBoxTitleCutsIntoTheFrame) {
  test::TestForm& form = test::form();
  TRbPanel panel;
  test::setUpSpotListPanel(panel, &form, 0, 0, 185, 60);
  panel.setCaption("QRG");
  panel.setCaptionPosition(core::cpGroupBox);
  const core::Image img = test::render(panel);
  test::saveBmp(img, "panel-groupbox.bmp");
  // Above the frame's top (which runs through the middle of the 13-pixel title, at
  // y 7) lies the outer colour, right across the panel.
  EXPECT_EQ(img.pixel(150, 0), test::resolved(core::clBtnFace));
  EXPECT_TRUE(closeTo(img.pixel(150, 7), core::clGray, 60)) << std::hex << img.pixel(150, 7);
  EXPECT_EQ(img.pixel(92, 40), kPanelColor);
}

TEST(ButtonLook, CwButtonAtRest) {
  test::TestForm& form = test::form();
  TRbPanel panel;
  test::setUpSpotListPanel(panel, &form, 0, 0, 258, 31);
  TRbButton button;
  button.beginLoading();
  button.create(&panel, 3, 3, 41, 25);
  button.setCaption("CW");
  button.setFadeSpeed(core::fsMedium);
  button.setShowFocusRect(true);
  button.setHotTrack(false);
  button.setGradientBorder(true);
  button.setGradientType(core::gtVertical);
  button.endLoading();
  const core::Image img = test::render(button);
  test::saveBmp(img, "button-cw.bmp");

  // The face: the resting gradient one pixel right of and below its origin.
  for (int x : {3, 37}) {
    SCOPED_TRACE(x);
    EXPECT_EQ(img.pixel(x, 1), rgb(255, 255, 255));
    EXPECT_EQ(img.pixel(x, 2), rgb(252, 252, 253));
    EXPECT_EQ(img.pixel(x, 3), rgb(249, 250, 251));
    EXPECT_EQ(img.pixel(x, 23), rgb(185, 198, 215));  // gradient row 22
  }
  // The grey rounded frame on the outermost ring, its corners left in the control's
  // colour (the panel's, which it takes).
  EXPECT_EQ(button.color(), kPanelColor);
  expectColourAt(img, core::clGray, {{20, 0}, {20, 24}, {0, 12}, {40, 12}});
  expectColourAt(img, kPanelColor, {{0, 0}, {40, 24}});
  // The caption is drawn in the middle, in the panel's dark blue font.
  bool dark = false;
  for (int y = 5; y < 20; ++y)
    for (int x = 10; x < 31; ++x) dark = dark || core::redOf(img.pixel(x, y)) < 100;
  EXPECT_TRUE(dark);
}

TEST(ButtonLook, DisabledButtonKeepsItsFaceAndEmbossesItsCaption) {
  test::TestForm& form = test::form();
  TRbButton button;
  button.create(&form, 10, 10, 41, 25);
  button.setCaption("CW");
  const core::Image enabledLook = test::render(button);
  button.setEnabled(false);
  const core::Image img = test::render(button);
  test::saveBmp(img, "button-cw-disabled.bmp");
  EXPECT_EQ(img.pixel(3, 2), enabledLook.pixel(3, 2));
  EXPECT_EQ(img.pixel(20, 0), core::clGray);
  bool shadowText = false;
  for (int y = 5; y < 20; ++y)
    for (int x = 10; x < 31; ++x) shadowText = shadowText || img.pixel(x, y) == test::resolved(core::clBtnShadow);
  EXPECT_TRUE(shadowText);
}

// Black columns of the tick, row by row.
const std::vector<std::vector<int>> kTick = {{}, {7}, {6, 7}, {1, 5, 6, 7}, {1, 2, 4, 5, 6}, {1, 2, 3, 4, 5}, {2, 3, 4}, {3}};

bool tickAt(int col, int row) {
  for (int c : kTick[std::size_t(row)])
    if (c == col) return true;
  return false;
}

TEST(CheckPicture, IsTheTickOnFuchsia) {
  const core::Image tick = ui::loadBitmapResource(L"CHECK");
  ASSERT_EQ(tick.width(), 8);
  ASSERT_EQ(tick.height(), 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(tick.pixel(x, y), tickAt(x, y) ? core::clBlack : core::clFuchsia) << x << "," << y;
}

core::Image renderCheckBox(TRbCheckBox& box, bool enabled) {
  box.setCaption("Панель QRG");
  box.setChecked(true);
  box.setEnabled(enabled);
  return test::render(box);
}

void expectTick(const core::Image& img, core::Color colour) {
  // The box's corner lands at (2, 2); the tick 2 pixels inside the box's work
  // position, which the screen copy moves by another pixel: from (4, 4).
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      SCOPED_TRACE(testing::Message() << "tick pixel " << x << "," << y);
      if (tickAt(x, y))
        EXPECT_EQ(img.pixel(4 + x, 4 + y), colour);
      else
        EXPECT_NE(img.pixel(4 + x, 4 + y), colour);
    }
}

TEST(CheckBoxLook, TickedBoxOfTheQrgOption) {
  test::TestForm& form = test::form();
  TRbPanel panel;
  test::setUpSpotListPanel(panel, &form, 0, 0, 258, 145);
  TRbCheckBox box;
  box.create(&panel, 8, 64, 225, 17);
  const core::Image img = renderCheckBox(box, true);
  test::saveBmp(img, "checkbox.bmp");

  // The box's outline at (2, 2) .. (14, 14), the control's colour around it.
  expectColourAt(img, core::clGray, {{2, 2}, {14, 2}, {2, 14}, {14, 14}});
  expectColourAt(img, kPanelColor, {{1, 1}, {15, 8}, {8, 15}});
  EXPECT_EQ(img.pixel(3, 3), rgb(249, 250, 251));  // the diagonal gradient, 1.41 from its start
  expectTick(img, core::clGreen);
  // The caption starts 19 pixels in (13 + Spacing 3 + 3): nothing is drawn before.
  for (int x = 15; x < 19; ++x)
    for (int y = 0; y < 17; ++y) ASSERT_EQ(img.pixel(x, y), kPanelColor) << x << "," << y;
}

TEST(CheckBoxLook, DisabledTickIsGrey) {
  test::TestForm& form = test::form();
  TRbCheckBox box;
  box.create(&form, 8, 8, 225, 17);
  const core::Image img = renderCheckBox(box, false);
  test::saveBmp(img, "checkbox-disabled.bmp");
  expectTick(img, core::clGray);
}

TEST(CheckBoxLook, BorderLinesOnTopAndBottom) {
  test::TestForm& form = test::form();
  TRbCheckBox box;
  box.create(&form, 8, 8, 225, 17);
  box.setColor(core::clWhite);
  box.setShowCaption(false);
  box.setBorderLines({blTop, blBottom});
  const core::Image img = test::render(box);
  for (int x = 0; x < 225; ++x) {
    ASSERT_EQ(img.pixel(x, 0), core::clGray) << x;
    ASSERT_EQ(img.pixel(x, 16), core::clGray) << x;
  }
  EXPECT_EQ(img.pixel(200, 1), core::clWhite);
  EXPECT_EQ(img.pixel(200, 15), core::clWhite);
}

}  // namespace
