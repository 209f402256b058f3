// What one whole spot costs the program at 10 rows in the spot list and at 20,000:
// the record written into the spot field, the lookup, the verdict, the row appended,
// and the queue served after it (the held screen work, the painting). Every spot
// names a district that is not confirmed, so every one lists a row. The two figures
// should be about equal.
//
// The program runs as the operator has it: the main window and the spot list window
// on the screen side by side, a region list, no message box; the benchmark checks
// that before it measures and refuses to report otherwise.
//
//   scripts/wine-run --prefix build/windows/wineprefix build/windows/bench/win/bench_spot_rows.exe
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/MapU.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/VipU.h"
#include "ui/application.h"
#include "bench_timing.h"
#include "ui/dialogs.h"
#include "ui/win.h"

namespace {

namespace fs = std::filesystem;
constexpr int kSpots = 100;

using bench::median;
using bench::now;

void writeLines(const fs::path& file, const std::vector<std::string>& lines) {
  std::ofstream out(file, std::ios::binary);
  for (const std::string& l : lines) out << l << "\r\n";
}

std::string code(int i) {
  static const char* const regions[] = {"AD", "AL", "AM", "BA", "MO", "NN", "SP", "SV", "TA", "YA"};
  return std::string(regions[i % 10]) + "-" + char('0' + i / 10 % 10) + char('0' + i / 100 % 10);
}

// Reference files of the usual sizes: every district of the list but the odd
// hundred is confirmed, so the spots name those.
void makeFiles() {
  std::vector<std::string> districts, confirmations, regions, callbook;
  for (int i = 0; i < 1000; ++i) {
    districts.push_back(code(i) + "\tDistrict " + std::to_string(i));
    if (i % 200 < 100) confirmations.push_back(code(i) + ";R1AAA;20;CW;2019-05-01");
    regions.push_back(code(i) + " 01.2020-LastQso " + std::to_string(i % 60) + ".5%MW");
  }
  std::sort(regions.begin(), regions.end());
  for (int i = 0; i < 200000; ++i) callbook.push_back("UA" + std::to_string(100000 + i) + " " + code(i % 1000));
  writeLines("QJar.txt", districts);
  writeLines("QJcfm.txt", confirmations);
  writeLines("QJreg.txt", regions);
  writeLines("RUdoz.txt", callbook);
  writeLines("QJlook.txt", {"R9ZZZ"});
}

void drain() {
  MSG m;
  for (int quiet = 0; quiet < 2;) {
    if (PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE)) {
      ui::app().processMessages();
      quiet = 0;
    } else {
      ++quiet;
    }
  }
}

// A spot of a station no callbook line names, its district in the comment.
void spot(int n) {
  const std::string call = "R" + std::to_string(n % 10) + "N" + std::to_string(n);
  const std::string comment = "RDA: " + code(100 + n % 100) + " tnx";
  const std::string record = "<DXSPOT_CALLSIGN:" + std::to_string(call.size()) + ">" + call +
                             "<DXSPOT_FREQ:7>14025.0<DXSPOT_COMMENT:" + std::to_string(comment.size()) + ">" +
                             comment + "<APP_DXSPOT_TIME:4>1201";
  SendMessageA(Form2->SpotField(), WM_SETTEXT, 0, LPARAM(record.c_str()));
}

// Microseconds per whole spot, the queue served after each.
double spotCost(int& n) {
  std::vector<double> times;
  for (int i = 0; i < kSpots; ++i) {
    const double start = now();
    spot(n++);
    drain();
    times.push_back(now() - start);
  }
  return median(times);
}

}  // namespace

int main() {
  ui::installPlatformHooks();
  ui::initializeCom();
  const fs::path folder = fs::temp_directory_path() / ("rudoz-bench-rows-" + std::to_string(GetCurrentProcessId()));
  fs::create_directories(folder);
  fs::current_path(folder);
  makeFiles();
  const std::string settings = TVip::SettingsPath();
  std::ofstream(settings, std::ios::binary) << "[RD]\r\nMainTop=10\r\nMainLeft=2\r\nVipTop=10\r\nVipLeft=330\r\n";
  int boxes = 0;
  ui::setMessageBoxHook([&](const std::string& text, const std::string&, unsigned) {
    std::fprintf(stderr, "message box: %s\n", text.c_str());
    ++boxes;
    return IDOK;
  });

  // Each window is the program's global from its creation on, as at start-up.
  auto form1 = std::make_unique<TForm1>();
  auto form2 = std::make_unique<TForm2>();
  auto vip = std::make_unique<TVip>();
  auto map = std::make_unique<TMap>();
  Form1->bringToFront();
  int n = 0;
  spot(n++);  // the first listed spot shows the spot list
  drain();

  // The program as the operator has it, before the spots and after them; and every
  // spot listed a row.
  const auto onScreen = [&] { return !boxes && IsWindowVisible(Form1->handle()) && IsWindowVisible(Vip->handle()); };
  bool everySpotListed = true;
  std::vector<std::pair<int, double>> costs;
  if (onScreen()) {
    for (const int rows : {10, 20000, 10, 20000}) {
      Vip->CLEAR1Click();
      while (Vip->RowCount() - 2 < rows)
        Vip->AddSpot("R3OLD", "7010.0", code(Vip->RowCount() % 1000), "12:00");
      drain();
      costs.emplace_back(rows, spotCost(n));
      everySpotListed = everySpotListed && Vip->RowCount() - 2 == rows + kSpots;
    }
  }
  int result = 0;
  if (!onScreen() || costs.empty() || !everySpotListed) {
    std::fprintf(stderr, "not measured: the main window and the spot list must be on the screen, no box open, "
                         "and every spot must list a row\n");
    result = 1;
  } else {
    std::printf("one whole spot (median of %d, queue served), every spot listing a row\n", kSpots);
    for (const auto& [rows, cost] : costs) std::printf("%8d rows: %8.1f us\n", rows, cost);
  }
  ui::setMessageBoxHook(nullptr);
  map.reset();
  vip.reset();
  form2.reset();
  form1.reset();
  std::error_code ec;
  fs::remove(settings, ec);
  fs::current_path(fs::temp_directory_path());
  fs::remove_all(folder, ec);
  return result;
}
