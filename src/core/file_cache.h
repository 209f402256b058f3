// The reference files as the lookup reads them at every keystroke and every spot:
// read again only when the file's size or last write time says it changed, so that
// an edit counts at its next use without the cost of opening the file each time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/text_file.h"

namespace core {

// What tells a file's content changed: its size and its last write time (in ticks
// of 100 ns, as the platform's clock below).
struct FileStamp {
  std::uint64_t size = 0;
  std::uint64_t written = 0;
  bool operator==(const FileStamp&) const = default;
};

// The platform's look at a file without opening it; false when it cannot look.
// Without one installed every use reads the file.
using FileStampFn = bool (*)(const std::string& name, FileStamp& stamp);
void setFileStamper(FileStampFn fn);

// The platform's clock, in the ticks of FileStamp::written. A file may be written
// again at the same size within the resolution of its file system's times (two
// seconds on FAT, one on some network shares), and its stamp would not tell: a
// reading of a file written less than kFileTimeSlack before it is not kept, and the
// next use reads the file again. Without a clock no reading is kept.
using FileClockFn = std::uint64_t (*)();
void setFileClock(FileClockFn fn);
inline constexpr std::uint64_t kFileTimeSlack = 3 * 10'000'000;

// The platform clock's time now; 0 without a clock.
std::uint64_t fileClockNow();
// Whether a reading made at readAt (the clock's time, taken before the reading) of
// a file with that stamp stands for the stamp for good: the file was written at
// least kFileTimeSlack before. Never without a clock (readAt 0).
bool readingIsFinal(const FileStamp& stamp, std::uint64_t readAt);

// The bytes readFileBytes gives (UTF-8 turned into Windows-1251), shared with the
// earlier users of the same reading. Throws as readFileBytes does.
std::shared_ptr<const FileBytes> cachedFileBytes(const std::string& name);

}  // namespace core
