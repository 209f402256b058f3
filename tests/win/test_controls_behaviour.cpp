// How the styled controls behave on a real window: groups, keys, clicks, the fade
// driven by real timer ticks and cursor moves, setter rules and the style manager.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls_support.h"
#include "support.h"
#include "ui/application.h"
#include "ui/edit.h"

namespace {

// Holds modifier keys down in this thread's key state while it lives.
class HeldKeys {
 public:
  explicit HeldKeys(std::initializer_list<int> keys) {
    GetKeyboardState(saved_);
    BYTE state[256];
    std::copy(std::begin(saved_), std::end(saved_), state);
    for (int k : keys) state[k] = 0x80;
    SetKeyboardState(state);
  }
  ~HeldKeys() { SetKeyboardState(saved_); }

 private:
  BYTE saved_[256];
};

void key(HWND target, WORD vk) {
  PostMessageW(target, WM_KEYDOWN, vk, 1);
  testing_support::settle();
}

void postMouse(ui::Control& c, UINT msg, int x, int y) {
  PostMessageW(c.handle(), msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
  testing_support::settle();
}

// Puts the cursor over a point of the control (or far away) and lets the
// application's idle watch notice it.
void moveCursorTo(ui::Control* c, int x = 5, int y = 5) {
  POINT pt{x, y};
  if (c)
    ClientToScreen(c->handle(), &pt);
  else
    pt = {1200, 1000};
  SetCursorPos(pt.x, pt.y);
  testing_support::settle();
  ui::app().idle();
}

void tick(ui::Control& c, int n) {
  for (int i = 0; i < n; ++i) SendMessageW(c.handle(), WM_TIMER, 1, 0);
}

class ButtonTest : public testing::Test {
 protected:
  test::TestForm& form = test::form();
  TRbButton a, b;
  int clicksA = 0, clicksB = 0;

  void SetUp() override {
    a.create(&form, 10, 10, 75, 25);
    b.create(&form, 100, 10, 75, 25);
    a.OnClick = [this] { ++clicksA; };
    b.OnClick = [this] { ++clicksB; };
    moveCursorTo(nullptr);
  }
};

TEST_F(ButtonTest, GroupOfTwoKeepsOneDown) {
  for (bool allowAllUp : {false, true}) {
    SCOPED_TRACE(allowAllUp);
    a.setAllowAllUp(allowAllUp);
    b.setAllowAllUp(allowAllUp);
    a.setGroupIndex(1);
    b.setGroupIndex(1);
    a.setDown(false);
    b.setDown(false);
    a.click();
    EXPECT_TRUE(a.Down());
    b.click();
    EXPECT_TRUE(b.Down());
    EXPECT_FALSE(a.Down());
    b.click();
    EXPECT_EQ(b.Down(), !allowAllUp);  // only with AllowAllUp does a down button come up
    EXPECT_EQ(clicksB, allowAllUp ? 4 : 2);
  }
}

TEST_F(ButtonTest, OutsideAGroupNeverDown) {
  a.setDown(true);
  EXPECT_FALSE(a.Down());
  a.click();
  EXPECT_FALSE(a.Down());
  EXPECT_EQ(clicksA, 1);
}

TEST_F(ButtonTest, ClickSetsTheFormsModalResult) {
  form.setModalResult(7);
  a.click();
  EXPECT_EQ(form.modalResult(), 0);  // also when it is 0
  a.setModalResult(2);
  a.click();
  EXPECT_EQ(form.modalResult(), 2);
}

TEST_F(ButtonTest, SpaceClicksTheFocusedButtonOncePerKey) {
  a.setFocus();
  ASSERT_EQ(GetFocus(), a.handle());
  key(a.handle(), VK_SPACE);
  key(a.handle(), VK_SPACE);  // a key repeat clicks again
  EXPECT_EQ(clicksA, 2);
  {
    HeldKeys shift{VK_SHIFT};
    key(a.handle(), VK_SPACE);
  }
  EXPECT_EQ(clicksA, 2);
}

TEST_F(ButtonTest, EnterAndEscapeReachDefaultAndCancelButtons) {
  ui::Edit edit;
  edit.create(&form, 10, 50, 80, 21);
  b.setDefault(true);
  a.setCancel(true);

  a.setFocus();
  key(a.handle(), VK_RETURN);  // the focused button takes Enter first
  EXPECT_EQ(clicksA, 1);
  EXPECT_EQ(clicksB, 0);

  edit.setFocus();
  key(edit.handle(), VK_RETURN);  // the field does not use Enter: the default button
  EXPECT_EQ(clicksB, 1);

  key(edit.handle(), VK_ESCAPE);
  EXPECT_EQ(clicksA, 2);
  {
    HeldKeys ctrl{VK_CONTROL};
    key(edit.handle(), VK_ESCAPE);
  }
  EXPECT_EQ(clicksA, 2);

  b.setEnabled(false);  // a button that cannot take the focus takes no keys
  key(edit.handle(), VK_RETURN);
  EXPECT_EQ(clicksB, 1);
}

TEST_F(ButtonTest, EnterGoesToTheFocusedButtonBeforeADefaultOneCreatedEarlier) {
  a.setDefault(true);  // a comes first among the form's children
  b.setFocus();
  key(b.handle(), VK_RETURN);
  EXPECT_EQ(clicksB, 1);
  EXPECT_EQ(clicksA, 0);
  {
    // Only Escape asks for no Shift, Ctrl or Alt; Enter clicks with them held.
    HeldKeys shift{VK_SHIFT, VK_CONTROL};
    key(b.handle(), VK_RETURN);
  }
  EXPECT_EQ(clicksB, 2);
  EXPECT_EQ(clicksA, 0);
}

TEST_F(ButtonTest, AfterACaptureEndsTheButtonUnderTheCursorFadesIn) {
  moveCursorTo(&a);
  postMouse(a, WM_LBUTTONDOWN, 5, 5);
  ASSERT_EQ(GetCapture(), a.handle());
  moveCursorTo(&b);  // while a holds the mouse, b hears nothing
  EXPECT_FALSE(b.MouseInside());
  postMouse(a, WM_LBUTTONUP, 95, 5);
  ui::app().idle();
  EXPECT_TRUE(b.MouseInside());
  EXPECT_EQ(b.FadeStep(), core::FadeStep::FadeIn);
}

TEST_F(ButtonTest, SpacingBelowZeroIsStoredAsZero) {
  a.setSpacing(-5);
  EXPECT_EQ(a.Spacing(), 0);
  a.setSpacing(4);
  EXPECT_EQ(a.Spacing(), 4);
}

TEST_F(ButtonTest, HoverFadesInWithRealTimerTicksAndStops) {
  moveCursorTo(&a);
  ASSERT_TRUE(a.MouseInside());
  EXPECT_EQ(a.FadeStep(), core::FadeStep::FadeIn);
  std::vector<int> levels;
  testing_support::waitUntil([&] {
    if (levels.empty() || levels.back() != a.OverLevel()) levels.push_back(a.OverLevel());
    return a.OverLevel() >= 100;
  });
  ASSERT_EQ(a.OverLevel(), 100);
  for (std::size_t i = 1; i < levels.size(); ++i) EXPECT_GT(levels[i], levels[i - 1]);
  EXPECT_FALSE(KillTimer(a.handle(), 1));  // the last step stopped the timer

  moveCursorTo(nullptr);
  EXPECT_FALSE(a.MouseInside());
  EXPECT_EQ(a.FadeStep(), core::FadeStep::FadeOut);
  tick(a, 10);
  EXPECT_EQ(a.OverLevel(), 0);
  EXPECT_TRUE(KillTimer(a.handle(), 1));  // one more tick would have found rest
}

TEST_F(ButtonTest, PressAndReleaseFadeThroughThePressedLook) {
  moveCursorTo(&a);
  tick(a, 10);
  postMouse(a, WM_LBUTTONDOWN, 5, 5);
  EXPECT_TRUE(a.MousePressed());
  EXPECT_EQ(GetFocus(), a.handle());  // a press takes the focus
  tick(a, 4);
  EXPECT_EQ(a.ClickLevel(), 100);
  tick(a, 1);
  EXPECT_FALSE(KillTimer(a.handle(), 1));  // the closing tick
  postMouse(a, WM_LBUTTONUP, 5, 5);
  EXPECT_EQ(clicksA, 1);
  EXPECT_FALSE(a.MousePressed());
  tick(a, 4);
  EXPECT_EQ(a.ClickLevel(), 0);
  EXPECT_EQ(a.OverLevel(), 100);

  // Released outside: no click, and the button fades out.
  postMouse(a, WM_LBUTTONDOWN, 5, 5);
  moveCursorTo(nullptr);
  postMouse(a, WM_LBUTTONUP, 300, 300);
  EXPECT_EQ(clicksA, 1);
  EXPECT_EQ(a.FadeStep(), core::FadeStep::FadeOut);
}

TEST_F(ButtonTest, DisabledButtonStillHearsTheMouse) {
  a.setEnabled(false);
  moveCursorTo(&a);
  EXPECT_TRUE(a.MouseInside());
  tick(a, 10);
  EXPECT_EQ(a.OverLevel(), 100);
}

TEST_F(ButtonTest, GroupedButtonComesUpThroughNegativeHoverLevels) {
  a.setGroupIndex(1);
  a.setAllowAllUp(true);
  a.setDown(true);
  tick(a, 5);
  EXPECT_EQ(a.ClickLevel(), 100);
  moveCursorTo(&a);
  moveCursorTo(nullptr);  // leaving a down button changes nothing
  EXPECT_TRUE(a.MousePressed());
  a.setDown(false);
  std::vector<int> over;
  for (int i = 0; i < 4; ++i) {
    tick(a, 1);
    over.push_back(a.OverLevel());
  }
  EXPECT_EQ(over, (std::vector<int>{-10, -20, -30, 0}));
  EXPECT_EQ(a.ClickLevel(), 0);
}

TEST_F(ButtonTest, ColourSetChangesRebuildOrRepaint) {
  const core::Color before = a.OverImage().pixel(5, 20);
  a.Colors().setOverTo(core::clBlack);
  EXPECT_NE(a.OverImage().pixel(5, 20), before);
  const core::Color resting = a.DefaultImage().pixel(5, 20);
  TRbControlColors other(nullptr);
  other.setDefaultTo(core::clBlack);
  a.Colors().assign(other);  // the copy tells nobody: the images stay
  EXPECT_EQ(a.Colors().DefaultTo(), core::clBlack);
  EXPECT_EQ(a.Colors().OverTo(), 12489846u);
  EXPECT_EQ(a.DefaultImage().pixel(5, 20), resting);
}

TEST(ColourSets, AssignCopiesByKindAndRefusesStrangers) {
  TRbControlColors controls(nullptr);
  controls.setClickedFrom(1);
  controls.setOverFrom(2);
  TRbSplitterColors splitter;
  EXPECT_EQ(splitter.DefaultFrom(), core::clBtnFace);
  splitter.assign(controls);
  EXPECT_EQ(splitter.OverFrom(), 2u);
  TRbControlColors copy(nullptr);
  copy.assign(controls);
  EXPECT_EQ(copy.ClickedFrom(), 1u);
  copy.assign(TRbSplitterColors());  // only the four shared colours
  EXPECT_EQ(copy.DefaultFrom(), core::clBtnFace);
  EXPECT_EQ(copy.ClickedFrom(), 1u);

  TRbStyleManager manager;
  try {
    copy.assign(manager);
    FAIL() << "no error";
  } catch (const ui::AssignError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TRbStyleManager to a TRbControlColors");
  }
  try {
    manager.assign(copy);
    FAIL() << "no error";
  } catch (const ui::AssignError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TRbControlColors to a TRbStyleManager");
  }
}

TEST(StyleManager, AssignTakesTheWholeStyle) {
  TRbStyleManager source, target;
  source.Colors().setHotTrack(core::clRed);
  source.SplitterColors().setOverTo(core::clNavy);
  source.setCheckColor(core::clBlue);
  source.setFadeSpeed(core::fsVeryFast);
  ui::Font font;
  font.name = "Arial";
  source.setFont(font);
  source.setShowFocusRect(false);
  target.assign(source);
  EXPECT_EQ(target.Colors().HotTrack(), core::clRed);
  EXPECT_EQ(target.SplitterColors().OverTo(), core::clNavy);
  EXPECT_EQ(target.CheckColor(), core::clBlue);
  EXPECT_EQ(target.FadeSpeed(), core::fsVeryFast);
  EXPECT_EQ(target.Font().name, "Arial");
  EXPECT_FALSE(target.ShowFocusRect());
}

TEST(StyleManager, RegistryOfLinkedControls) {
  test::TestForm& form = test::form();
  auto first = std::make_unique<TRbStyleManager>(&form);
  TRbStyleManager second(&form);
  auto button = std::make_unique<TRbButton>();
  button->create(&form);
  TRbCheckBox box;
  box.create(&form);

  button->setRbStyleManager(first.get());
  first->RegisterControl(button.get());  // twice: still one entry
  box.setRbStyleManager(first.get());
  EXPECT_EQ(first->LinkedControls().size(), 2u);

  button->setRbStyleManager(&second);
  EXPECT_EQ(first->LinkedControls(), (std::vector<TRbCustomControl*>{&box}));
  EXPECT_EQ(second.LinkedControls(), (std::vector<TRbCustomControl*>{button.get()}));

  button.reset();  // a control going away leaves the list
  EXPECT_TRUE(second.LinkedControls().empty());

  first.reset();  // the manager going away clears the links to it, and only those
  EXPECT_EQ(box.RbStyleManager(), nullptr);
  TRbButton other;
  other.create(&form);
  other.setRbStyleManager(&second);
  {
    TRbStyleManager unrelated(&form);
  }
  EXPECT_EQ(other.RbStyleManager(), &second);

  // A manager without a form still tells the controls that asked for it.
  auto loose = std::make_unique<TRbStyleManager>();
  box.setRbStyleManager(loose.get());
  loose.reset();
  EXPECT_EQ(box.RbStyleManager(), nullptr);
}

class CheckBoxTest : public testing::Test {
 protected:
  test::TestForm& form = test::form();
  TRbCheckBox box;
  std::vector<bool> seen;

  void SetUp() override {
    box.create(&form, 10, 10, 225, 17);
    box.setCaption("Панель QRG");
    box.OnClick = [this](ui::Control* sender) {
      EXPECT_EQ(sender, &box);
      seen.push_back(box.Checked());
    };
    moveCursorTo(nullptr);
  }
};

TEST_F(CheckBoxTest, ClickTogglesBeforeOnClick) {
  moveCursorTo(&box);
  postMouse(box, WM_LBUTTONDOWN, 5, 5);
  EXPECT_TRUE(box.MousePressed());
  postMouse(box, WM_LBUTTONUP, 5, 5);
  EXPECT_EQ(seen, std::vector<bool>{true});
  EXPECT_FALSE(box.MousePressed());
  EXPECT_EQ(box.FadeStep(), core::FadeStep::FadeIn);
  box.setChecked(false);  // from code: no event
  EXPECT_EQ(seen.size(), 1u);
}

TEST_F(CheckBoxTest, NoKeyToggles) {
  box.setFocus();
  ASSERT_EQ(GetFocus(), box.handle());
  key(box.handle(), VK_SPACE);
  key(box.handle(), VK_RETURN);
  EXPECT_FALSE(box.Checked());
  EXPECT_TRUE(seen.empty());
}

TEST_F(CheckBoxTest, QuickDoubleClickIsTwoClicks) {
  // Real input: the window class asks for no double clicks, so the second press
  // arrives as a press.
  POINT pt{6, 6};
  ClientToScreen(box.handle(), &pt);
  SetCursorPos(pt.x, pt.y);
  testing_support::settle();
  INPUT clicks[4] = {};
  const DWORD flags[4] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
  for (int i = 0; i < 4; ++i) {
    clicks[i].type = INPUT_MOUSE;
    clicks[i].mi.dwFlags = flags[i];
  }
  SendInput(4, clicks, sizeof(INPUT));
  testing_support::waitUntil([&] { return seen.size() >= 2; });
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
  EXPECT_FALSE(box.Checked());
}

TEST_F(CheckBoxTest, LeavingWithTheButtonHeldClearsThePress) {
  moveCursorTo(&box);
  postMouse(box, WM_LBUTTONDOWN, 5, 5);
  tick(box, 2);
  moveCursorTo(nullptr);
  EXPECT_FALSE(box.MouseInside());
  EXPECT_FALSE(box.MousePressed());
  EXPECT_EQ(box.FadeStep(), core::FadeStep::FadeOut);
  tick(box, 20);
  EXPECT_FALSE(KillTimer(box.handle(), 1));
  postMouse(box, WM_LBUTTONUP, 400, 5);  // released outside: nothing restarts
  EXPECT_FALSE(KillTimer(box.handle(), 1));
  EXPECT_TRUE(seen.empty());
}

TEST(PanelBehaviour, ChildrenLieInsideTheFrame) {
  test::TestForm& form = test::form();
  TRbPanel panel;
  test::setUpSpotListPanel(panel, &form, 0, 0, 258, 31);
  TRbButton button;
  button.create(&panel, 50, 50, 41, 25);
  button.setAlign(ui::Align::Left);
  EXPECT_EQ(button.left(), 3);
  EXPECT_EQ(button.top(), 3);
  EXPECT_EQ(button.height(), 25);

  panel.setHeight(80);
  panel.setCaption("QRG");
  panel.setCaptionPosition(core::cpGroupBox);  // the children move below the title
  // The title is 13 pixels high at the panel's font: the frame runs 6 below its
  // top, the children start as far below the frame again.
  EXPECT_EQ(button.top(), 13);
  EXPECT_EQ(button.height(), 80 - 3 - 13);
}

TEST(PanelBehaviour, DrawsTheSystemsNewColoursOnceTheyChange) {
  test::TestForm& form = test::form();
  TRbPanel panel;
  test::setUpSpotListPanel(panel, &form, 0, 0, 258, 31);
  const int face = COLOR_BTNFACE;
  const COLORREF before = GetSysColor(face), red = RGB(255, 0, 0);
  ASSERT_NE(before, red);
  EXPECT_EQ(test::render(panel).pixel(0, 0), before) << "the corner outside the frame";
  SetSysColors(1, &face, &red);  // every top-level window hears of it
  testing_support::settle();
  const core::Color corner = test::render(panel).pixel(0, 0);
  SetSysColors(1, &face, &before);
  testing_support::settle();
  EXPECT_EQ(corner, core::Color(red));
}

TEST(PanelBehaviour, IgnoredWidthsKeepTheOldValue) {
  test::TestForm& form = test::form();
  TRbPanel panel;
  test::setUpSpotListPanel(panel, &form, 0, 0, 258, 31);
  panel.setCornerWidth(-1);
  EXPECT_EQ(panel.CornerWidth(), 10);
  panel.setCornerWidth(0);
  EXPECT_EQ(panel.CornerWidth(), 0);
  panel.setBorderWidth(0);
  panel.setBorderWidth(-3);
  EXPECT_EQ(panel.BorderWidth(), 2);
}

TEST(PanelBehaviour, AntialiasedWinsOverGradientInEitherOrder) {
  test::TestForm& form = test::form();
  TRbPanel loaded;
  loaded.beginLoading();
  loaded.create(&form, 0, 0, 100, 40);
  loaded.setAntialiased(true);
  loaded.setGradient(true);  // refused: Antialiased came first
  EXPECT_FALSE(loaded.Gradient());
  // Nothing was drawn while loading; the end of loading draws the background.
  EXPECT_EQ(loaded.BackImage().pixels().pixel(50, 20), core::clBlack);
  loaded.endLoading();
  EXPECT_EQ(loaded.BackImage().pixels().pixel(50, 20), 14933983u);

  TRbPanel reverse;
  reverse.create(&form, 0, 50, 100, 40);
  reverse.setAntialiased(false);
  reverse.setGradient(true);
  EXPECT_TRUE(reverse.Gradient());
  reverse.setAntialiased(true);
  EXPECT_FALSE(reverse.Gradient());
}

TEST(PanelBehaviour, ParentColourBecomesTheOuterColour) {
  test::TestForm& form = test::form();
  TRbPanel panel;
  panel.create(&form, 0, 0, 100, 40);
  panel.setParentColor(true);
  form.setColor(core::clWhite);
  EXPECT_EQ(panel.color(), core::clWhite);
  EXPECT_EQ(panel.OuterColor(), core::clWhite);
  form.setColor(core::clBtnFace);  // the window serves the next tests too
}

}  // namespace
