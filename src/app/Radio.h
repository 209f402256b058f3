// The radio, as the spot list, its frequency panel and the click sequence see it:
// tune to a spot (its frequency, a mode fitting it, then its district), tune to the
// panel's frequency in CW or SSB, and report the radio's frequency. Two ways lead to
// it: Logger32's text commands (the link window's command queue), or Hamlib's rig
// daemon rigctld over TCP; the setting `Radio` chooses.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct RadioSettings {
  enum class Way { Logger32, Rigctld };
  Way way = Way::Logger32;
  std::string host = "127.0.0.1";
  int port = 4532;
  bool operator==(const RadioSettings&) const = default;
};
// The settings' spelling of the way: "Logger32" or "rigctld" (any case); any other
// text is Logger32.
RadioSettings::Way radioWayOf(const std::string& text);
const char* radioWayName(RadioSettings::Way way);

// A spot row as the operator pressed it.
struct SpotTune {
  std::string freq, call, rda;
  std::string comment;  // the spot's comment when known: "CW" there means CW
};

class Radio {
 public:
  virtual ~Radio() = default;
  // A row click: the frequency, the mode, and the district (where the radio's
  // program keeps a log). A repeat of the tune just asked for (a double click) is
  // dropped.
  virtual void TuneToSpot(const SpotTune& spot) = 0;
  // The frequency panel's CW and SSB buttons, with the frequency text it shows.
  enum class Button { CW, SSB };
  virtual void TuneWithMode(const std::string& qrg, Button button) = 0;
  // Commands are out or waiting: what the operator asks for meanwhile (a menu, a
  // dialog) comes after them.
  virtual bool Busy() const = 0;
};

// The radio of the settings; Logger32's until the settings say otherwise.
Radio& TheRadio();
RadioSettings CurrentRadioSettings();
// Makes the radio of these settings the one in use (a new connection when they
// changed; the same one when not).
void UseRadio(const RadioSettings& settings);
// Ends the connection of its own, if any: what waits is dropped, nothing more goes
// out (the program closes).
void StopRadio();

// The comments of the spots taken in lately, for the mode of a row clicked later (a
// row keeps its callsign and frequency, not its comment): the newest spot of that
// callsign on that frequency counts; empty when none is remembered.
void NoteSpotComment(const std::string& call, const std::string& freq, const std::string& comment);
std::string SpotComment(const std::string& call, const std::string& freq);

// The radio's frequency in Hz as one way reports it, for the frequency panel and the
// title: the panel's text, and "Check CAT" in the title when it is 0. A report of the
// way not in use is not shown (Logger32 may still run beside rigctld).
void ReportFrequency(std::uint64_t hz, RadioSettings::Way from);
// Something the radio's side has to say goes into the main window's title.
void RadioStatus(const std::string& text);

// What the title says of the daemon's connection.
namespace texts {
inline const char* const kNoRadioAnswer = "No answer from the radio";
inline std::string radioConnected(const std::string& address) { return "Connected rigctld " + address; }
inline std::string radioDown(const std::string& address, const std::string& why) {
  return "No rigctld at " + address + " (" + why + ")";
}
inline std::string radioProblem(const std::string& reason) { return "Radio: " + reason; }
}  // namespace texts
