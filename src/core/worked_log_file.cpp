#include "core/worked_log_file.h"

namespace core {

bool WorkedLogFile::wantsReading(const FileStamp& stamp) const { return !final_ || *final_ != stamp; }

std::string WorkedLogFile::take(const FileStamp& before, std::string_view bytes, const FileStamp& after,
                                std::uint64_t readAt) {
  failure_.clear();
  // Written to while it was read: the version in force stands, the next check reads again.
  if (before != after || bytes.size() != before.size) {
    final_.reset();
    pending_.reset();
    return {};
  }
  WorkedLog reading = readWorkedLog(bytes);
  const bool settled = readingIsFinal(before, readAt);
  // Cut inside a record: Logger32 is writing it. Only a file found so again at the
  // next check, and written a while ago, is taken as it is (its last record left out).
  if (!reading.whole() && !(pending_ == before && settled)) {
    final_.reset();
    pending_ = before;
    if (!inForce_) {  // at first, the records read are better than none
      log_ = std::move(reading);
      inForce_ = true;
    }
    return {};
  }
  pending_.reset();
  log_ = std::move(reading);
  inForce_ = true;
  // A file written just before may be written again at the same size and time.
  final_ = settled ? std::optional<FileStamp>(before) : std::nullopt;
  if (!log_.problem()) {
    shown_.clear();
    return {};
  }
  std::string problem = workedLogProblemText(fileName_, *log_.problem());
  if (!settled || problem == shown_) return {};
  shown_ = problem;
  return problem;
}

std::string WorkedLogFile::takeFailure(const std::string& error) {
  final_.reset();
  pending_.reset();
  // A file being replaced may be away for a moment: the version in force stands
  // until the same failure meets the next check too.
  if (failure_ != error) {
    failure_ = error;
    return {};
  }
  log_ = {};
  inForce_ = false;
  if (error == shown_) return {};
  shown_ = error;
  return error;
}

const WorkedLog* WorkedLogFile::log() const { return inForce_ ? &log_ : nullptr; }

}  // namespace core
