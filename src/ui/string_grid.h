// The string grid: columns of text cells under one fixed title row in its own
// colour, grid lines, column borders the operator drags in the title row, range
// selection with the mouse, no editing, a vertical scroll bar only, and a draw-cell
// event that runs after the grid's own drawing of each cell. Only the rows in view
// are painted, and appending a row costs the same at any row count.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/color.h"
#include "ui/custom_control.h"

struct IAccessible;

namespace ui {

class PopupMenu;

// A cell's column and row; -1, -1 where there is none.
struct GridCoord {
  int col = -1;
  int row = -1;
  bool valid() const { return col >= 0 && row >= 0; }
  bool operator==(const GridCoord&) const = default;
};

// A block of cells, both corners included.
struct GridRange {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool contains(int col, int row) const { return col >= left && col <= right && row >= top && row <= bottom; }
};

struct GridDrawState {
  bool fixed = false;     // the title row
  bool selected = false;  // inside the selection
  bool focused = false;   // the current cell, while the grid has the focus
};

class StringGrid : public CustomControl {
 public:
  StringGrid();
  ~StringGrid() override;
  void create(Control* parent, int left, int top, int width, int height);

  int colCount() const { return int(colWidths_.size()); }
  void setColCount(int count);
  // Rows beyond the count are dropped with their texts; new rows are empty. The
  // fixed title row always stays (at least one row).
  int rowCount() const { return int(rows_.size()); }
  void setRowCount(int count);
  int fixedRows() const { return 1; }
  // Removes `count` data rows from `first` on (the title row stays); the rows below
  // move up, and so do the current cell and the selection. The view goes on showing
  // the rows it showed: rows removed above it only change the scroll bar, rows
  // removed within it repaint it from there down.
  void deleteRows(int first, int count);

  int defaultRowHeight() const { return rowHeight_; }
  void setDefaultRowHeight(int pixels);
  int colWidth(int col) const;
  void setColWidth(int col, int pixels);

  // Empty text for a cell outside the grid; writing outside the grid does nothing.
  std::string cell(int col, int row) const;
  void setCell(int col, int row, const std::string& text);
  // A number the owner keeps with a row (0 at first); it moves with its row.
  std::uint64_t rowTag(int row) const;
  void setRowTag(int row, std::uint64_t tag);
  int rowWithTag(std::uint64_t tag) const;  // -1 for none, and for tag 0
  // The tags of the rows in view, from the top row down (a row cut off below
  // included).
  std::vector<std::uint64_t> tagsInView() const;
  int rowPitch() const { return rowHeight_ + kLineWidth; }  // a row and its grid line

  // The first non-fixed row in view, and how many non-fixed rows the view shows
  // whole. The top row stays between 1 and the row that brings the last row to the
  // bottom of the view. The scroll bar follows once the message queue is served.
  int topRow() const { return topRow_; }
  void setTopRow(int row);
  int visibleRowCount() const;

  // The current cell; making a cell current selects that cell alone, and scrolls it
  // into view unless `show` is false (a press, a row that follows its station: the
  // rows under the operator's hand stay where they are).
  GridCoord current() const { return current_; }
  void setCurrent(int col, int row, bool show = true);
  GridRange selection() const { return selection_; }

  // color() is the data cells' background; the font (ui::Font, with its colour) is
  // the control's font.
  core::Color fixedColor() const { return fixedColor_; }
  void setFixedColor(core::Color color);
  core::Color gridLineColor() const { return lineColor_; }

  // The cell under a client point; {-1, -1} outside every cell. A cell owns the grid
  // lines on its right and below it, so a point on a line belongs to the cell left
  // of it or above it.
  GridCoord mouseToCell(int x, int y) const;
  // A cell's rectangle in client coordinates, without its grid lines; empty when the
  // cell is not in view, whole (not cut) when the client's edge cuts it.
  RECT cellRect(int col, int row) const;

  void setPopupMenu(PopupMenu* menu) { popupMenu_ = menu; }

  // While a mouse button's handlers run for a press: the tick count when the
  // button went down (GetTickCount64's clock).
  std::optional<ULONGLONG> pressTime() const { return pressTime_; }

  // The rows were drawn: what the view holds now (topRow, rowPitch, tagsInView) is
  // what the screen shows, until the next drawing. Painting follows the changes
  // once their event is over, or at their form's pace under a flood of spots.
  std::function<void()> OnPainted;
  // The mouse came onto the grid, or left it (seen when the program is idle).
  std::function<void()> OnMouseEnter;
  std::function<void()> OnMouseLeave;

  // As a screen reader has it (see accessible_grid.h): the grid's name, each data
  // row's name (its cells in column order, separated by commas, unless the owner
  // says otherwise) and description, and the name of its default action, which
  // OnRowAction runs.
  std::string AccessibleName;
  std::string AccessibleRowAction;
  std::function<std::string(int row)> AccessibleRowName;
  std::function<std::string(int row)> AccessibleRowDescription;
  std::function<void(int row)> OnRowAction;
  std::string accessibleRowName(int row) const;
  // A reader names a row by a child id that stays that row's while it lives (rows
  // above it come and go); 0 for the title row and outside the grid, -1 for an id
  // whose row is gone. The empty slot last is no row to a reader.
  long accessibleId(int row) const;
  int rowWithAccessibleId(long id) const;
  int accessibleRows() const { return std::max(0, rowCount() - 2); }
  // Tells screen readers what became of a data row (EVENT_OBJECT_CREATE,
  // EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_DESTROY; row 0 for the grid itself, as with
  // EVENT_OBJECT_REORDER). The rows' events are told when the rows are drawn; those
  // of a flood's spots drawn together at their form's pace, as one
  // EVENT_OBJECT_REORDER. Selection and focus are told at once.
  void notifyRow(DWORD event, int row);

  // Runs for every cell painted, after the grid's own drawing of it, inside the
  // paint's error boundary.
  std::function<void(Canvas& canvas, int col, int row, RECT rect, GridDrawState state)> OnDrawCell;

 protected:
  void paint(Canvas& canvas, DibSurface& buffer) override;
  void mouseDown(MouseButton button, ShiftState shift, int x, int y) override;
  void mouseUp(MouseButton button, ShiftState shift, int x, int y) override;
  void mouseMove(ShiftState shift, int x, int y) override;
  void keyDown(WORD& key, ShiftState shift) override;
  void resized() override;
  void focusChanged() override;
  void mouseEnter() override;
  void mouseLeave() override;
  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void applyScreenWork() override;

 private:
  // Geometry: every cell has a one-pixel grid line on its right and below it.
  int colLeft(int col) const;
  int rowTopInView(int row) const;  // -1 for a data row scrolled out above the view
  int fullRowsFit() const;          // data rows the client height shows whole
  int maxTopRow() const;
  // The column whose right border lies under x in the title row, or -1.
  int sizingBorderAt(int x, int y) const;

  void invalidateRect(RECT r);
  void invalidateRowsFrom(int row);
  void invalidateCell(int col, int row);
  void updateScrollBar();
  void applyScrollBar();
  void clampTopRow();
  void scrollTo(int row);  // topRow so that `row` is in view
  // Makes a data cell current; `extend` keeps the selection's anchor (Shift, a
  // drag), `show` scrolls the cell into view.
  void moveCurrent(GridCoord cell, bool extend, bool show);
  // The data cell nearest to a point while the mouse drags a selection: one row
  // beyond the view when the point lies above or below the rows in view.
  GridCoord dragTarget(int x, int y) const;
  void scrollBy(int rows) { setTopRow(topRow_ + rows); }
  void vScroll(int code);
  void wheel(int delta);
  void contextMenu(int screenX, int screenY);

  static constexpr int kLineWidth = 1;
  // The widest column and the tallest row the grid takes; a larger value (from a
  // settings file) is kept by its owner and shown at this size.
  static constexpr int kMaxExtent = 32767;
  static constexpr int kDefaultColWidth = 64;
  static constexpr int kMinDragWidth = 8;    // a dragged border stops here
  static constexpr int kBorderReach = 3;     // pixels either side of a border that grab it

  std::vector<int> colWidths_;
  // A deque, so that appending a row never moves the rows already there; a row's
  // texts stay unallocated until one is written.
  std::deque<std::vector<std::string>> rows_;
  std::deque<std::uint64_t> tags_;  // one per row
  std::deque<long> ids_;            // one per row, rising with the rows' order
  long nextId_;
  std::optional<ULONGLONG> pressTime_;
  int rowHeight_ = 24;
  int topRow_ = 1;
  GridCoord current_{0, 1};
  GridCoord anchor_{0, 1};  // the fixed corner of a range selection
  GridRange selection_{0, 1, 0, 1};
  core::Color fixedColor_ = core::clBtnFace;
  core::Color lineColor_ = core::clSilver;
  PopupMenu* popupMenu_ = nullptr;
  // Column sizing and range selection in progress.
  int sizingCol_ = -1;
  int sizingStartX_ = 0;
  int sizingStartWidth_ = 0;
  bool selecting_ = false;
  int wheelDelta_ = 0;  // wheel movement not yet worth a row
  bool hadFocus_ = false;  // as the last paint of the current cell showed it
  // What the scroll bar was last given, so that an unchanged bar costs nothing.
  struct ScrollState {
    int max = -1, page = -1, pos = -1;
    bool operator==(const ScrollState&) const = default;
  } scroll_;
  bool scrollPending_ = false;  // the bar waits for the end of the event to take scroll_
  IAccessible* accessible_ = nullptr;  // made when a reader first asks
  // The rows' events waiting for the drawing: the event and the child id.
  std::vector<std::pair<DWORD, long>> rowEvents_;
  void tellRowEvents();
};

}  // namespace ui
