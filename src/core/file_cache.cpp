#include "core/file_cache.h"

#include <unordered_map>

namespace core {
namespace {

FileStampFn g_stamper = nullptr;
FileClockFn g_clock = nullptr;

struct Cached {
  FileStamp stamp;
  std::shared_ptr<const FileBytes> bytes;
};

// A handful of files; their names as the program gives them.
std::unordered_map<std::string, Cached>& cache() {
  static std::unordered_map<std::string, Cached> c;
  return c;
}

}  // namespace

void setFileStamper(FileStampFn fn) {
  g_stamper = fn;
  cache().clear();
}

void setFileClock(FileClockFn fn) {
  g_clock = fn;
  cache().clear();
}

std::uint64_t fileClockNow() { return g_clock ? g_clock() : 0; }

bool readingIsFinal(const FileStamp& stamp, std::uint64_t readAt) {
  return readAt != 0 && stamp.written + kFileTimeSlack <= readAt;
}

std::shared_ptr<const FileBytes> cachedFileBytes(const std::string& name) {
  FileStamp stamp;
  const bool stamped = g_stamper && g_stamper(name, stamp);
  if (stamped)
    if (const auto it = cache().find(name); it != cache().end() && it->second.stamp == stamp) return it->second.bytes;
  const std::uint64_t readAt = fileClockNow();
  auto bytes = std::make_shared<const FileBytes>(readFileBytes(name));
  // A file that changed while it was read is read again at its next use: the stamp
  // kept is the one from before. So is one written just before, which may change
  // again without its stamp showing it.
  if (stamped && readingIsFinal(stamp, readAt))
    cache()[name] = {stamp, bytes};
  else
    cache().erase(name);
  return bytes;
}

}  // namespace core
