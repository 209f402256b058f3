// Spot records of any bytes through the four field readers and the command texts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/link_texts.h"
#include "core/spot_record.h"

namespace {

bool inside(std::string_view part, std::string_view whole) {
  return whole.find(part) != std::string_view::npos;
}

// A reader either leaves the sentinel alone or replaces it by something it found.
template <class Reader>
std::string run(Reader reader, std::string_view record, std::string_view tag, bool& found) {
  std::string result = "\x01sentinel";
  reader(record, result);
  found = result != "\x01sentinel";
  if (found && !inside(tag, record)) std::abort();  // nothing is made up without the tag
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view record(reinterpret_cast<const char*>(data), size);
  bool found = false;

  const std::string call = run(core::findClx, record, "DXSPOT_CALLSIGN", found);
  if (found && (call.size() > 19 || !inside(call, record))) std::abort();

  const std::string freq = run(core::findFreq, record, "DXSPOT_FREQ", found);
  if (found && (freq.size() > 9 || !inside(freq, record))) std::abort();

  const std::string comment = run(core::findComent, record, "COMMENT:", found);
  if (found) {
    if (comment.size() > 99) std::abort();
    for (char c : comment)
      if (c >= 'a' && c <= 'z') std::abort();
  }

  const std::string time = run(core::findTime, record, "<APP_DXSPOT_TIME:4>", found);
  if (found && (time.size() > 5 || time.find(':') == std::string::npos)) std::abort();

  (void)core::isRussianCall(call);
  const std::string_view half = record.substr(0, size / 2);
  const std::string click = core::spotClickCommand(half, record.substr(size / 2));
  if (click.size() < size + 3) std::abort();
  (void)core::spotDistrictCommand(half);
  (void)core::cwCommand(record);
  (void)core::ssbCommand(record);
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < size && i < 4; ++i) value = (value << 8) | data[i];
  if (core::frequencyText(value).find(',') == std::string::npos) std::abort();
  return 0;
}
