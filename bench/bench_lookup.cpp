// What one keystroke in the callsign field costs: the full lookup with its file
// reads, beside the raw cost of reading the same bytes from the page cache.
//
// The lookup of a callsign found near the end of a 200,000-line callbook, whose
// spot comment names a second district, reads the callbook once, the district list
// four times (empty field, callbook district, comment check, comment district), the
// confirmations twice and the watch list once.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/districts.h"
#include "core/lookup.h"
#include "core/text.h"
#include "core/text_file.h"

namespace {

namespace fs = std::filesystem;

struct Files {
  fs::path dir;
  std::string callbook, districts, confirmations, watchList;
  std::string callsign = "ub0zzz";  // near the end of the callbook
  std::string comment = "RDA: MO05 TNX 73";

  Files() {
    dir = fs::temp_directory_path() / "rudoz-bench-lookup";
    fs::create_directories(dir);
    std::mt19937 rng(1251);
    auto letter = [&] { return char('A' + rng() % 26); };
    const char* prefixes[] = {"AD", "AL", "AM", "BA", "MO", "NN", "SP", "SV", "TA", "YA"};

    std::string text;
    for (int i = 0; i < 2700; ++i) {
      char code[8];
      std::snprintf(code, sizeof code, "%s-%02d", prefixes[i % 10], i / 10 % 100);
      text += std::string(code) + "\tSome district number " + std::to_string(i) + (i % 37 ? "" : " deleted") + "\r\n";
    }
    districts = write("QJar.txt", text);

    text.clear();
    for (int i = 0; i < 2600; ++i) {
      char line[64];
      std::snprintf(line, sizeof line, "%s-%02d;R%d%c%c;20;CW;2019-05-%02d\r\n", prefixes[rng() % 10],
                    int(rng() % 100), int(rng() % 10), letter(), letter(), int(rng() % 28 + 1));
      text += line;
    }
    confirmations = write("QJcfm.txt", text);

    text.clear();
    for (int i = 0; i < 200000; ++i)
      text += std::string("UA") + char('0' + rng() % 10) + letter() + letter() + letter() + " " + prefixes[rng() % 10] +
              "-" + std::to_string(10 + rng() % 90) + "\r\n";
    text += "UB0ZZZ MO-12\r\n";
    for (int i = 0; i < 100; ++i) text += std::string("UI") + letter() + letter() + " SV-11\r\n";
    callbook = write("RUdoz.txt", text);

    text.clear();
    for (int i = 0; i < 200; ++i) text += std::string("R") + char('0' + i % 10) + letter() + letter() + "\r\n";
    watchList = write("QJlook.txt", text);
  }
  ~Files() { fs::remove_all(dir); }

  std::string write(const char* name, const std::string& bytes) {
    const std::string path = (dir / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
};

const Files& files() {
  static Files f;
  return f;
}

// The district list check and the confirmation check, as the verdict makes them.
bool raion(const Files& f, const std::string& code) {
  return core::lookUpDistrict(core::readFileBytes(f.districts).view(), code).valid;
}
bool verdict(const Files& f, const std::string& fieldText) {
  const std::string key = core::toUpperAscii(fieldText);
  if (!raion(f, key)) return false;
  const auto confirmations = core::readFileBytes(f.confirmations);
  return !confirmations.view().empty() && core::firstConfirmation(confirmations.view(), key).has_value();
}

void BM_FullLookup(benchmark::State& state) {
  const Files& f = files();
  for (auto _ : state) {
    core::CallbookFile book(f.callbook);
    verdict(f, "");  // the district field is cleared first
    const auto found = book.find(core::callbookKey(f.callsign), {2026, 12, 9});
    if (found) verdict(f, found->district);
    const auto watch = core::TextList::load(f.watchList);
    const std::string rda = core::commentRda(f.comment, [&](const std::string& code) { return raion(f, code); });
    if (rda.size() == 5) verdict(f, rda);
    bool alert = false;
    for (std::string_view entry : watch) alert |= core::watchEntryMatches(entry, f.callsign);
    benchmark::DoNotOptimize(alert);
  }
}
BENCHMARK(BM_FullLookup)->Unit(benchmark::kMicrosecond);

// The same bytes read the same number of times, into one reused buffer.
void BM_RawReads(benchmark::State& state) {
  const Files& f = files();
  const std::vector<std::pair<std::string, int>> reads = {
      {f.callbook, 1}, {f.districts, 4}, {f.confirmations, 2}, {f.watchList, 1}};
  std::vector<char> buffer(fs::file_size(f.callbook) + 1);
  for (auto _ : state) {
    for (const auto& [path, times] : reads) {
      for (int i = 0; i < times; ++i) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), file);
        std::fclose(file);
        benchmark::DoNotOptimize(n);
      }
    }
  }
}
BENCHMARK(BM_RawReads)->Unit(benchmark::kMicrosecond);

}  // namespace

// Runs each benchmark five times and prints the best figures and their ratio after
// the usual table.
int main(int argc, char** argv) {
  std::vector<char*> args(argv, argv + argc);
  std::string repetitions = "--benchmark_repetitions=5";
  args.push_back(repetitions.data());
  argc = int(args.size());
  argv = args.data();
  benchmark::Initialize(&argc, argv);
  struct Collect : benchmark::ConsoleReporter {
    double lookup = 0, raw = 0;
    void ReportRuns(const std::vector<Run>& runs) override {
      ConsoleReporter::ReportRuns(runs);
      for (const Run& r : runs) {
        if (r.run_type != Run::RT_Iteration) continue;
        // The best of the repetitions: the machine's other work only ever adds time.
        const double perIteration = r.GetAdjustedRealTime();
        double& best = r.benchmark_name().find("BM_FullLookup") == 0 ? lookup : raw;
        if (best == 0 || perIteration < best) best = perIteration;
      }
    }
  } reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (reporter.lookup > 0 && reporter.raw > 0)
    std::printf("full lookup %.1f us, raw reads %.1f us, ratio %.2f\n", reporter.lookup, reporter.raw,
                reporter.lookup / reporter.raw);
  benchmark::Shutdown();
  return 0;
}
