// The operator's own log, exported by Logger32 as ADIF, read for what the spot
// verdict wants of it: which districts were worked, on which bands, and the last
// QSO with each, confirmed or not.
//
// ADIF: an optional header ending in <EOH> (a log without <EOH> starts with its
// records), then records of fields "<NAME:LENGTH>value" or "<NAME:LENGTH:TYPE>value"
// each ended by <EOR>. LENGTH counts bytes, whatever the text's code page
// (Windows-1251 or UTF-8), names compare in any case, anything between fields is
// ignored. A district is the field CNTY in the district form (AB-12, or AB12 as
// many logs write it; upper-cased first), on a QSO with a Russian station: DXCC
// European or Asiatic Russia or Kaliningrad, or without DXCC a callsign that
// passes the spot intake's Russian test. The band is BAND ("20m"), or when it names
// none of the bands, FREQ (MHz).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/band.h"

namespace core {

// The first thing in a log that is not as ADIF writes it: where (counting lines
// from 1) and what, as the end of a sentence.
struct AdifProblem {
  std::size_t line = 0;
  std::string what;
  bool recordLeftOut = false;  // the record the problem is in does not count
  bool operator==(const AdifProblem&) const = default;
};

// The last QSO with a district: its band, mode and date ("YYYYMMDD", "" when the
// record has none in that form). The latest date wins, the later record on a tie.
struct WorkedQso {
  Band band = Band::None;
  std::string mode;
  std::string date;
};

class WorkedLog {
 public:
  // Districts compare with a–z in either case; a text not in the district form was
  // never worked.
  bool worked(std::string_view district) const;
  // Worked on that band; Band::None asks for a QSO whose band the log does not tell.
  bool workedOn(std::string_view district, Band band) const;
  const WorkedQso* lastQso(std::string_view district) const;

  std::size_t qsoCount() const { return qsos_; }  // records counted, with a district or not
  std::size_t districtCount() const { return districts_.size(); }
  // The first problem met; the records it spared are in the log all the same.
  const std::optional<AdifProblem>& problem() const { return problem_; }
  // The text ends where a log may end: after an <EOR> (or the header's <EOH>), with
  // nothing but blanks and line breaks after it. A log caught while it is written
  // ends inside a record.
  bool whole() const { return whole_; }

 private:
  friend class AdifReader;
  struct District {
    std::uint16_t bands = 0;  // bit per Band
    WorkedQso last;
  };
  const District* find(std::string_view district) const;

  std::vector<std::uint32_t> slots_;  // district number -> 1 + index into districts_, 0: not worked
  std::vector<District> districts_;
  std::size_t qsos_ = 0;
  std::optional<AdifProblem> problem_;
  bool whole_ = false;
};

// One pass over the bytes of an ADIF log. Never throws for what the bytes hold:
//  - a tag that is not <EOH>, <EOR> or <NAME:LENGTH[:TYPE]> is skipped, the rest of
//    its record counts;
//  - a field whose value holds an <EOR> ran past its record (its LENGTH is wrong,
//    a number however large): the <EOR> ends the record, which does not count
//    (what it holds is in doubt);
//  - a field whose LENGTH runs past the end of the log with no <EOR> on the way
//    ends the reading, and its record does not count;
//  - a last record without <EOR> does not count;
//  - a log with neither <EOH> nor <EOR> is no ADIF log.
// Each is a problem; the first is kept.
WorkedLog readWorkedLog(std::string_view adif);

// The log file read whole and byte for byte: its lengths count its own bytes, so
// a log saved as UTF-8 is not turned into Windows-1251 first. Throws FileOpenError.
WorkedLog loadWorkedLog(const std::string& fileName);

// The one message the windows show for a problem: `Worked log "NAME", line N: ...`,
// saying that the record there is left out when it is.
std::string workedLogProblemText(const std::string& fileName, const AdifProblem& problem);

}  // namespace core
