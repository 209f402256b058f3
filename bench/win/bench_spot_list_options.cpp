// What one listed spot costs the spot list window with its contest options, at 10,
// 1,000 and 10,000 rows: a repeat that merges into a row in the middle of the list
// (that row goes and the spot takes the newest place), a new station while the
// oldest row has aged out (that row goes and the spot is added), and, beside them,
// a new station with both options off. Each figure is the window's AddSpot alone
// and with the queue it leaves (the scroll bar, the paint on screen) served. The
// figures should be about equal at every row count.
//
//   scripts/wine-run --prefix build/windows/wineprefix build/windows/bench/win/bench_spot_list_options.exe
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/VipU.h"
#include "bench_timing.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/win.h"

namespace {

using bench::drainMessages;
using bench::median;
using bench::now;

constexpr int kTrials = 300;

enum Case { Merge, Age, Plain, kCases };
const char* const kCaseNames[] = {"merge", "age", "plain"};

// One spot list window of a case at a row count, with its own clock.
struct Subject {
  int rows = 0;
  Case what = Plain;
  std::unique_ptr<TVip> vip;
  core::Millis clock = 0;
  core::Millis step = 0;  // between two spots: the age limit spread over the rows
  int next = 0;           // the next new station
  std::vector<double> spot, total;

  void addNew() {
    clock += step;
    vip->AddSpot("R" + std::to_string(next++) + "AA", "14025.0", "AB-12", "12:34");
  }
  // The spot of one trial.
  void trial() {
    if (what == Merge) {
      const int middle = vip->RowCount() / 2;
      vip->AddSpot(vip->Cell(0, middle), "14030.0", vip->Cell(2, middle), "12:35");
    } else {
      addNew();
    }
  }
};

}  // namespace

int main() {
  ui::installPlatformHooks();
  ui::initializeCom();
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  // The files as the operator has them: a region list among them, so that the
  // window opens no box and its rows take their colours.
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / ("rudoz-bench-options-" + std::to_string(GetCurrentProcessId()));
  fs::create_directories(folder);
  fs::current_path(folder);
  {
    std::ofstream regions("QJreg.txt", std::ios::binary);
    for (int i = 10; i < 100; ++i) regions << "AB-" << i << " 01.2020-LastQso " << i % 60 << ".5%MW\r\n";
  }
  int boxes = 0;
  ui::setMessageBoxHook([&](const std::string& text, const std::string&, unsigned) {
    std::fprintf(stderr, "message box: %s\n", text.c_str());
    ++boxes;
    return IDOK;
  });
  const std::string settings = TVip::SettingsPath();
  std::ofstream(settings, std::ios::binary) << "[RD]\r\n";
  bool measured = true;

  // One window after the other, in front while its rows fill and its trials run,
  // so that a spot costs it no window work (the same at every row count).
  const int counts[] = {10, 1000, 10000};
  std::vector<Subject> subjects(std::size(counts) * kCases);
  for (std::size_t i = 0; i < subjects.size(); ++i) {
    Subject& s = subjects[i];
    s.rows = counts[i / kCases];
    s.what = Case(i % kCases);
    s.vip = std::make_unique<TVip>();
    s.vip->Now = [&s] { return s.clock; };
    s.vip->bringToFront();
    // The rows fill the age limit's minute evenly: from then on every new spot
    // finds the oldest row just aged out.
    s.step = core::minutesToMillis(1) / s.rows;
    while (s.vip->RowCount() - 2 < s.rows) {
      s.addNew();
      if (s.next % 100 == 0) drainMessages();
    }
    s.vip->ContestOptions.MergeMinutes = s.what == Merge ? 30 : 0;
    s.vip->ContestOptions.MaxAgeMinutes = s.what == Age ? 1 : 0;
    measured = measured && !boxes && IsWindowVisible(s.vip->handle());
    for (int trial = 0; trial < kTrials; ++trial) {
      drainMessages();
      const double t0 = now();
      s.trial();
      const double t1 = now();
      drainMessages();
      const double t2 = now();
      s.spot.push_back(t1 - t0);
      s.total.push_back(t2 - t0);
    }
    // A merge keeps the row count, an aged row makes room for the new one, a plain
    // spot adds its row: otherwise the case did not run as named.
    const int expected = s.what == Merge ? s.rows : s.what == Age ? s.rows + 1 : s.rows + kTrials;
    measured = measured && !boxes && IsWindowVisible(s.vip->handle()) && s.vip->RowCount() - 2 == expected;
    s.vip->hide();
  }
  if (!measured) {
    std::fprintf(stderr, "not measured: each spot list window must be on the screen with no box open, and each "
                         "case must merge, age or add its rows\n");
    return 1;
  }

  std::printf("One listed spot at N rows (microseconds, median of %d trials): AddSpot / with the queue served\n",
              kTrials);
  std::printf("%8s", "N");
  for (const char* name : kCaseNames) std::printf(" %19s", name);
  std::printf("\n");
  for (std::size_t i = 0; i < subjects.size(); i += kCases) {
    std::printf("%8d", subjects[i].rows);
    for (int c = 0; c < kCases; ++c) {
      const Subject& s = subjects[i + std::size_t(c)];
      std::printf(" %9.1f /%8.1f", median(s.spot), median(s.total));
    }
    std::printf("\n");
  }
  std::printf("merge: a repeat of the station in the middle row; age: a new station, the oldest row aged out;\n"
              "plain: a new station, both options off.\n");
  subjects.clear();
  DeleteFileA(settings.c_str());
  std::error_code ec;
  fs::current_path(fs::temp_directory_path(), ec);
  fs::remove_all(folder, ec);
  return 0;
}
