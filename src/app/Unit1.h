// The main window: callsign and district fields, the reference files, the lookup
// and the confirmation verdict.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/Texts.h"
#include "app/held_list.h"
#include "core/spot.h"
#include "core/text_file.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/list_box.h"
#include "ui/popup_menu.h"
#include "ui/status_bar.h"

// Raised by a watch-list match and by a new district, cleared by every
// confirmation check; the link window blinks the main window while it is 1.
extern std::uint8_t AlertFlag;

class TForm1 : public ui::Form {
 public:
  TForm1();
  ~TForm1() override;

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

  // Window events.
  void FormActivate();
  void FormClose(ui::CloseAction& action);
  void FormKeyDown(WORD key, ui::ShiftState shift);
  void Setup1Click();
  void ShowVip1Click();
  void Progress1Click();
  void StartSetup();

  // What the other windows ask of this one.
  // "L32": spots from Logger32 reach the callsign field.
  bool TakesSpots() const { return CheckBox1.checked(); }
  // A spot's callsign into the callsign field (the lookup runs when it changes).
  void PutSpotCallsign(const std::string& call);
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
  void AlertListing(core::SpotOrigin origin);
  void fitDistrictField();

  // The district list as the running lookup read it: read at its first check and
  // used for the others, so that one lookup reads the file once. A lookup nested in
  // another (from an error box's loop) has a reading of its own.
  struct DistrictReading {
    std::shared_ptr<const core::FileBytes> bytes;
  };
  DistrictReading* lookupDistricts_ = nullptr;
  std::shared_ptr<const core::FileBytes> DistrictList();
  // The district the last verdict judged, and the one a listing names: the district
  // field's text, or the successor of the deleted district it holds.
  std::string judged_;
  // The districts the callbook makes valid today, when there is more than one.
  std::string callbookNote_;
  // The lookup running now was started by a spot from Logger32, not by the
  // operator's typing.
  bool spotLookup_ = false;
};

extern TForm1* Form1;
