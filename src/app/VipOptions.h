// The spot list's "Options" dialog: merging repeats, removing old rows, listing
// without the focus and the alert sound. OK takes only values that read right; a
// wrong one is named in the dialog, which stays open with what was typed.
#pragma once

#include <optional>

#include "core/spot_list_options.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/label.h"

class TOptions : public ui::Form {
 public:
  TOptions();

  ui::Label Label1, Label2;  // merge: before and after its field
  ui::Edit Edit1;            // MergeMinutes
  ui::Label Label3, Label4;  // age limit
  ui::Edit Edit2;            // MaxAgeMinutes
  ui::CheckBox CheckBox1;    // ListWithoutFocus
  ui::CheckBox CheckBox2;    // AlertSound
  ui::Edit Edit3;            // AlertSoundMinutes
  ui::Label Label6;          // after it
  ui::Label Label7;          // above the sound file's field
  ui::Edit Edit4;            // AlertSoundFile
  ui::Label Label5;          // what is wrong, in red
  ui::Button Button1;        // "OK"
  ui::Button Button2;        // "Cancel"

  // Opens with `options` and waits for the operator: true when OK took the fields,
  // and `options` then holds them.
  bool Execute(core::SpotListOptions& options);

  void Button1Click();
  void Button2Click();
  void FormKeyDown(WORD key, ui::ShiftState shift);  // Enter is OK, Escape Cancel

 private:
  // The options the fields give; nothing, with the first wrong field named and
  // focused, when one does not read right.
  std::optional<core::SpotListOptions> FieldValues();

  core::SpotListOptions chosen_;
};
