// The worked log as the verdict uses it while Logger32 rewrites its export now and
// then: which reading of the file is in force, when to read it again, and which
// problem to tell the operator (once, and only of a file that has stopped changing).
//
// A reading is taken when the file did not change while it was read (the same
// stamp before and after, as many bytes as the stamp says) and its text ends where
// a log may end (WorkedLog::whole). A reading cut inside a record is Logger32
// caught writing: the last version taken stays in force, and only when the next
// check finds the same file, written a while ago, is it taken as it is. A reading
// of a file written less than kFileTimeSlack before is read again at the next check
// (a rewrite within the file system's time resolution keeps size and time).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/adif_log.h"
#include "core/file_cache.h"

namespace core {

class WorkedLogFile {
 public:
  explicit WorkedLogFile(std::string fileName) : fileName_(std::move(fileName)) {}

  // Whether the file must be read at this check, its stamp now being `stamp`.
  bool wantsReading(const FileStamp& stamp) const;
  // A reading: the file's stamp before it, its bytes, its stamp after it, and the
  // clock's time before it (fileClockNow). Returns the message the operator is to
  // see now, empty for none.
  std::string take(const FileStamp& before, std::string_view bytes, const FileStamp& after, std::uint64_t readAt);
  // A file that could not be read (missing, locked): why.
  std::string takeFailure(const std::string& error);
  // The log in force; nothing when none counts.
  const WorkedLog* log() const;

 private:
  std::string fileName_;
  WorkedLog log_;
  bool inForce_ = false;
  std::optional<FileStamp> final_;    // the reading in force stands for this stamp for good
  std::optional<FileStamp> pending_;  // a reading cut inside a record, not taken
  std::string failure_;               // the last reading's failure, not yet taken
  std::string shown_;                 // the problem last named
};

}  // namespace core
