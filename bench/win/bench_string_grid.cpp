// What one spot costs the string grid at a small and at a large row count: writing
// the empty last row, adding the next empty row and scrolling the newest row to the
// bottom of the view (as the spot list does), then serving the queue that this
// leaves (the scroll bar, the paint on screen), and painting the view once more
// through WM_PRINTCLIENT. The figures should be about equal at every row count.
//
//   scripts/wine-run --prefix build/windows/wineprefix build/windows/bench/win/bench_string_grid.exe
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "ui/application.h"
#include "ui/dib_surface.h"
#include "ui/form.h"
#include "ui/string_grid.h"
#include "ui/win.h"

namespace {

using bench::drainMessages;
using bench::median;
using bench::now;

constexpr int kTrials = 300;

void writeSpot(ui::StringGrid& grid, int row) {
  grid.setCell(0, row, "UA" + std::to_string(row % 1000));
  grid.setCell(1, row, "14025.0");
  grid.setCell(2, row, "AB-12");
  grid.setCell(3, row, "12:34");
  grid.setCell(4, row, std::to_string(row % 60));
}

// As the spot list appends: the empty last row takes the spot, a new empty row
// follows, and the newest row becomes the lowest visible.
void append(ui::StringGrid& grid) {
  const int slot = grid.rowCount() - 1;
  writeSpot(grid, slot);
  grid.setRowCount(slot + 2);
  if (grid.rowCount() * grid.defaultRowHeight() > grid.clientHeight())
    grid.setTopRow(grid.rowCount() - grid.visibleRowCount() - 1);
}

// One grid of the form, held at `rows` rows; every trial appends the row after them.
struct Subject {
  int rows;
  ui::StringGrid grid;
  std::vector<double> total, append, queue, print;
};

void setUp(ui::StringGrid& grid) {
  for (int c = 0; c < 5; ++c) grid.setColWidth(c, 52);
  grid.setDefaultRowHeight(17);
  // Colours every data row by its last column, as the spot list's handler does.
  grid.OnDrawCell = [&grid](ui::Canvas& canvas, int, int row, RECT r, ui::GridDrawState) {
    if (row == 0) return;
    const std::string mw = grid.cell(4, row);
    if (mw.empty()) return;
    const int v = std::stoi(mw);
    canvas.fillRect(r, v < 15 ? 0xB6B0F9 : v < 30 ? 0x00FFFF : 0x80FF80);
    canvas.drawText(grid.cell(0, row), {r.left + 2, r.top + 2, r.right, r.bottom}, DT_SINGLELINE | DT_NOPREFIX);
  };
}

}  // namespace

int main() {
  ui::installPlatformHooks();
  ui::initializeCom();
  std::setvbuf(stdout, nullptr, _IONBF, 0);  // figures show as they come, also through a pipe
  ui::Form form;
  ui::FormParams params;
  params.className = "TGridBench";
  params.caption = "String grid benchmark";
  params.width = 1240;
  params.height = 240;
  form.create(params);
  form.bringToFront();

  // The grids show a few rows only, so that even the smallest one scrolls at every
  // append, as a full spot list does. Their trials take turns, so that the load of
  // the machine falls on all of them alike.
  Subject subjects[] = {{10, {}, {}, {}, {}, {}}, {1000, {}, {}, {}, {}, {}}, {10000, {}, {}, {}, {}, {}},
                        {100000, {}, {}, {}, {}, {}}};
  int left = 0;
  for (Subject& s : subjects) {
    s.grid.create(&form, left, 0, 300, 140);
    left += 305;
    setUp(s.grid);
    while (s.grid.rowCount() < s.rows) {
      append(s.grid);
      if (s.grid.rowCount() % 100 == 0) drainMessages();
    }
  }
  drainMessages();
  ui::DibSurface surface(subjects[0].grid.clientWidth(), subjects[0].grid.clientHeight());

  for (int i = 0; i < kTrials; ++i)
    for (Subject& s : subjects) {
      ui::StringGrid& grid = s.grid;
      grid.setRowCount(s.rows);
      for (int c = 0; c < 5; ++c) grid.setCell(c, s.rows - 1, "");  // the empty slot again
      drainMessages();
      const double t0 = now();
      append(grid);
      const double t1 = now();
      drainMessages();
      const double t2 = now();
      SendMessageW(grid.handle(), WM_PRINTCLIENT, WPARAM(surface.dc()), PRF_CLIENT);
      const double t3 = now();
      s.total.push_back(t3 - t0);
      s.append.push_back(t1 - t0);
      s.queue.push_back(t2 - t1);
      s.print.push_back(t3 - t2);
    }

  std::printf("Appending one spot row after N rows (microseconds, median of %d trials)\n", kTrials);
  std::printf("%8s %10s %10s %10s %10s\n", "N", "total", "append", "queue", "print");
  for (const Subject& s : subjects)
    std::printf("%8d %10.1f %10.1f %10.1f %10.1f\n", s.rows, median(s.total), median(s.append), median(s.queue),
                median(s.print));
  std::printf("append: the grid calls of the spot; queue: the posted scroll bar update and the paint on\n"
              "screen that follow; print: one more paint of the view through WM_PRINTCLIENT.\n");
  return 0;
}
