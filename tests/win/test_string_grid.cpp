// The string grid on a real window: column borders dragged with mouse messages,
// row geometry, scrolling, the cell under a point, the draw-cell event, the pixels
// it paints and what it invalidates.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "controls_support.h"
#include "support.h"
#include "ui/popup_menu.h"
#include "ui/string_grid.h"

namespace {

constexpr int kWidths[] = {60, 50, 40, 40, 30};
// The grid as the tests set it up: rows 17 pixels high under a 1-pixel line, the
// columns' right edges (each column followed by its 1-pixel line), and the client
// area inside the 2-pixel frame of a 300 x 200 grid.
constexpr int kPitch = 18;
constexpr int kRight[] = {60, 111, 152, 193, 224};
constexpr int kClientHeight = 196;

core::Color pixel(const core::Image& image, int x, int y) {
  const unsigned char* px = image.row(y) + 3 * x;
  return core::rgb(px[2], px[1], px[0]);
}

class GridTest : public testing::Test {
 protected:
  ui::StringGrid grid;

  void SetUp() override {
    ui::Font font;
    font.name = "Arial";
    font.height = 13;
    test::form().setFont(font);
    grid.create(&test::form(), 10, 10, 300, 200);
    for (int c = 0; c < 5; ++c) grid.setColWidth(c, kWidths[c]);
    grid.setDefaultRowHeight(17);
    // The real cursor stays away: its moves would reach a grid that holds the mouse.
    SetCursorPos(1200, 1000);
    testing_support::settle();
  }

  // The x of the grid line right of a column, where it lies now.
  int borderX(int col) const { return grid.cellRect(col, 0).right; }
  bool shownWhole(int row) const {
    const RECT r = grid.cellRect(0, row);
    return r.bottom > r.top && r.bottom <= grid.clientHeight();
  }

  void post(UINT msg, int x, int y, WPARAM keys = 0) {
    PostMessageW(grid.handle(), msg, keys, MAKELPARAM(x, y));
    testing_support::settle();
  }
  // The left button down at one point, moved to another and released there.
  void drag(int x0, int y0, int x1, int y1) {
    post(WM_LBUTTONDOWN, x0, y0, MK_LBUTTON);
    post(WM_MOUSEMOVE, x1, y1, MK_LBUTTON);
    post(WM_LBUTTONUP, x1, y1);
  }
  // Appends a spot row the way the spot list does: the empty last row takes the
  // texts and a new empty row follows; the newest row is kept the lowest visible.
  void append(const std::string& call) {
    const int r = grid.rowCount() - 1;
    grid.setCell(0, r, call);
    grid.setRowCount(r + 2);
    if (grid.rowCount() * grid.defaultRowHeight() > grid.clientHeight())
      grid.setTopRow(grid.rowCount() - grid.visibleRowCount() - 1);
  }
};

TEST_F(GridTest, ColumnBordersDragInTheTitleRowOnly) {
  // The resize cursor shows near a border of the title row only.
  struct {
    POINT at;
    bool sizing;
  } spots[] = {{{kRight[0] + 2, 5}, true}, {{30, 5}, false}, {{kRight[0], kPitch + 5}, false}};
  for (auto [at, sizing] : spots) {
    ClientToScreen(grid.handle(), &at);
    SetCursorPos(at.x, at.y);
    SendMessageW(grid.handle(), WM_SETCURSOR, WPARAM(grid.handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor() == LoadCursorW(nullptr, IDC_SIZEWE), sizing) << at.x << "," << at.y;
  }
  SetCursorPos(1200, 1000);
  testing_support::settle();
  std::vector<POINT> downs, moves;
  grid.OnMouseDown = [&](ui::MouseButton, ui::ShiftState, int x, int y) { downs.push_back({x, y}); };
  grid.OnMouseMove = [&](ui::ShiftState, int x, int y) { moves.push_back({x, y}); };

  // Live: the column is wider while the button is still down.
  post(WM_LBUTTONDOWN, kRight[0] + 2, 5, MK_LBUTTON);
  post(WM_MOUSEMOVE, kRight[0] + 32, 5, MK_LBUTTON);
  EXPECT_EQ(grid.colWidth(0), 90);
  EXPECT_EQ(grid.cellRect(1, 0).left, 91);
  post(WM_LBUTTONUP, kRight[0], 5);
  post(WM_MOUSEMOVE, 250, 5);
  EXPECT_EQ(grid.colWidth(0), 90);
  ASSERT_TRUE(downs.size() == 1 && !moves.empty()) << "the owner hears of the mouse";
  EXPECT_EQ(downs[0].x, 62);
  EXPECT_EQ(moves.back().x, 250);

  // Dragged far left, a column keeps a minimum width and can be widened again.
  drag(borderX(1), 5, 0, 5);
  const int minimum = grid.colWidth(1);
  EXPECT_TRUE(minimum > 2 && minimum < 50) << minimum;
  drag(borderX(1) - 1, 5, borderX(1) + 19, 5);
  EXPECT_EQ(grid.colWidth(1), minimum + 20);

  // A border in a data row is not a handle.
  grid.setRowCount(4);
  drag(borderX(2), kPitch + 3, borderX(2) + 30, kPitch + 3);
  EXPECT_EQ(grid.colWidth(2), 40);
}

TEST_F(GridTest, RowsFollowTheDefaultRowHeightAfterAFontChange) {
  const struct {
    int points, rowHeight;
    int firstTop;  // the first data row's top: under the title row and its line
  } cases[] = {{8, 16, 17}, {14, 22, 23}, {20, 28, 29}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.points);
    ui::Font font = grid.font();
    font.setSize(c.points);
    grid.setFont(font);
    grid.setDefaultRowHeight(c.rowHeight);
    grid.setRowCount(200);
    const RECT first = grid.cellRect(0, 1);
    EXPECT_EQ(first.top, c.firstTop);
    EXPECT_EQ(first.bottom - first.top, c.rowHeight);
    // The rows counted visible show whole; the next one does not.
    const int last = grid.topRow() + grid.visibleRowCount() - 1;
    EXPECT_TRUE(shownWhole(last));
    EXPECT_FALSE(shownWhole(last + 1));
  }
}

TEST_F(GridTest, ScrollingKeepsTheNewestRowLowestVisibleAndTheBarInStep) {
  for (int i = 0; i < 40; ++i) {
    append("CALL" + std::to_string(i));
    const int newest = grid.rowCount() - 2;
    ASSERT_TRUE(shownWhole(newest)) << i;
    ASSERT_FALSE(grid.topRow() > 1 && shownWhole(newest + 1)) << i;
  }
  ASSERT_GT(grid.topRow(), 1);
  testing_support::pump();  // the bar follows once the queue is served
  SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(grid.handle(), SB_VERT, &si);
  EXPECT_EQ(si.nPos, grid.topRow());
  EXPECT_EQ(si.nMax - si.nMin + 1, grid.rowCount() - 1);

  // The top row stays between the first data row and the one that shows the last row
  // at the bottom.
  grid.setTopRow(1000);
  const int last = grid.rowCount() - 1;
  EXPECT_TRUE(shownWhole(last));
  EXPECT_EQ(grid.topRow() + grid.visibleRowCount() - 1, last);
  grid.setTopRow(1);

  // Lines, pages, the end, and the wheel by the system's lines per notch.
  SendMessageW(grid.handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(grid.topRow(), 2);
  SendMessageW(grid.handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(grid.topRow(), 2 + grid.visibleRowCount());
  SendMessageW(grid.handle(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(grid.topRow() + grid.visibleRowCount() - 1, last);
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  auto wheel = [&](short delta) { SendMessageW(grid.handle(), WM_MOUSEWHEEL, WPARAM(WORD(delta)) << 16, 0); };
  const int before = grid.topRow();
  wheel(WHEEL_DELTA);
  EXPECT_EQ(grid.topRow(), before - int(lines));
  wheel(-WHEEL_DELTA / 2);
  EXPECT_EQ(grid.topRow(), before - int(lines));  // half a notch waits for the rest
  wheel(-WHEEL_DELTA / 2);
  EXPECT_EQ(grid.topRow(), before);

  // Clearing pulls the view back to the first row and hides the bar.
  grid.setRowCount(2);
  testing_support::pump();
  EXPECT_EQ(grid.topRow(), 1);
  EXPECT_FALSE(GetWindowLongPtrW(grid.handle(), GWL_STYLE) & WS_VSCROLL);
}

TEST_F(GridTest, CellUnderAPointOwnsTheLinesRightAndBelowIt) {
  grid.setRowCount(30);
  grid.setTopRow(5);
  const int p = kPitch, b0 = kRight[0], right = kRight[4];
  struct Case {
    int x, y;
    ui::GridCoord cell;
  } cases[] = {
      {0, 0, {0, 0}},          {b0 - 1, p - 2, {0, 0}}, {b0, 5, {0, 0}},    {b0 + 1, 5, {1, 0}},
      {5, p - 1, {0, 0}},      {5, p, {0, 5}},          {5, 2 * p - 1, {0, 5}}, {5, 2 * p, {0, 6}},
      {right, p, {4, 5}},      {right + 1, p, {}},      {-1, 5, {}},        {5, -1, {}},
      {5, kClientHeight, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(grid.mouseToCell(c.x, c.y), c.cell) << c.x << "," << c.y;
  // Nine rows of 18 pixels fit under the title row: the lowest whole one is 13,
  // its lines at x 224 and y 179.
  EXPECT_EQ(grid.visibleRowCount(), 9);
  EXPECT_EQ(grid.mouseToCell(224, 179), (ui::GridCoord{4, 13}));
  const RECT above = grid.cellRect(0, 4);
  EXPECT_EQ(above.right, above.left) << "a row scrolled out has no rectangle";
  grid.setRowCount(3);
  EXPECT_EQ(grid.mouseToCell(5, 3 * p), (ui::GridCoord{})) << "below the last row";
}

TEST_F(GridTest, DrawCellRunsAfterTheStandardDrawingForTheRowsInViewOnly) {
  grid.setColor(0x00FFEEDD);
  grid.setFixedColor(0x0000CCFF);
  grid.setRowCount(10000);
  grid.setTopRow(5000);
  // The title row, then the data rows from the top row down, the last one cut off;
  // each cell already filled, the canvas in the grid's font.
  int calls = 0;
  grid.OnDrawCell = [&](ui::Canvas& canvas, int col, int row, RECT r, ui::GridDrawState state) {
    const int i = calls++;
    ASSERT_EQ(ui::GridCoord(col, row), ui::GridCoord(i % 5, i < 5 ? 0 : 4999 + i / 5));
    const RECT expected = grid.cellRect(col, row);
    EXPECT_TRUE(EqualRect(&r, &expected)) << col << "," << row;
    EXPECT_EQ(state.fixed, row == 0);
    EXPECT_EQ(GetPixel(canvas.dc(), r.right - 2, r.top + 1), row == 0 ? 0x0000CCFFu : 0x00FFEEDDu);
    EXPECT_TRUE(canvas.font() == grid.font());
  };
  test::render(grid);
  // 196 pixels show eleven rows of 18, the last one cut off: 55 cells.
  EXPECT_EQ(calls, 55);
}

TEST_F(GridTest, AFailingDrawCellHandlerIsReportedOnceAndTheViewStillPainted) {
  testing_support::MessageRecorder messages;
  grid.setColor(core::clWhite);
  grid.setRowCount(4);
  testing_support::settle();  // painted on the screen before the handler fails
  int calls = 0;
  grid.OnDrawCell = [&](ui::Canvas& canvas, int, int row, RECT r, ui::GridDrawState) {
    ++calls;
    if (row == 1) throw std::runtime_error("Bad cell");
    canvas.fillRect(r, core::clBlack);
  };
  const core::Image image = test::render(grid);
  EXPECT_TRUE(messages.messages().empty()) << "no box opens inside the paint";
  testing_support::settle();  // the box opens once the paint is over
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(messages.messages()[0].text, "Bad cell");
  EXPECT_EQ(calls, 6) << "the title row, then the first cell that failed";
  const RECT later = grid.cellRect(2, 3);
  EXPECT_EQ(pixel(image, later.left + 3, later.top + 3), core::clWhite) << "later cells drawn the standard way";
}

TEST_F(GridTest, PaintsTitleCellsLinesTextAndWhatTheOwnerDraws) {
  ui::Font font = grid.font();
  font.color = 0x000000FF;
  grid.setFont(font);
  grid.setColor(core::clWhite);
  grid.setFixedColor(0x00E0E0E0);
  grid.setRowCount(6);
  grid.setCell(0, 1, "WWWW");
  grid.setCurrent(2, 3);
  grid.OnDrawCell = [](ui::Canvas& canvas, int, int row, RECT r, ui::GridDrawState) {
    if (row == 4) canvas.fillRect(r, 0x00B6B0F9);
  };
  const core::Image image = test::render(grid);
  test::saveBmp(image, "string_grid.bmp");
  auto at = [&](int x, int y) { return pixel(image, x, y); };
  auto centre = [&](int col, int row) {
    const RECT r = grid.cellRect(col, row);
    return at((r.left + r.right) / 2, r.bottom - 2);
  };
  EXPECT_EQ(centre(1, 0), 0x00E0E0E0u);
  EXPECT_EQ(centre(1, 1), core::clWhite);
  EXPECT_EQ(centre(2, 3), test::resolved(0xFF00000D)) << "the selection";
  EXPECT_EQ(centre(0, 4), 0x00B6B0F9u);
  EXPECT_EQ(at(kRight[0], kPitch + 5), core::clSilver);
  EXPECT_EQ(at(20, kPitch - 1), core::clSilver);
  int red = 0;
  const RECT text = grid.cellRect(0, 1);
  for (int y = text.top; y < text.bottom; ++y)
    for (int x = text.left; x < text.right; ++x) red += at(x, y) == 0x000000FFu;
  EXPECT_GT(red, 10) << "the text in the font's colour";
}

TEST_F(GridTest, InvalidatesOnlyWhatChanges) {
  grid.setRowCount(100);
  test::form().applyHeld();  // the scroll bar the rows call for
  auto updateRect = [&] {
    test::form().applyHeld();  // the repaint the event asked for
    RECT r{};
    return GetUpdateRect(grid.handle(), &r, FALSE) ? r : RECT{};
  };
  UpdateWindow(grid.handle());
  grid.setCell(1, 2, "A");
  RECT expected{61, 36, 111, 53}, got = updateRect();  // the cell (1, 2)
  EXPECT_TRUE(EqualRect(&got, &expected));
  UpdateWindow(grid.handle());
  // Same values, and a row below the view.
  grid.setCell(1, 2, "A");
  grid.setCell(1, 90, "B");
  grid.setColWidth(3, grid.colWidth(3));
  grid.setTopRow(grid.topRow());
  grid.setRowCount(101);
  grid.setFixedColor(grid.fixedColor());
  EXPECT_TRUE(IsRectEmpty(&(got = updateRect())));
  EXPECT_EQ(grid.cell(1, 90), "B");
}

TEST_F(GridTest, DeletedRowsMoveTheRowsBelowUpAndTheViewKeepsShowingItsRows) {
  grid.setRowCount(101);
  for (int r = 0; r < 100; ++r) grid.setCell(0, r, std::to_string(r));
  grid.setTopRow(50);
  grid.setCurrent(0, 55);
  const auto repainted = [&] {
    test::form().applyHeld();
    RECT r{};
    return GetUpdateRect(grid.handle(), &r, FALSE) ? r : RECT{};
  };
  repainted();
  UpdateWindow(grid.handle());

  // Above the view: the view shows the same rows, nothing is painted again.
  grid.deleteRows(10, 5);
  EXPECT_EQ(std::make_tuple(grid.rowCount(), grid.topRow(), grid.cell(0, 45), grid.current()),
            std::make_tuple(96, 45, std::string("50"), ui::GridCoord{0, 50}));
  RECT got = repainted();
  EXPECT_TRUE(IsRectEmpty(&got));

  // Within it: painted again from the first removed row down; a current row that
  // goes hands its place to the row after it.
  grid.deleteRows(48, 3);
  // Row 48 is the fourth row in view (45 is the top row): it starts at y 72.
  RECT expected{0, 72, grid.clientWidth(), grid.clientHeight()};
  got = repainted();
  EXPECT_TRUE(EqualRect(&got, &expected));
  EXPECT_EQ(std::make_tuple(grid.cell(0, 47), grid.cell(0, 48), grid.current()),
            std::make_tuple(std::string("52"), std::string("56"), ui::GridCoord{0, 48}));

  // The title row always stays.
  grid.deleteRows(0, 1000);
  EXPECT_EQ(std::make_tuple(grid.rowCount(), grid.cell(0, 0), grid.current().valid()),
            std::make_tuple(1, std::string("0"), false));
}

TEST_F(GridTest, LeftButtonMakesDataCellsCurrentAndDragsARange) {
  grid.setRowCount(8);
  ui::GridCoord currentAtMouseDown;
  grid.OnMouseDown = [&](ui::MouseButton, ui::ShiftState, int, int) { currentAtMouseDown = grid.current(); };
  auto centre = [&](int col, int row) {
    const RECT r = grid.cellRect(col, row);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  };
  drag(centre(1, 2).x, centre(1, 2).y, centre(3, 4).x, centre(3, 4).y);
  EXPECT_EQ(currentAtMouseDown, (ui::GridCoord{1, 2}));
  const ui::GridRange s = grid.selection();
  EXPECT_EQ((std::vector<int>{s.left, s.top, s.right, s.bottom}), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(grid.current(), (ui::GridCoord{3, 4}));

  // The title row is never current; setCurrent selects one cell alone.
  drag(centre(0, 0).x, centre(0, 0).y, centre(0, 0).x, centre(0, 0).y);
  EXPECT_EQ(grid.current(), (ui::GridCoord{3, 4}));
  grid.setCurrent(4, 0);
  EXPECT_EQ(grid.current(), (ui::GridCoord{3, 4}));
  grid.setCurrent(0, 6);
  EXPECT_TRUE(grid.selection().contains(0, 6) && !grid.selection().contains(1, 6) && !grid.selection().contains(0, 5));

  // Arrow keys move the current cell within the data rows.
  for (int key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT}) SendMessageW(grid.handle(), WM_KEYDOWN, key, 1);
  EXPECT_EQ(grid.current(), (ui::GridCoord{1, 7}));
  for (int key : {VK_HOME, VK_UP}) SendMessageW(grid.handle(), WM_KEYDOWN, key, 1);
  EXPECT_EQ(grid.current(), (ui::GridCoord{1, 1}));

  // Dragged below the view, the view follows.
  grid.setRowCount(40);
  drag(centre(0, 2).x, centre(0, 2).y, centre(0, 2).x, grid.clientHeight() + 40);
  EXPECT_GT(grid.topRow(), 1);
  EXPECT_EQ(grid.selection().bottom, grid.current().row);
  EXPECT_TRUE(shownWhole(grid.current().row));
}

TEST_F(GridTest, RightClickOpensItsPopupMenu) {
  ui::PopupMenu menu;
  ui::MenuItem item;
  menu.add(item);
  grid.setPopupMenu(&menu);
  static bool shown = false;
  // The menu's own loop runs this timer: note the open menu, then close it.
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
    shown = IsWindowVisible(FindWindowW(L"#32768", nullptr));
    EndMenu();
  });
  PostMessageW(grid.handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 30));
  PostMessageW(grid.handle(), WM_RBUTTONUP, 0, MAKELPARAM(20, 30));
  testing_support::waitUntil([] { return shown; });
  KillTimer(nullptr, timer);
  EXPECT_TRUE(shown);
}

}  // namespace
