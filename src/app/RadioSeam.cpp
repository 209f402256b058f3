// The radio in use, and Logger32's way to it: the link window's command queue.
#include <algorithm>
#include <deque>
#include <limits>

#include "app/Radio.h"
#include "app/RigctlRadio.h"
#include "app/Texts.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/VipU.h"
#include "core/link_texts.h"
#include "core/text.h"

namespace {

// Logger32 tunes: a click command and, after its pause, the district; the mode
// buttons' commands alone.
class Logger32Radio : public Radio {
 public:
  void TuneToSpot(const SpotTune& spot) override {
    if (!Form2) return;
    // A second press of the same row (a double click) is not sent again.
    Form2->Send({core::spotClickCommand(spot.freq, spot.call),
                 spot.rda.empty() ? std::string() : core::spotDistrictCommand(spot.rda)},
                /*dropRepeat=*/true);
  }
  void TuneWithMode(const std::string& qrg, Button button) override {
    if (Form2) Form2->Send({button == Button::CW ? core::cwCommand(qrg) : core::ssbCommand(qrg), {}});
  }
  bool Busy() const override { return Form2 && Form2->Busy(); }
};

// The last spots' comments, newest last; a contest evening's minutes of spots.
struct NotedComment {
  std::string call, freq, comment;
};
constexpr std::size_t kNotedComments = 1000;
std::deque<NotedComment>& notedComments() {
  static std::deque<NotedComment> noted;
  return noted;
}

struct InUse {
  RadioSettings settings;
  std::unique_ptr<Radio> radio;
};
InUse& inUse() {
  static InUse current;
  return current;
}

}  // namespace

RadioSettings::Way radioWayOf(const std::string& text) {
  return core::equalNoCase(core::trimBlanks(text), "rigctld") ? RadioSettings::Way::Rigctld
                                                               : RadioSettings::Way::Logger32;
}

const char* radioWayName(RadioSettings::Way way) { return way == RadioSettings::Way::Rigctld ? "rigctld" : "Logger32"; }

Radio& TheRadio() {
  InUse& current = inUse();
  if (!current.radio) current.radio = std::make_unique<Logger32Radio>();
  return *current.radio;
}

RadioSettings CurrentRadioSettings() { return inUse().settings; }

void UseRadio(const RadioSettings& settings) {
  InUse& current = inUse();
  if (current.radio && current.settings == settings) return;
  // The old connection ends before the new one starts: one program per daemon.
  current.radio.reset();
  current.settings = settings;
  if (settings.way == RadioSettings::Way::Rigctld)
    current.radio = std::make_unique<RigctlRadio>(settings.host, settings.port);
  else
    current.radio = std::make_unique<Logger32Radio>();
}

void StopRadio() {
  InUse& current = inUse();
  current.radio.reset();
  current.settings = {};
}

void NoteSpotComment(const std::string& call, const std::string& freq, const std::string& comment) {
  auto& noted = notedComments();
  if (noted.size() == kNotedComments) noted.pop_front();
  noted.push_back({call, freq, comment});
}

std::string SpotComment(const std::string& call, const std::string& freq) {
  const auto& noted = notedComments();
  for (auto it = noted.rbegin(); it != noted.rend(); ++it)
    if (it->call == call && it->freq == freq) return it->comment;
  return {};
}

void ReportFrequency(std::uint64_t hz, RadioSettings::Way from) {
  if (from != inUse().settings.way) return;
  const auto shown = std::uint32_t(std::min<std::uint64_t>(hz, std::numeric_limits<std::uint32_t>::max()));
  if (Vip) Vip->ShowFrequency(core::frequencyText(shown));
  if (hz == 0) RadioStatus(texts::kCheckCat);
}

void RadioStatus(const std::string& text) {
  if (Form1 && Form1->caption() != text) Form1->setCaption(text);
}
