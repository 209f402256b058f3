// What one refresh of the progress window costs in counting: the award's list of
// 3,100 codes under their region headers (tab-separated, LF, some retired) and
// 3,000 confirmation lines, counted per region; beside it the same with both files
// read from the page cache, as a refresh does.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "core/award_progress.h"
#include "core/text_file.h"

namespace {

namespace fs = std::filesystem;

struct Files {
  fs::path dir;
  std::string districtList, confirmations;
  std::string districtPath, confirmationsPath;

  Files() {
    std::mt19937 rng(1251);
    // 86 regions of 36 codes: 3,096 codes, one in 25 retired with its successor.
    for (int region = 0; region < 86; ++region) {
      const std::string letters{char('A' + region / 26), char('A' + region % 26)};
      districtList += "ОБЛАСТЬ НОМЕР " + std::to_string(region) + " (ОБЛ)\t(" + letters + ")\tUA" +
                      std::to_string(region % 10) + "A\n";
      for (int n = 1; n <= 36; ++n) {
        char code[8];
        std::snprintf(code, sizeof code, "%s-%02d", letters.c_str(), n);
        districtList += std::string(code) + "\tРайон номер " + std::to_string(n) +
                        (rng() % 25 ? "\t\t\n" : "\tdeleted\t" + letters + "-01\n");
      }
    }
    for (int i = 0; i < 3000; ++i) {
      const int region = int(rng() % 86);
      char line[64];
      std::snprintf(line, sizeof line, "%c%c-%02d;R%dA%c;20;CW;2019-05-%02d\n", 'A' + region / 26, 'A' + region % 26,
                    int(rng() % 40 + 1), int(rng() % 10), 'A' + int(rng() % 26), int(rng() % 28 + 1));
      confirmations += line;
    }
    dir = fs::temp_directory_path() / "rudoz-bench-progress";
    fs::create_directories(dir);
    districtPath = (dir / "QJar.txt").string();
    confirmationsPath = (dir / "QJcfm.txt").string();
    std::ofstream(districtPath, std::ios::binary) << districtList;
    std::ofstream(confirmationsPath, std::ios::binary) << confirmations;
  }
  ~Files() { fs::remove_all(dir); }
};

const Files& files() {
  static Files f;
  return f;
}

void BM_CountProgress(benchmark::State& state) {
  const Files& f = files();
  for (auto _ : state) benchmark::DoNotOptimize(core::countProgress(f.districtList, f.confirmations));
  state.counters["regions"] = double(core::countProgress(f.districtList, f.confirmations).regions.size());
}
BENCHMARK(BM_CountProgress)->Unit(benchmark::kMicrosecond);

void BM_RefreshFromFiles(benchmark::State& state) {
  const Files& f = files();
  for (auto _ : state) {
    const core::FileBytes list = core::readFileBytes(f.districtPath);
    const core::FileBytes cfm = core::readFileBytes(f.confirmationsPath);
    core::AwardProgress progress = core::countProgress(list.view(), cfm.view());
    core::sortRegions(progress.regions, core::ProgressColumn::Needed, true);
    benchmark::DoNotOptimize(core::progressTable(progress.regions));
  }
}
BENCHMARK(BM_RefreshFromFiles)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
