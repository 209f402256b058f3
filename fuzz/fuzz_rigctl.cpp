// rigctld's answers as any daemon (or anything else on that port) may send them, cut
// into arbitrary pieces: lines within the bound, a value or an error for each, never
// a crash; a row's frequency text likewise.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include "core/rigctl_protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  namespace rig = core::rigctl;
  const std::size_t piece = data[0] % 16 + 1;  // the first byte picks the size of the pieces
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  rig::LineFramer framer;
  rig::DumpState state;
  try {
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
      framer.feed(bytes.substr(at, piece));
      while (auto line = framer.next()) {
        if (line->size() > rig::LineFramer::kMaxLine) std::abort();
        if (const auto r = rig::report(*line); r && r->ok != (r->code == 0)) std::abort();
        try {
          rig::parseFrequency(*line);
        } catch (const std::runtime_error&) {
        }
        rig::parseCheckVfo(*line);
        state.take(*line);
      }
    }
  } catch (const std::runtime_error&) {
  }
  try {
    const std::uint64_t hz = rig::frequencyOfText(bytes);
    rig::spotMode(hz, bytes);
  } catch (const std::invalid_argument&) {
  }
  return 0;
}
