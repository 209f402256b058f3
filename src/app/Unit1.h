// The main window: callsign and district fields, the reference files, the lookup
// and the confirmation verdict.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Texts.h"
#include "app/held_list.h"
#include "core/worked_log_file.h"
#include "core/band.h"
#include "core/file_cache.h"
#include "core/palette.h"
#include "core/spot.h"
#include "core/text_file.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/list_box.h"
#include "ui/popup_menu.h"
#include "ui/speech.h"
#include "ui/status_bar.h"
#include "ui/timer.h"

// Raised by a watch-list match and by a new district, cleared by every
// confirmation check; the link window blinks the main window while it is 1.
extern std::uint8_t AlertFlag;

class TForm1 : public ui::Form {
 public:
  TForm1();
  ~TForm1() override;

  // What the operator does here.
  void EnterCallsign(const std::string& text) { Edit1.setText(text); }  // the lookup runs when it changes
  void ClearCallsign() { Edit1.clear(); }                               // always a change
  void EnterDistrict(const std::string& text) { Edit2.setText(text); }  // the verdict runs when it changes
  void ClearDistrict() { Edit2.clear(); }
  void SetTakesSpots(bool on) { CheckBox1.setChecked(on); }
  void FocusCallsign() { Edit1.setFocus(); }
  void FocusDistrict() { Edit2.setFocus(); }

  // What the window shows.
  std::string Callsign() const { return Edit1.text(); }
  std::string District() const { return Edit2.text(); }
  bool CallsignFocused() const { return Edit1.focused(); }
  bool VerdictShown() const { return StatusBar1.visible(); }
  std::string VerdictText() const { return StatusBar1.panelText(); }
  core::Color VerdictColor() const { return StatusBar1.color(); }
  bool ConfirmingListShown() const { return ListBox1.visible(); }
  int ConfirmingListHeight() const { return ListBox1.height(); }
  std::vector<std::string> ConfirmingList() const;
  // Where each part lies in the client area, for what the screen shows there.
  enum class Part { Callsign, District, TakesSpots, ConfirmingList, VerdictBar };
  RECT PartRect(Part part) const;
  // Each run of the lookup and of the verdict, as it begins (with the callsign
  // field's or the district field's text): for whoever follows what the window does.
  std::function<void(const std::string& callsign)> OnLookup;
  std::function<void(const std::string& district)> OnVerdict;
  // The blinking is driven by its handler alone (for tests that look at colours).
  void StopBlinking() { Timer1.setInterval(0); }
  // The last verdict shown.
  core::Verdict LastVerdict() const { return verdict_; }

  // The verdicts beyond confirmed and new (settings of the spot list's file): the
  // operator's log as Logger32 exports it (ADIF; empty: none), whose districts
  // worked but not confirmed get a verdict of their own; and judging spots by band
  // where the confirmations say on which bands they are.
  void SetWorkedLog(const std::wstring& fileName);
  const std::wstring& WorkedLogName() const { return workedLogName_; }
  void SetBandVerdict(bool on) { bandVerdict_ = on; }
  // Spots from Logger32 that raise the alert are spoken: "New RDA" and the district.
  void SetSpeakAlerts(bool on) { speakAlerts_ = on; }
  bool SpeakAlerts() const { return speakAlerts_; }
  ui::Speech Speech;
  // The colours the verdict is shown in.
  void SetPalette(core::Palette palette);
  core::Palette Palette() const { return palette_; }
  bool BandVerdict() const { return bandVerdict_; }
  // The log is read again when it changed, at most this often (Logger32 appends to
  // its export while it runs).
  static constexpr ULONGLONG kWorkedLogCheckMs = 2000;
  // Under a flood of spots the window shows the latest verdict at most this often
  // (a verdict a person can read); at a human pace every spot at once.
  static constexpr int kDrawPaceMs = 200;

  // Window events.
  void FormActivate();
  // Every 200 ms: while the alert is raised the window blinks red.
  void Timer1Timer();
  void FormClose(ui::CloseAction& action);
  void FormKeyDown(WORD key, ui::ShiftState shift);
  void Setup1Click();
  void ShowVip1Click();
  void Progress1Click();
  void StartSetup();

  // What the other windows ask of this one.
  // "L32": spots from Logger32 reach the callsign field.
  bool TakesSpots() const { return CheckBox1.checked(); }
  // A spot from Logger32, its record read once by the link window. It is the last
  // spot from now on: a typed callsign is listed with its frequency and time, and
  // reads its comment when it is that station. With "L32" ticked (and a Russian
  // station, while the spot list takes only those) its callsign goes into the
  // callsign field and is looked up with the spot's own fields; while the spot list
  // merges repeats, a repeat of the callsign in the field is looked up again.
  void TakeSpot(const core::Spot& spot);
  // The window's place, as the settings keep it.
  void PlaceAt(int left, int top) { setBounds(left, top, width(), height()); }
  // The confirmations counted afresh: the title shows "CFM-" and the count, which
  // is returned too.
  std::string CountConfirmations();

  // The lookup, run at every change of Edit1.
  void Button1Click();
  void CallBook();
  // The verdict, run at every change of Edit2.
  void Edit2Change();
  void WRKCFM();

  // Reference files. A loaded list belongs to the operation that loaded it (see
  // HeldList); CfmList and LookList name the list of the innermost operation
  // running, empty when none holds one.
  core::SharedTextList F2Load();
  core::SharedTextList F4Load();
  std::string Cnt();
  bool Raion(const std::string& code);

  core::SharedTextList CfmList;   // confirmations, sorted
  core::SharedTextList LookList;  // watch list

 private:
  ui::Edit Edit1;          // callsign field
  ui::Edit Edit2;          // district field
  ui::Button Button1;      // hidden; its click is the lookup
  ui::ListBox ListBox1;    // the confirming line
  ui::CheckBox CheckBox1;  // "L32": spots from Logger32 reach Edit1
  ui::StatusBar StatusBar1;
  ui::PopupMenu PopupMenu1;
  ui::MenuItem Setup1;
  ui::MenuItem ShowVip1;
  ui::MenuItem Progress1;

  void AlertListing(core::SpotOrigin origin, const core::Spot& spot);
  // The worked log as it is now: read again when its size or time changed (see
  // core::WorkedLogFile: a log caught while Logger32 writes it leaves the last
  // whole version in force); a problem is named in one box, once.
  const core::WorkedLog* WorkedLog();
  void ShowVerdict(core::Verdict verdict, const std::string& text);
  // The palette as shown: the system's colours while Windows is in high contrast.
  core::Palette ShownPalette() const;
  void fitDistrictField();

  std::shared_ptr<const core::FileBytes> DistrictList();
  // The district the last verdict judged, and the one a listing names: the district
  // field's text, or the successor of the deleted district it holds.
  std::string judged_;
  core::Verdict verdict_ = core::Verdict::None;
  // The band of the spot the running lookup judges; none for a typed callsign or
  // district.
  core::Band lookupBand_ = core::Band::None;
  // The running lookup raised the alert itself: its last verdict said new, or the
  // watch list matched. Only then is its spot listed.
  bool lookupAlert_ = false;
  std::wstring workedLogName_;
  bool bandVerdict_ = false;
  bool speakAlerts_ = false;
  core::Palette palette_ = core::Palette::Described;
  std::optional<core::WorkedLogFile> workedLogFile_;
  std::optional<ULONGLONG> workedLogChecked_;  // the last look at the file
  // The districts the callbook makes valid today, when there is more than one.
  std::string callbookNote_;
  // The last spot received, and the one handed to the lookup that its callsign
  // starts (taken by that lookup at its start).
  core::Spot lastSpot_;
  std::optional<core::Spot> spotForLookup_;
  // The blinking while the alert is raised.
  ui::Timer Timer1;
  int BlinkCount = 0;
};

extern TForm1* Form1;
