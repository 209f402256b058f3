// Loading the worked log: a Logger32 ADIF export of 100,000 QSOs (some 36 MB) read
// from memory, and from the file as the program loads it, beside the raw read of the
// same bytes.
//
// The export is made up as Logger32 writes one: a header, then records of about twenty
// fields in varying order with CR LF between records and often between fields, the
// band missing from some (the frequency then tells it), type indicators on some
// fields, names and places in Cyrillic, in UTF-8 or in Windows-1251, districts in
// CNTY for the Russian stations and a US county or nothing for the others.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/adif_log.h"
#include "core/code_page.h"
#include "core/text_file.h"

namespace {

namespace fs = std::filesystem;

constexpr int kQsos = 100000;

std::string utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

struct Export {
  std::string bytes;
  std::string path;

  Export() {
    std::mt19937 rng(1251);
    const auto pick = [&](const auto& list) { return list[rng() % std::size(list)]; };
    const auto letter = [&] { return char('A' + rng() % 26); };
    const struct {
      const char *band, *mhz;
    } bands[] = {{"160m", "1.8"},  {"80m", "3.5"},  {"40m", "7.0"},   {"30m", "10.1"}, {"20m", "14.0"},
                 {"17m", "18.07"}, {"15m", "21.0"}, {"12m", "24.89"}, {"10m", "28.0"}, {"6m", "50.1"}};
    const char* modes[] = {"CW", "SSB", "FT8", "RTTY", "FT4", "PSK31"};
    const std::string names[] = {utf8(u8"Иван"),  utf8(u8"Сергей"), utf8(u8"Александр"),
                                 utf8(u8"Ольга"), "John",           "Hans"};
    const std::string places[] = {
        utf8(u8"Москва"), utf8(u8"Нижний Новгород"), utf8(u8"Екатеринбург"), utf8(u8"пос. Листвянка"), "Berlin",
        "Boston, MA"};
    const char* regions[] = {"AD", "AL", "AM", "BA", "MO", "NN", "SP", "SV", "TA", "YA", "KK", "PM", "IR", "HA"};

    std::vector<std::string> fields;
    const auto field = [&](const char* name, const std::string& value, const char* type = nullptr) {
      std::string f = "<" + std::string(name) + ":" + std::to_string(value.size());
      if (type) f += std::string(":") + type;
      fields.push_back(f + ">" + value);
    };
    // Cyrillic text as the export holds it: UTF-8 in some logs, Windows-1251 in others.
    const auto cyrillic = [&](const std::string& text) { return rng() % 3 == 0 ? core::utf8ToCp1251(text) : text; };

    bytes =
        "ADIF export from Logger32 by ruDOZ's benchmark\r\n<ADIF_VER:5>3.1.4\r\n<PROGRAMID:8>Logger32\r\n"
        "<PROGRAMVERSION:5>4.0.1\r\n<EOH>\r\n";
    bytes.reserve(32u << 20);
    for (int i = 0; i < kQsos; ++i) {
      fields.clear();
      const bool russian = rng() % 10 < 6;
      const std::string call =
          russian ? std::string(rng() % 2 ? "R" : "UA") + char('0' + rng() % 10) + letter() + letter() + letter()
                  : std::string("DL") + char('0' + rng() % 10) + letter() + letter();
      const auto& band = pick(bands);
      field("CALL", call);
      field("QSO_DATE", std::to_string(20050101 + rng() % 20 * 10000 + rng() % 12 * 100 + rng() % 28), "D");
      field("TIME_ON", std::to_string(100000 + rng() % 140000));
      if (rng() % 10) field("BAND", band.band);  // some records carry the frequency alone
      field("FREQ", std::string(band.mhz) + std::to_string(100 + rng() % 900));
      const char* mode = pick(modes);
      field("MODE", mode);
      if (std::string(mode) == "SSB") field("SUBMODE", rng() % 2 ? "USB" : "LSB");
      field("RST_SENT", std::string(mode) == "CW" ? "599" : "59");
      field("RST_RCVD", std::string(mode) == "CW" ? "579" : "57");
      field("NAME", russian ? cyrillic(pick(names)) : pick(names));
      field("QTH", russian ? cyrillic(pick(places)) : pick(places));
      if (russian) {
        std::string rda = std::string(pick(regions)) + "-" + std::to_string(10 + rng() % 90);
        if (rng() % 20 == 0) rda[0] = char(rda[0] - 'A' + 'a');  // typed by hand
        field("CNTY", rda);
      } else if (rng() % 3 == 0) {
        field("CNTY", "MA,Middlesex");
      }
      field("GRIDSQUARE", std::string("KO") + char('0' + rng() % 10) + char('0' + rng() % 10) + "xx");
      field("DXCC", russian ? "54" : "230", "N");
      field("CQZ", russian ? "16" : "14", "N");
      field("CONT", "EU");
      field("TX_PWR", std::to_string(5 + rng() % 995), "N");
      if (rng() % 4 == 0) field("COMMENT", russian ? cyrillic(utf8(u8"спасибо за QSO <73>")) : "tnx fer QSO, 73 <gl>");
      field("QSL_SENT", rng() % 2 ? "Y" : "N");
      field("QSL_RCVD", rng() % 3 ? "N" : "Y");
      field("APP_LOGGER32_QSO_NUMBER", std::to_string(i + 1), "N");
      field("STATION_CALLSIGN", "R3DEMO");
      std::shuffle(fields.begin() + 1, fields.end(), rng);
      for (const std::string& f : fields) {
        bytes += f;
        bytes += rng() % 4 ? " " : "\r\n";
      }
      bytes += "<EOR>\r\n";
    }
    path = (fs::temp_directory_path() / "rudoz-bench-worked.adi").string();
    std::ofstream(path, std::ios::binary) << bytes;
  }
  ~Export() { fs::remove(path); }
};

const Export& exported() {
  static Export e;
  return e;
}

// The benchmark counts only when the log read whole and right.
bool readRight(benchmark::State& state, const core::WorkedLog& log) {
  if (log.qsoCount() != kQsos || log.problem() || log.districtCount() < 1000) {
    state.SkipWithError("the export did not read as 100,000 QSOs without a problem");
    return false;
  }
  return true;
}

void report(benchmark::State& state, const core::WorkedLog& log) {
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(exported().bytes.size()));
  state.counters["MB"] = double(exported().bytes.size()) / 1e6;
  state.counters["districts"] = double(log.districtCount());
}

void BM_ReadWorkedLogFromMemory(benchmark::State& state) {
  core::WorkedLog log;
  (void)exported();
  for (auto _ : state) {
    log = core::readWorkedLog(exported().bytes);
    benchmark::DoNotOptimize(log);
  }
  if (readRight(state, log)) report(state, log);
}
BENCHMARK(BM_ReadWorkedLogFromMemory)->Unit(benchmark::kMillisecond);

void BM_LoadWorkedLogFile(benchmark::State& state) {
  core::WorkedLog log;
  (void)exported();
  for (auto _ : state) {
    log = core::loadWorkedLog(exported().path);
    benchmark::DoNotOptimize(log);
  }
  if (readRight(state, log)) report(state, log);
}
BENCHMARK(BM_LoadWorkedLogFile)->Unit(benchmark::kMillisecond);

// The same file's bytes, read alone.
void BM_RawReadOfTheFile(benchmark::State& state) {
  (void)exported();
  for (auto _ : state) {
    const core::FileBytes bytes = core::readRawFileBytes(exported().path);
    benchmark::DoNotOptimize(bytes.view().data());
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(exported().bytes.size()));
}
BENCHMARK(BM_RawReadOfTheFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
