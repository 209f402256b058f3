// The callbook search with dated lines on arbitrary bytes: the file read in small
// pieces, and the whole bytes at once, agree with a plain line-by-line reading.
// Input: one byte of callsign length, one of piece size, ten characters tried as
// the day (another day when they are none), the callsign, the callbook.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "core/callbook.h"
#include "core/code_page.h"
#include "core/text.h"
#include "core/text_file.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

// What one line says on the day, read the plain way: nothing, or its district text.
std::optional<std::string_view> lineDistrict(std::string_view rest, core::Date on) {
  if (rest.empty() || rest[0] != '<') return rest;
  const std::size_t close = rest.find('>');
  if (close == std::string_view::npos) return std::nullopt;
  const std::string_view range = rest.substr(1, close - 1);
  const std::size_t comma = range.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  core::Date from{0, 0, 0}, to{9999, 12, 31};
  const std::string_view ends[2] = {core::trimBlanks(range.substr(0, comma)), core::trimBlanks(range.substr(comma + 1))};
  for (int i = 0; i < 2; ++i) {
    if (ends[i].empty()) continue;
    const auto day = core::parseIsoDate(ends[i]);
    if (!day) return std::nullopt;
    (i == 0 ? from : to) = *day;
  }
  if (to < from || on < from || to < on) return std::nullopt;
  const std::string_view after = rest.substr(close + 1);
  const std::size_t first = after.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::nullopt;
  return after.substr(first);
}

std::optional<core::CallbookResult> model(std::string_view book, std::string_view key, core::Date on) {
  const bool utf8 = book.starts_with("\xEF\xBB\xBF");
  if (utf8) book.remove_prefix(3);
  std::optional<core::CallbookResult> result;
  core::forEachLine(book, [&](std::string_view line) {
    if (!line.starts_with(key)) return;
    const auto text = lineDistrict(line.substr(key.size()), on);
    if (!text) return;
    const std::string district(core::head(utf8 || core::isUtf8Text(*text) ? core::utf8ToCp1251(*text) : *text, 5));
    if (!result) result = core::CallbookResult{district, {}};
    auto& valid = result->validDistricts;
    if (std::find(valid.begin(), valid.end(), district) == valid.end()) valid.push_back(district);
  });
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 12) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::size_t callLength = data[0] % 12;
  const std::size_t pieceSize = 1 + data[1] % 64;
  const core::Date on = core::parseIsoDate(text.substr(2, 10)).value_or(core::Date{2000, 2, 29});
  if (12 + callLength > size) return 0;
  const std::string key = core::callbookKey(text.substr(12, callLength));
  const std::string_view book = text.substr(12 + callLength);

  const auto expected = model(book, key, on);
  check(core::callbookLookup(book, key, on) == expected);

  // The same bytes as a file, read in pieces smaller than many a line.
  const char* const path = "fuzz-callbook.txt";
  std::FILE* f = std::fopen(path, "wb");
  check(f != nullptr);
  check(std::fwrite(book.data(), 1, book.size(), f) == book.size());
  std::fclose(f);
  core::CallbookFile file(path, pieceSize);
  check(file.find(key, on) == expected);
  check(file.find(key, on) == expected);  // a second search starts from the top again
  if (expected) check(!expected->validDistricts.empty() && expected->validDistricts[0] == expected->district);
  return 0;
}
