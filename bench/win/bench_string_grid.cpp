// What one spot costs the string grid at a small and at a large row count: writing
// the empty last row, adding the next empty row, scrolling the newest row to the
// bottom of the view (as the spot list does), and painting the view through
// WM_PRINTCLIENT. The figures should be about equal at every row count.
//
//   scripts/wine-run --prefix build/windows/wineprefix build/windows/bench/win/bench_string_grid.exe
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/dib_surface.h"
#include "ui/form.h"
#include "ui/string_grid.h"
#include "ui/win.h"

namespace {

constexpr int kTrials = 300;

double now() {
  static const double ticksPerMicrosecond = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(f.QuadPart) / 1e6;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) / ticksPerMicrosecond;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

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

void drainMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

}  // namespace

int main() {
  ui::Form form;
  ui::FormParams params;
  params.className = "TGridBench";
  params.caption = "String grid benchmark";
  params.width = 420;
  params.height = 320;
  form.create(params);
  form.bringToFront();

  ui::StringGrid grid;
  grid.create(&form, 0, 0, 400, 280);
  for (int c = 0; c < 5; ++c) grid.setColWidth(c, 70);
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
  drainMessages();
  ui::DibSurface surface(grid.clientWidth(), grid.clientHeight());

  std::printf("%10s %14s %12s %12s   (microseconds, median of %d)\n", "rows", "append+paint", "append", "paint",
              kTrials);
  for (int rows : {10, 10000, 100000}) {
    // Rows up to the one before `rows`, then the same append again and again.
    while (grid.rowCount() < rows) append(grid);
    std::vector<double> both, appendOnly, paintOnly;
    for (int i = 0; i < kTrials; ++i) {
      grid.setRowCount(rows);
      for (int c = 0; c < 5; ++c) grid.setCell(c, rows - 1, "");  // the empty slot again
      drainMessages();
      const double t0 = now();
      append(grid);
      const double t1 = now();
      SendMessageW(grid.handle(), WM_PRINTCLIENT, WPARAM(surface.dc()), PRF_CLIENT);
      const double t2 = now();
      both.push_back(t2 - t0);
      appendOnly.push_back(t1 - t0);
      paintOnly.push_back(t2 - t1);
    }
    std::printf("%10d %14.1f %12.1f %12.1f\n", rows, median(both), median(appendOnly), median(paintOnly));
  }
  return 0;
}
