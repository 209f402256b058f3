#include "core/adif_log.h"

#include <algorithm>
#include <cstring>

#include "core/spot_record.h"
#include "core/text.h"
#include "core/text_file.h"

namespace core {
namespace {

constexpr std::size_t kDistrictNumbers = 26 * 26 * 100;
constexpr std::size_t kLongestName = 64;  // ADIF's names are far shorter: a longer one is no tag

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isUpper(char c) { return c >= 'A' && c <= 'Z'; }

// AB-12 or AB12 (a–z taken as A–Z) as a number below kDistrictNumbers.
std::optional<std::size_t> districtNumber(std::string_view text) {
  const bool hyphen = text.size() == 5 && text[2] == '-';
  if (!hyphen && text.size() != 4) return std::nullopt;
  const char a = upperAscii(text[0]), b = upperAscii(text[1]);
  const char tens = text[hyphen ? 3 : 2], units = text[hyphen ? 4 : 3];
  if (!isUpper(a) || !isUpper(b) || !isDigit(tens) || !isDigit(units)) return std::nullopt;
  return (std::size_t(a - 'A') * 26 + std::size_t(b - 'A')) * 100 + std::size_t(tens - '0') * 10 +
         std::size_t(units - '0');
}

// The DXCC entities the award's districts lie in: European Russia, Asiatic Russia,
// Kaliningrad.
constexpr unsigned kRussianEntities[] = {54, 15, 126};

// Whether a QSO was with a station in Russia: by its DXCC entity when the record
// names one, else by its callsign; a record with neither is taken as it comes.
bool withRussia(std::string_view dxcc, std::string_view call) {
  dxcc = trimBlanks(dxcc);
  if (!dxcc.empty() && dxcc.size() <= 4 && dxcc.find_first_not_of("0123456789") == std::string_view::npos) {
    unsigned entity = 0;
    for (const char c : dxcc) entity = entity * 10 + unsigned(c - '0');
    for (const unsigned russian : kRussianEntities)
      if (entity == russian) return true;
    return false;
  }
  call = trimBlanks(call);
  return call.empty() || isRussianCall(toUpperAscii(call));
}

bool nameIs(std::string_view name, std::string_view upper) {
  if (name.size() != upper.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i)
    if (upperAscii(name[i]) != upper[i]) return false;
  return true;
}

// A name byte: anything printable but what ADIF keeps out of names.
bool isNameByte(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u > ' ' && u != 127 && c != ':' && c != '<' && c != '>' && c != ',' && c != '{' && c != '}';
}

std::uint16_t bandBit(Band band) { return std::uint16_t(1u << unsigned(band)); }

// Lines counted as forEachLine counts them: CR LF, a lone CR or a lone LF ends one.
std::size_t lineNumberAt(std::string_view text, std::size_t pos) {
  std::size_t line = 1;
  for (std::size_t i = 0; i < pos && i < text.size(); ++i)
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) ++line;
  return line;
}

// The tag at pos for a message: up to its ">", the next "<" or the end of its line,
// 24 bytes at most.
std::string excerpt(std::string_view text, std::size_t pos) {
  std::string_view piece = text.substr(pos, 24);
  piece = piece.substr(0, piece.find_first_of("\r\n<", 1));
  if (const std::size_t gt = piece.find('>'); gt != std::string_view::npos) piece = piece.substr(0, gt + 1);
  return std::string(piece);
}

}  // namespace

// The reading of one log: a scanner from one "<" to the next.
class AdifReader {
 public:
  AdifReader(std::string_view text, WorkedLog& log) : text_(text), log_(log) {}

  void read() {
    log_.slots_.assign(kDistrictNumbers, 0);
    if (readTags()) {
      if (started_) {
        problem(recordStart_, "the last record has no <EOR>", true);
      } else if (!sawHeaderEnd_ && !sawRecordEnd_) {
        problem(0, "it holds neither <EOH> nor <EOR>, so it is no ADIF log");
      }
    }
    log_.whole_ = (sawHeaderEnd_ || sawRecordEnd_) &&
                  text_.find_first_not_of(" \t\r\n", lastEnd_) == std::string_view::npos;
    // Lines are counted once, for the one problem told.
    if (problemAt_)
      log_.problem_ = AdifProblem{lineNumberAt(text_, *problemAt_), std::move(problemWhat_), problemLeavesOut_};
  }

 private:
  struct Fields {
    std::string_view cnty, band, freq, mode, date, call, dxcc;
  };

  // False when the log ends inside a field's value: the rest is that one broken field.
  bool readTags() {
    std::size_t pos = 0;
    while (pos < text_.size()) {
      const void* found = std::memchr(text_.data() + pos, '<', text_.size() - pos);
      if (!found) break;
      const auto next = tag(std::size_t(static_cast<const char*>(found) - text_.data()));
      if (!next) return false;
      pos = *next;
    }
    return true;
  }

  // The tag at lt and its value; where to read on, or nothing when the log ends in it.
  std::optional<std::size_t> tag(std::size_t lt) {
    std::size_t i = lt + 1;
    while (i < text_.size() && i - lt <= kLongestName && isNameByte(text_[i])) ++i;
    const std::string_view name = text_.substr(lt + 1, i - lt - 1);
    if (name.empty() || i >= text_.size() || (text_[i] != ':' && text_[i] != '>')) return malformed(lt);
    if (text_[i] == '>') {
      if (nameIs(name, "EOR")) {
        sawRecordEnd_ = true;
        if (started_) endRecord();
      } else if (nameIs(name, "EOH")) {
        // Whatever came before was the header, its stray "<" included.
        if (!sawRecordEnd_ && !sawHeaderEnd_) problemAt_.reset();
        sawHeaderEnd_ = true;
        fields_ = {};
        started_ = broken_ = false;
      } else {
        return malformed(lt);
      }
      lastEnd_ = i + 1;
      return i + 1;
    }
    // LENGTH: its digits counted up to one more than the bytes left, so that no
    // number overflows and any too large runs past the end.
    const std::size_t digits = ++i;
    std::size_t length = 0;
    while (i < text_.size() && isDigit(text_[i])) {
      if (length <= text_.size()) length = length * 10 + std::size_t(text_[i] - '0');
      ++i;
    }
    const std::string_view lengthText = text_.substr(digits, i - digits);
    if (lengthText.empty() || i >= text_.size()) return malformed(lt);
    if (text_[i] == ':') {  // TYPE: a letter or a few
      const std::size_t type = ++i;
      while (i < text_.size() && i - type < 4 && isUpper(upperAscii(text_[i]))) ++i;
      if (i == type) return malformed(lt);
    }
    if (i >= text_.size() || text_[i] != '>') return malformed(lt);
    const std::size_t value = i + 1;
    if (const auto end = recordEndInside(value, std::min(length, text_.size() - value))) {
      begin(lt);
      lengthProblem(recordStart_, name, lengthText, "which run past the end of its record");
      broken_ = true;
      return *end;
    }
    if (length > text_.size() - value) {
      lengthProblem(lt, name, lengthText, "more than the log holds after it");
      started_ = false;
      return std::nullopt;
    }
    field(lt, name, text_.substr(value, length));
    return value + length;
  }

  // Where an <EOR> lies inside the value, if one does: its length is wrong.
  std::optional<std::size_t> recordEndInside(std::size_t value, std::size_t length) const {
    const char* p = text_.data() + value;
    const char* const end = p + length;
    while (const void* found = std::memchr(p, '<', std::size_t(end - p))) {
      const char* lt = static_cast<const char*>(found);
      if (std::size_t(text_.data() + text_.size() - lt) >= 5 && nameIs({lt + 1, 3}, "EOR") && lt[4] == '>')
        return std::size_t(lt - text_.data());
      p = lt + 1;
    }
    return std::nullopt;
  }

  std::size_t malformed(std::size_t lt) {
    if (!problemAt_) problem(lt, "\"" + excerpt(text_, lt) + "\" is not a field tag <NAME:LENGTH>");
    return lt + 1;
  }

  void begin(std::size_t lt) {
    if (!started_) recordStart_ = lt;
    started_ = true;
  }

  void field(std::size_t lt, std::string_view name, std::string_view value) {
    begin(lt);
    std::string_view* slot = nullptr;
    if (nameIs(name, "CNTY"))
      slot = &fields_.cnty;
    else if (nameIs(name, "BAND"))
      slot = &fields_.band;
    else if (nameIs(name, "FREQ"))
      slot = &fields_.freq;
    else if (nameIs(name, "MODE"))
      slot = &fields_.mode;
    else if (nameIs(name, "QSO_DATE"))
      slot = &fields_.date;
    else if (nameIs(name, "CALL"))
      slot = &fields_.call;
    else if (nameIs(name, "DXCC"))
      slot = &fields_.dxcc;
    if (slot && slot->data() == nullptr) *slot = value;  // the first of a repeated field counts
  }

  void endRecord() {
    const Fields f = fields_;
    const bool broken = broken_;
    fields_ = {};
    started_ = broken_ = false;
    if (broken) return;
    ++log_.qsos_;
    const auto number = districtNumber(trimBlanks(f.cnty));
    if (!number || !withRussia(f.dxcc, f.call)) return;
    Band band = bandOfLabel(f.band);
    if (band == Band::None) band = bandOfFrequency(f.freq);
    std::uint32_t& slot = log_.slots_[*number];
    if (slot == 0) {
      log_.districts_.emplace_back();
      slot = std::uint32_t(log_.districts_.size());
    }
    WorkedLog::District& district = log_.districts_[slot - 1u];
    district.bands = std::uint16_t(district.bands | bandBit(band));
    std::string_view date = trimBlanks(f.date);
    if (date.size() != 8 || date.find_first_not_of("0123456789") != std::string_view::npos) date = {};
    if (date < district.last.date) return;
    district.last.band = band;
    district.last.mode = toUpperAscii(trimBlanks(f.mode));
    district.last.date.assign(date);
  }

  // A field whose length is wrong: its record is left out.
  void lengthProblem(std::size_t at, std::string_view name, std::string_view length, std::string_view outcome) {
    if (!problemAt_)
      problem(at, "the field " + std::string(name) + " declares " + std::string(head(length, 20)) + " bytes, " +
                      std::string(outcome), true);
  }

  // The first problem counts; what a later one would say is not even put together.
  void problem(std::size_t pos, std::string what, bool leavesOut = false) {
    if (problemAt_) return;
    problemAt_ = pos;
    problemWhat_ = std::move(what);
    problemLeavesOut_ = leavesOut;
  }

  std::string_view text_;
  WorkedLog& log_;
  Fields fields_;
  bool started_ = false;  // a record has fields, and no <EOR> yet
  bool broken_ = false;   // a field of the record ran past its <EOR>
  std::size_t recordStart_ = 0;
  std::size_t lastEnd_ = 0;  // after the last <EOR> or <EOH>
  bool sawHeaderEnd_ = false, sawRecordEnd_ = false;
  std::optional<std::size_t> problemAt_;
  std::string problemWhat_;
  bool problemLeavesOut_ = false;
};

const WorkedLog::District* WorkedLog::find(std::string_view district) const {
  const auto number = districtNumber(trimBlanks(district));
  if (!number || slots_.empty() || slots_[*number] == 0) return nullptr;
  return &districts_[slots_[*number] - 1u];
}

bool WorkedLog::worked(std::string_view district) const { return find(district) != nullptr; }

bool WorkedLog::workedOn(std::string_view district, Band band) const {
  const District* found = find(district);
  return found && (found->bands & bandBit(band)) != 0;
}

const WorkedQso* WorkedLog::lastQso(std::string_view district) const {
  const District* found = find(district);
  return found ? &found->last : nullptr;
}

WorkedLog readWorkedLog(std::string_view adif) {
  WorkedLog log;
  AdifReader(adif, log).read();
  return log;
}

WorkedLog loadWorkedLog(const std::string& fileName) {
  const FileBytes bytes = readRawFileBytes(fileName);
  return readWorkedLog(bytes.view());
}

std::string workedLogProblemText(const std::string& fileName, const AdifProblem& problem) {
  return "Worked log \"" + fileName + "\", line " + std::to_string(problem.line) + ": " + problem.what +
         (problem.recordLeftOut ? "; that record is left out, the rest of the log counts." : ".");
}

}  // namespace core
