#include "ui/string_grid.h"

#include <climits>

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <exception>

#include "ui/accessible_grid.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/popup_menu.h"

namespace ui {

namespace {

constexpr core::Color kHighlight = 0xFF00000D;      // COLOR_HIGHLIGHT
constexpr core::Color kHighlightText = 0xFF00000E;  // COLOR_HIGHLIGHTTEXT

}  // namespace

StringGrid::StringGrid() : colWidths_(5, kDefaultColWidth), rows_(2), tags_(2), ids_{0, 1}, nextId_(2) {
  setColor(core::clWindow);
}

StringGrid::~StringGrid() { gridGone(accessible_); }

std::string StringGrid::accessibleRowName(int row) const {
  if (AccessibleRowName) return AccessibleRowName(row);
  std::string name;
  for (int col = 0; col < colCount(); ++col) name += (col ? ", " : "") + cell(col, row);
  return name;
}

void StringGrid::notifyRow(DWORD event, int row) {
  if (!handle()) return;
  // The empty slot is no child: the focus on it is the grid's own, and nothing else
  // is said of it.
  long child;
  if (row > 0 && row <= accessibleRows())
    child = accessibleId(row);
  else if (row <= 0 || event == EVENT_OBJECT_FOCUS)
    child = CHILDID_SELF;
  else
    return;
  if (event == EVENT_OBJECT_SELECTION || event == EVENT_OBJECT_FOCUS) {
    NotifyWinEvent(event, handle(), OBJID_CLIENT, child);
    return;
  }
  rowEvents_.emplace_back(event, child);
  holdScreenWork();
}

void StringGrid::tellRowEvents() {
  if (rowEvents_.empty() || !handle()) return;
  std::vector<std::pair<DWORD, long>> events;
  events.swap(rowEvents_);
  // The rows of several spots of a flood, drawn together: one event for them all.
  const Form* form = parentForm(*this);
  const auto made = std::count_if(events.begin(), events.end(), [](const auto& e) { return e.first == EVENT_OBJECT_CREATE; });
  if (made > 1 && form && form->drawingPaced()) {
    NotifyWinEvent(EVENT_OBJECT_REORDER, handle(), OBJID_CLIENT, CHILDID_SELF);
    return;
  }
  for (const auto& [event, child] : events) NotifyWinEvent(event, handle(), OBJID_CLIENT, child);
}

long StringGrid::accessibleId(int row) const {
  return row > 0 && row < rowCount() ? ids_[std::size_t(row)] : 0;
}

int StringGrid::rowWithAccessibleId(long id) const {
  if (id <= 0) return -1;
  const auto at = std::lower_bound(ids_.begin() + 1, ids_.end(), id);
  return at != ids_.end() && *at == id ? int(at - ids_.begin()) : -1;
}

void StringGrid::create(Control* parent, int left, int top, int width, int height) {
  WindowClass wc;
  wc.name = "TStringGrid";
  wc.exStyle = WS_EX_CLIENTEDGE;
  wc.style2 = WS_VSCROLL;
  CustomControl::create(parent, wc, left, top, width, height);
  clampTopRow();
  updateScrollBar();
  applyScrollBar();  // the bar a new window shows by default goes at once
}

// --- data ---------------------------------------------------------------------

void StringGrid::setColCount(int count) {
  count = std::max(1, count);
  if (count == colCount()) return;
  colWidths_.resize(std::size_t(count), kDefaultColWidth);
  for (auto& row : rows_)
    if (row.size() > std::size_t(count)) row.resize(std::size_t(count));
  if (current_.col >= count) current_.col = anchor_.col = count - 1;
  selection_.left = std::min(selection_.left, count - 1);
  selection_.right = std::min(selection_.right, count - 1);
  invalidate();
}

void StringGrid::setRowCount(int count) {
  count = std::max(1, count);
  const int old = rowCount();
  if (count == old) return;
  rows_.resize(std::size_t(count));
  tags_.resize(std::size_t(count));
  ids_.resize(std::size_t(std::min(old, count)));
  while (int(ids_.size()) < count) ids_.push_back(nextId_++);
  if (current_.row >= count || !current_.valid()) {
    // The current cell follows the rows that remain; a grid of the title row alone
    // has none, and its first data row takes it again.
    const GridCoord next = count > 1 ? GridCoord{std::max(0, current_.col), std::min(std::max(1, current_.row), count - 1)}
                                     : GridCoord{};
    current_ = anchor_ = next;
    selection_ = next.valid() ? GridRange{next.col, next.row, next.col, next.row} : GridRange{0, 1, 0, 1};
  } else {
    selection_.bottom = std::min(selection_.bottom, count - 1);
    anchor_.row = std::min(anchor_.row, count - 1);
  }
  const int top = topRow_;
  clampTopRow();
  if (top != topRow_)
    invalidate();
  else
    invalidateRowsFrom(std::min(old, count));
  updateScrollBar();
}

void StringGrid::deleteRows(int first, int count) {
  first = std::max(first, fixedRows());
  const int last = std::min(first + std::max(count, 0), rowCount());  // the first row that stays
  if (first >= last) return;
  const int removed = last - first;
  rows_.erase(rows_.begin() + first, rows_.begin() + last);
  tags_.erase(tags_.begin() + first, tags_.begin() + last);
  ids_.erase(ids_.begin() + first, ids_.begin() + last);
  if (rowCount() <= fixedRows()) {
    current_ = anchor_ = {};
    selection_ = {0, 1, 0, 1};
  } else {
    // A row below moves up; a removed one hands its part to the row that took its
    // place.
    const int heir = std::min(first, rowCount() - 1);
    const auto follow = [&](int row) { return row >= last ? row - removed : std::min(row, heir); };
    if (current_.valid()) current_.row = follow(current_.row);
    if (anchor_.valid()) anchor_.row = follow(anchor_.row);
    selection_.top = follow(selection_.top);
    selection_.bottom = follow(selection_.bottom);
  }
  // Rows gone above the view leave what it shows as it was.
  const bool viewChanged = last > topRow_;
  topRow_ = viewChanged ? std::min(topRow_, first) : topRow_ - removed;
  const int kept = topRow_;
  clampTopRow();
  if (topRow_ != kept)
    invalidate();
  else if (viewChanged)
    invalidateRowsFrom(std::max(first, topRow_));
  updateScrollBar();
}

void StringGrid::setDefaultRowHeight(int pixels) {
  pixels = std::clamp(pixels, 1, kMaxExtent);
  if (pixels == rowHeight_) return;
  rowHeight_ = pixels;
  clampTopRow();
  updateScrollBar();
  invalidate();
}

int StringGrid::colWidth(int col) const {
  return col >= 0 && col < colCount() ? colWidths_[std::size_t(col)] : 0;
}

void StringGrid::setColWidth(int col, int pixels) {
  if (col < 0 || col >= colCount()) return;
  pixels = std::clamp(pixels, 0, kMaxExtent);
  int& width = colWidths_[std::size_t(col)];
  if (pixels == width) return;
  width = pixels;
  // Everything from this column rightwards moves.
  invalidateRect({colLeft(col), 0, placedClientWidth(), placedClientHeight()});
}

std::string StringGrid::cell(int col, int row) const {
  if (col < 0 || col >= colCount() || row < 0 || row >= rowCount()) return {};
  const auto& texts = rows_[std::size_t(row)];
  return std::size_t(col) < texts.size() ? texts[std::size_t(col)] : std::string();
}

void StringGrid::setCell(int col, int row, const std::string& text) {
  if (col < 0 || col >= colCount() || row < 0 || row >= rowCount()) return;
  auto& texts = rows_[std::size_t(row)];
  if (std::size_t(col) >= texts.size()) {
    if (text.empty()) return;
    texts.resize(std::size_t(colCount()));
  }
  std::string& slot = texts[std::size_t(col)];
  if (slot == text) return;
  slot = text;
  invalidateCell(col, row);
}

std::uint64_t StringGrid::rowTag(int row) const {
  return row >= 0 && row < rowCount() ? tags_[std::size_t(row)] : 0;
}

void StringGrid::setRowTag(int row, std::uint64_t tag) {
  if (row >= 0 && row < rowCount()) tags_[std::size_t(row)] = tag;
}

int StringGrid::rowWithTag(std::uint64_t tag) const {
  if (tag == 0) return -1;
  const auto at = std::find(tags_.begin(), tags_.end(), tag);
  return at == tags_.end() ? -1 : int(at - tags_.begin());
}

std::vector<std::uint64_t> StringGrid::tagsInView() const {
  std::vector<std::uint64_t> tags;
  const int height = placedClientHeight();
  for (int row = topRow_, y = rowPitch(); row < rowCount() && y < height; ++row, y += rowPitch())
    tags.push_back(tags_[std::size_t(row)]);
  return tags;
}

void StringGrid::setFixedColor(core::Color color) {
  if (color == fixedColor_) return;
  fixedColor_ = color;
  invalidateRect({0, 0, placedClientWidth(), rowPitch()});
}

// --- geometry -----------------------------------------------------------------

int StringGrid::colLeft(int col) const {
  int x = 0;
  for (int c = 0; c < col && c < colCount(); ++c) x += colWidths_[std::size_t(c)] + kLineWidth;
  return x;
}

int StringGrid::rowTopInView(int row) const {
  if (row == 0) return 0;
  if (row < topRow_) return -1;
  // Far below the view a row lies beyond any client area; the product stays in range.
  return int(std::min<long long>(static_cast<long long>(row - topRow_ + 1) * rowPitch(), INT_MAX / 2));
}

int StringGrid::fullRowsFit() const {
  // A row counts when its cell shows whole; its line below may be cut off.
  return std::max(0, (placedClientHeight() + kLineWidth) / rowPitch() - 1);
}

int StringGrid::maxTopRow() const { return std::max(1, std::min(rowCount() - 1, rowCount() - fullRowsFit())); }

int StringGrid::visibleRowCount() const { return std::max(0, std::min(fullRowsFit(), rowCount() - topRow_)); }

GridCoord StringGrid::mouseToCell(int x, int y) const {
  // A cell owns the grid lines on its right and below it.
  if (x < 0 || y < 0 || x >= placedClientWidth() || y >= placedClientHeight()) return {};
  int col = -1;
  for (int c = 0, left = 0; c < colCount(); ++c) {
    const int right = left + colWidths_[std::size_t(c)];  // its grid line
    if (x <= right) {
      col = c;
      break;
    }
    left = right + kLineWidth;
  }
  const int row = y < rowPitch() ? 0 : topRow_ + (y - rowPitch()) / rowPitch();
  if (col < 0 || row >= rowCount()) return {};
  return {col, row};
}

RECT StringGrid::cellRect(int col, int row) const {
  if (col < 0 || col >= colCount() || row < 0 || row >= rowCount()) return {};
  const int x = colLeft(col), y = rowTopInView(row);
  if (y < 0 || x >= placedClientWidth() || y >= placedClientHeight()) return {};
  return {x, y, x + colWidths_[std::size_t(col)], y + rowHeight_};
}

int StringGrid::sizingBorderAt(int x, int y) const {
  if (y < 0 || y >= rowPitch()) return -1;
  // The last border within reach wins: a column dragged down to nothing can still be
  // widened again.
  int found = -1;
  for (int c = 0, border = -kLineWidth; c < colCount(); ++c) {
    border += colWidths_[std::size_t(c)] + kLineWidth;
    if (std::abs(x - border) <= kBorderReach) found = c;
  }
  return found;
}

// --- invalidation and scrolling ------------------------------------------------

void StringGrid::invalidateRect(RECT r) {
  if (!handle()) return;
  r.left = std::max(0L, r.left);
  r.top = std::max(0L, r.top);
  r.right = std::min(LONG(placedClientWidth()), r.right);
  r.bottom = std::min(LONG(placedClientHeight()), r.bottom);
  if (r.left >= r.right || r.top >= r.bottom) return;
  invalidatePart(r);
}

void StringGrid::invalidateRowsFrom(int row) {
  const int y = row == 0 ? 0 : rowTopInView(std::max(row, topRow_));
  invalidateRect({0, y, placedClientWidth(), placedClientHeight()});
}

void StringGrid::invalidateCell(int col, int row) {
  RECT r = cellRect(col, row);
  if (r.right <= r.left) return;
  invalidateRect(r);
}

void StringGrid::clampTopRow() { topRow_ = std::clamp(topRow_, 1, maxTopRow()); }

void StringGrid::setTopRow(int row) {
  row = std::clamp(row, 1, maxTopRow());
  if (row == topRow_) return;
  topRow_ = row;
  updateScrollBar();
  invalidate();
}

void StringGrid::scrollTo(int row) {
  if (row < topRow_)
    setTopRow(row);
  else if (const int fit = std::max(1, fullRowsFit()); row >= topRow_ + fit)
    setTopRow(row - fit + 1);
}

void StringGrid::updateScrollBar() {
  if (!handle()) return;
  // Positions are top rows: the bar runs over the data rows with a page of the rows
  // the view shows whole, and hides itself when they all fit.
  const ScrollState next{rowCount() - 1, fullRowsFit(), topRow_};
  if (next == scroll_) return;
  scroll_ = next;
  // Drawing the bar is a slow window operation: the changes of one spot (a new row,
  // a new top row) reach it together, once the event is over.
  scrollPending_ = true;
  holdScreenWork();
}

void StringGrid::applyScreenWork() {
  CustomControl::applyScreenWork();
  if (scrollPending_) applyScrollBar();
  tellRowEvents();
}

void StringGrid::applyScrollBar() {
  scrollPending_ = false;
  if (!handle()) return;
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 1, scroll_.max, UINT(scroll_.page), scroll_.pos, 0};
  SetScrollInfo(handle(), SB_VERT, &si, TRUE);
}

void StringGrid::vScroll(int code) {
  const int page = std::max(1, fullRowsFit());
  switch (code) {
    case SB_LINEUP: scrollBy(-1); break;
    case SB_LINEDOWN: scrollBy(1); break;
    case SB_PAGEUP: scrollBy(-page); break;
    case SB_PAGEDOWN: scrollBy(page); break;
    case SB_TOP: setTopRow(1); break;
    case SB_BOTTOM: setTopRow(maxTopRow()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The 32-bit position: the message's own is 16 bits.
      SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
      if (GetScrollInfo(handle(), SB_VERT, &si)) setTopRow(si.nTrackPos);
      break;
    }
    default: break;
  }
}

void StringGrid::wheel(int delta) {
  wheelDelta_ += delta;
  const int notches = wheelDelta_ / WHEEL_DELTA;
  if (notches == 0) return;
  wheelDelta_ -= notches * WHEEL_DELTA;
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  const int step = lines == WHEEL_PAGESCROLL ? std::max(1, fullRowsFit()) : int(lines);
  scrollBy(-notches * step);
}

// --- selection ----------------------------------------------------------------

void StringGrid::setCurrent(int col, int row, bool show) { moveCurrent({col, row}, false, show); }

void StringGrid::moveCurrent(GridCoord cell, bool extend, bool show) {
  if (cell.col < 0 || cell.col >= colCount() || cell.row < fixedRows() || cell.row >= rowCount()) return;
  if (!extend || !anchor_.valid()) anchor_ = cell;
  const GridRange range{std::min(anchor_.col, cell.col), std::min(anchor_.row, cell.row),
                        std::max(anchor_.col, cell.col), std::max(anchor_.row, cell.row)};
  if (cell != current_ || range.left != selection_.left || range.top != selection_.top ||
      range.right != selection_.right || range.bottom != selection_.bottom) {
    const bool newRow = cell.row != current_.row;
    current_ = cell;
    selection_ = range;
    invalidate();
    // A reader follows the selection.
    if (newRow) {
      notifyRow(EVENT_OBJECT_SELECTION, cell.row);
      if (focused()) notifyRow(EVENT_OBJECT_FOCUS, cell.row);
    }
  }
  if (show) scrollTo(cell.row);
}

GridCoord StringGrid::dragTarget(int x, int y) const {
  if (rowCount() <= fixedRows()) return {};
  int col = colCount() - 1;
  for (int c = 0, left = 0; c < colCount(); ++c) {
    left += colWidths_[std::size_t(c)];
    if (x <= left) {
      col = c;
      break;
    }
    left += kLineWidth;
  }
  col = std::max(0, col);
  int row;
  if (y < rowPitch())
    row = topRow_ - 1;  // above the data rows: one more row up
  else
    row = topRow_ + (y - rowPitch()) / rowPitch();
  return {col, std::clamp(row, fixedRows(), rowCount() - 1)};
}

// --- painting -----------------------------------------------------------------

void StringGrid::paint(Canvas& canvas, DibSurface&) {
  const int width = placedClientWidth(), height = placedClientHeight();
  const int gridRight = std::min(width, colLeft(colCount()));
  const int gridBottom = int(std::min<long long>(height, static_cast<long long>(rowPitch()) * (1 + std::max(0, rowCount() - topRow_))));
  // The lines are what the cells leave uncovered.
  canvas.fillRect({0, 0, gridRight, gridBottom}, lineColor_);
  canvas.setFont(font());
  canvas.setTransparentText();
  const bool hasFocus = focused();
  std::string drawError;
  GridCoord focusCell;

  auto drawRow = [&](int row, int y) {
    const auto& texts = rows_[std::size_t(row)];
    for (int col = 0, x = 0; col < colCount() && x < width; x += colWidths_[std::size_t(col)] + kLineWidth, ++col) {
      const RECT r{x, y, x + colWidths_[std::size_t(col)], y + rowHeight_};
      GridDrawState state;
      state.fixed = row < fixedRows();
      state.selected = !state.fixed && selection_.contains(col, row);
      state.focused = hasFocus && current_ == GridCoord{col, row};
      const bool highlighted = state.selected && !state.focused;
      canvas.fillRect(r, state.fixed ? fixedColor_ : highlighted ? kHighlight : color());
      if (state.fixed) {
        RECT edge = r;  // title cells stand out like buttons
        DrawEdge(canvas.dc(), &edge, BDR_RAISEDINNER, BF_RECT);
      }
      if (!(canvas.font() == font())) canvas.setFont(font());
      canvas.setTransparentText();
      canvas.setFontColor(highlighted ? kHighlightText : font().color);
      if (std::size_t(col) < texts.size() && !texts[std::size_t(col)].empty())
        canvas.drawText(texts[std::size_t(col)], {r.left + 2, r.top + 2, r.right, r.bottom},
                        DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
      if (OnDrawCell && drawError.empty()) {
        // One failing handler must not leave the view half painted: the rest is
        // drawn the standard way and the error reported once.
        try {
          OnDrawCell(canvas, col, row, r, state);
        } catch (const std::exception& e) {
          drawError = e.what();
        } catch (...) {
          drawError = "Unknown error";
        }
      }
      if (state.focused) focusCell = {col, row};
    }
  };

  drawRow(0, 0);
  for (int row = topRow_, y = rowPitch(); row < rowCount() && y < height; ++row, y += rowPitch()) drawRow(row, y);

  if (focusCell.valid()) {
    canvas.setFontColor(font().color);
    canvas.drawFocusRect(cellRect(focusCell.col, focusCell.row));
  }
  if (!drawError.empty()) app().showErrorLater(drawError);
}

// --- mouse, keys and messages --------------------------------------------------

void StringGrid::mouseDown(MouseButton button, ShiftState shift, int x, int y) {
  // The handlers below may ask when the press was made: it may have waited in the
  // queue while the rows moved.
  struct PressTime {
    std::optional<ULONGLONG>& time;
    explicit PressTime(std::optional<ULONGLONG>& t) : time(t) { time = messageTickCount(); }
    ~PressTime() { time.reset(); }
  } pressTime(pressTime_);
  if (button == MouseButton::Left) {
    if (canFocus() && !focused()) setFocus();
    if (const int border = sizingBorderAt(x, y); border >= 0) {
      sizingCol_ = border;
      sizingStartX_ = x;
      sizingStartWidth_ = colWidth(border);
    } else if (const GridCoord cell = mouseToCell(x, y); cell.valid() && cell.row >= fixedRows()) {
      // No scrolling here: the owner's handler finds the row under the same point.
      moveCurrent(cell, shift.shift, false);
      selecting_ = true;
    }
  }
  CustomControl::mouseDown(button, shift, x, y);
}

void StringGrid::mouseMove(ShiftState shift, int x, int y) {
  if (sizingCol_ >= 0) {
    if (GetCapture() != handle()) {
      sizingCol_ = -1;  // the capture went elsewhere: the drag is over
    } else {
      setColWidth(sizingCol_, std::max(kMinDragWidth, sizingStartWidth_ + x - sizingStartX_));
    }
  } else if (selecting_) {
    if (GetCapture() != handle())
      selecting_ = false;
    else  // the view follows only a pointer that left the rows in view
      moveCurrent(dragTarget(x, y), true, y < rowPitch() || y >= placedClientHeight());
  }
  CustomControl::mouseMove(shift, x, y);
}

void StringGrid::mouseUp(MouseButton button, ShiftState shift, int x, int y) {
  if (button == MouseButton::Left) {
    sizingCol_ = -1;
    selecting_ = false;
  }
  CustomControl::mouseUp(button, shift, x, y);
}

void StringGrid::keyDown(WORD& key, ShiftState shift) {
  const GridCoord at = current_.valid() ? current_ : GridCoord{0, fixedRows()};
  const int page = std::max(1, fullRowsFit());
  GridCoord to = at;
  switch (key) {
    case VK_UP: to.row -= 1; break;
    case VK_DOWN: to.row += 1; break;
    case VK_PRIOR: to.row -= page; break;
    case VK_NEXT: to.row += page; break;
    case VK_HOME: to.row = fixedRows(); break;
    case VK_END: to.row = rowCount() - 1; break;
    case VK_LEFT: to.col -= 1; break;
    case VK_RIGHT: to.col += 1; break;
    default: break;
  }
  if (!(to == at)) {
    to.col = std::clamp(to.col, 0, colCount() - 1);
    to.row = std::clamp(to.row, fixedRows(), std::max(fixedRows(), rowCount() - 1));
    moveCurrent(to, shift.shift, true);
  }
  CustomControl::keyDown(key, shift);
}

void StringGrid::resized() {
  clampTopRow();
  updateScrollBar();
}

void StringGrid::mouseEnter() {
  if (OnMouseEnter) app().guard([this] { OnMouseEnter(); });
}

void StringGrid::mouseLeave() {
  if (OnMouseLeave) app().guard([this] { OnMouseLeave(); });
}

void StringGrid::focusChanged() {
  // Every control of the form hears of every focus move; only ours repaints.
  const bool now = focused();
  if (now == hadFocus_) return;
  hadFocus_ = now;
  if (current_.valid()) invalidateCell(current_.col, current_.row);
  // A reader names the row the keyboard lands on.
  if (now && current_.valid()) notifyRow(EVENT_OBJECT_FOCUS, current_.row);
}

void StringGrid::contextMenu(int screenX, int screenY) {
  if (screenX == -1 && screenY == -1) {
    // From the keyboard: below the current cell, or at the grid's corner.
    RECT r = cellRect(current_.col, current_.row);
    POINT pt{r.left, r.right > r.left ? r.bottom : 0};
    ClientToScreen(handle(), &pt);
    screenX = pt.x;
    screenY = pt.y;
  }
  popupMenu_->popup(handle(), screenX, screenY);
}

LRESULT StringGrid::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      const LRESULT result = CustomControl::handleMessage(msg, wParam, lParam);
      if (OnPainted) app().guard([this] { OnPainted(); }, Boundary::ShowLater);
      return result;
    }
    case WM_VSCROLL:
      vScroll(LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      wheel(GET_WHEEL_DELTA_WPARAM(wParam));
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        POINT pt{};
        GetCursorPos(&pt);
        ScreenToClient(handle(), &pt);
        if (sizingCol_ >= 0 || sizingBorderAt(pt.x, pt.y) >= 0) {
          SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
          return TRUE;
        }
      }
      break;
    case WM_CONTEXTMENU:
      if (popupMenu_) {
        contextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) == handle()) break;
      [[fallthrough]];
    case WM_CANCELMODE:
      sizingCol_ = -1;
      selecting_ = false;
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_GETOBJECT:
      // A screen reader asks for the grid: the table of its rows.
      if (LONG(lParam) == LONG(OBJID_CLIENT)) {
        if (!accessible_) accessible_ = newAccessibleGrid(*this);
        return LresultFromObject(kIID_IAccessible, wParam, accessible_);
      }
      break;
    default:
      break;
  }
  return CustomControl::handleMessage(msg, wParam, lParam);
}

}  // namespace ui
