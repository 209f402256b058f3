// The spot list's "Options" dialog: merging repeats, removing old rows, listing
// without the focus and the alert sound. OK takes only values that read right; a
// wrong one is named in the dialog, which stays open with what was typed.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "app/Radio.h"
#include "app/ClusterIntake.h"
#include "core/spot_list_options.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/label.h"

// The options of the verdicts, the main window's: its worked log and judging by band.
struct VerdictOptions {
  std::wstring workedLog;
  bool bandVerdict = false;
};

class TOptions : public ui::Form {
 public:
  TOptions();

  // Opens with the options and waits for the operator: true when OK took the
  // fields, and the options then hold them.
  bool Execute(core::SpotListOptions& options, VerdictOptions& verdicts);
  // The radio's way and address: shown when the dialog opens, what OK took after.
  RadioSettings RadioChoice;
  // The DX cluster's settings the dialog opens with, and those OK took.
  void SetCluster(const ClusterSettings& settings) { cluster_ = settings; }
  const ClusterSettings& Cluster() const { return cluster_; }

  // What the operator types and ticks, and what the dialog says of it.
  enum class Field {
    Merge, Age, SoundMinutes, SoundFile, SkimmerAge, WorkedLog, RigHost, RigPort,
    ClusterHost, ClusterPort, ClusterCall, ClusterPassword, ClusterCommands, ClusterBacklog
  };
  enum class Box { WithoutFocus, Sound, ByBand, Rigctld };
  std::string FieldText(Field field) const { return fieldOf(field).text(); }
  void TypeInto(Field field, const std::string& text) { fieldOf(field).setText(text); }
  void TypeInto(Field field, const std::wstring& text) { fieldOf(field).setWideText(text); }
  bool Checked(Box box) const { return boxOf(box).checked(); }
  void SetChecked(Box box, bool on) { const_cast<ui::CheckBox&>(boxOf(box)).setChecked(on); }
  std::string ProblemText() const { return Problem.caption(); }
  HWND ProblemWindow() const { return Problem.handle(); }

  void OkClick();
  void CancelClick();
  // The Browse buttons beside the sound file and the worked log.
  void BrowseSoundClick();
  void BrowseLogClick();
  void FormKeyDown(WORD key, ui::ShiftState shift);  // Enter is OK, Escape Cancel

 private:
  const ui::Edit& fieldOf(Field field) const;
  const ui::CheckBox& boxOf(Box box) const {
    return box == Box::Sound ? SoundBox : box == Box::ByBand ? BandBox : box == Box::Rigctld ? RigBox : WithoutFocusBox;
  }
  ui::Edit& fieldOf(Field field) { return const_cast<ui::Edit&>(std::as_const(*this).fieldOf(field)); }

  ui::Label MergeLabel, MergeUnit;
  ui::Edit MergeField;  // MergeMinutes
  ui::Label AgeLabel, AgeUnit;
  ui::Edit AgeField;  // MaxAgeMinutes
  ui::Label SkimmerAgeLabel, SkimmerAgeUnit;
  ui::Edit SkimmerAgeField;  // MaxAgeSkimmerMinutes
  ui::CheckBox WithoutFocusBox;  // ListWithoutFocus
  ui::CheckBox SoundBox;         // AlertSound
  ui::Edit SoundMinutesField;    // AlertSoundMinutes
  ui::Label SoundMinutesUnit;
  ui::Label SoundFileLabel;
  ui::Edit SoundFileField;  // AlertSoundFile
  ui::Label WorkedLogLabel;
  ui::Edit WorkedLogField;  // WorkedLog
  ui::CheckBox BandBox;     // BandVerdict
  ui::CheckBox RigBox;      // Radio: rigctld, else Logger32
  ui::Label RigHostLabel, RigPortLabel;
  ui::Edit RigHostField;  // RigHost
  ui::Edit RigPortField;  // RigPort
  ui::Button BrowseSound, BrowseLog;
  // The DX cluster of the program's own.
  ui::Label ClusterLabel, HostLabel, PortLabel, CallLabel, PasswordLabel, CommandsLabel, BacklogLabel, BacklogUnit;
  ui::Edit HostField, PortField, CallField, PasswordField, CommandsField, BacklogField;
  ui::Label Problem;        // what is wrong, in red
  ui::Button OkButton;
  ui::Button CancelButton;

  // The options the fields give; nothing, with the first wrong field named and
  // focused, when one does not read right.
  std::optional<core::SpotListOptions> FieldValues();
  std::optional<RadioSettings> RadioValues();

  // The cluster's settings the fields give; nothing, the wrong field named, when one
  // does not read right.
  std::optional<ClusterSettings> ClusterValues();

  core::SpotListOptions chosen_;
  RadioSettings chosenRadio_;
  ClusterSettings cluster_;
};
