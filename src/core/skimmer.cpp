#include "core/skimmer.h"

#include <string>

#include "core/spot_record.h"
#include "core/text.h"

namespace core {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Reads over the comment from the front, one piece of the skimmer form at a time.
class Reader {
 public:
  explicit Reader(std::string_view s) : s_(s) {}

  // At least one blank, then none more.
  bool blanks() {
    const std::size_t start = i_;
    while (i_ < s_.size() && s_[i_] == ' ') ++i_;
    return i_ > start;
  }
  // from..to digits.
  bool digits(std::size_t from, std::size_t to) {
    std::size_t n = 0;
    while (i_ < s_.size() && isDigit(s_[i_])) ++i_, ++n;
    return n >= from && n <= to;
  }
  bool sign() {
    if (i_ < s_.size() && (s_[i_] == '-' || s_[i_] == '+')) ++i_;
    return true;
  }
  bool word(std::string_view w) {
    if (!equalNoCase(s_.substr(i_, w.size()), w)) return false;
    i_ += w.size();
    return true;
  }
  bool wordEnds() const { return i_ == s_.size() || s_[i_] == ' '; }
  // A mode such as "CW" or "PSK31" and the blanks after it, or nothing at all.
  void mode() {
    std::size_t end = i_;
    if (end < s_.size() && isLetter(s_[end]))
      while (end < s_.size() && (isLetter(s_[end]) || isDigit(s_[end]))) ++end;
    if (end == i_ || end - i_ > 6 || end == s_.size() || s_[end] != ' ') return;
    i_ = end;
    blanks();
  }

 private:
  std::string_view s_;
  std::size_t i_ = 0;
};

}  // namespace

bool isSkimmerSpotter(std::string_view spotter) {
  spotter = trimBlanks(spotter);
  return spotter.size() > 2 && spotter.ends_with("-#");
}

bool isSkimmerComment(std::string_view comment) {
  Reader r(comment);
  r.blanks();
  r.mode();
  return r.sign() && r.digits(1, 2) && r.blanks() && r.word("DB") && r.blanks() && r.digits(1, 3) && r.blanks() &&
         (r.word("WPM") || r.word("BPS")) && r.wordEnds();
}

bool isSkimmerSpot(std::string_view record) {
  std::string spotter, comment;
  findSpotter(record, spotter);
  if (isSkimmerSpotter(spotter)) return true;
  findComent(record, comment);
  return isSkimmerComment(comment);
}

}  // namespace core
