// The options dialog, and the options' keys in the settings file.
#include "app/VipOptions.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

#include "app/Unit1.h"
#include "app/VipU.h"
#include "core/ini_values.h"
#include "core/text.h"
#include "ui/file_dialog.h"
#include "ui/text.h"

namespace {

constexpr int kWidth = 420, kFieldLeft = 236, kMinutesWidth = 44, kUnitLeft = 288;
constexpr int kLine = 28;  // from one option's line to the next
constexpr int kBrowseWidth = 75;

const std::string kMinutesError = "whole minutes from 0 to " + std::to_string(core::kMaxOptionMinutes) + ", please";
// The Browse buttons' kinds of file: names and patterns, each ended by a NUL.
constexpr wchar_t kSoundFiles[] = L"Sounds (*.wav)\0*.wav\0All files\0*.*\0";
constexpr wchar_t kLogFiles[] = L"ADIF logs (*.adi, *.adif)\0*.adi;*.adif\0All files\0*.*\0";
template <std::size_t N>
constexpr std::wstring_view filterOf(const wchar_t (&filter)[N]) {
  return {filter, N - 1};
}

const std::string kFileNameError = "the settings file cannot keep this name; rename the file or its folder";

}  // namespace

TOptions::TOptions() {
  create({.className = "TOptions",
          .caption = "Options",
          .width = kWidth,
          .height = 360,
          .border = ui::BorderStyle::Dialog,
          .stayOnTop = true});
  struct Line {
    ui::Label& before;
    ui::Edit& field;
    ui::Label& after;
    int top;
    const char* text;
    const char* unit;
  };
  for (const Line& l : {Line{MergeLabel, MergeField, MergeUnit, 12, "Merge a station's repeats within", "min (0: off)"},
                        Line{AgeLabel, AgeField, AgeUnit, 12 + kLine, "Remove spots older than", "min (0: off)"},
                        Line{SkimmerAgeLabel, SkimmerAgeField, SkimmerAgeUnit, 12 + 2 * kLine,
                             "Remove skimmers' spots older than", "min (0: as above)"}}) {
    l.before.create(this, 10, l.top + 3, kFieldLeft - 14, 16, l.text);
    l.field.create(this, kFieldLeft, l.top, kMinutesWidth, 21);
    l.after.create(this, kUnitLeft, l.top + 3, kWidth - kUnitLeft - 6, 16, l.unit);
  }
  WithoutFocusBox.create(this, 10, 12 + 3 * kLine, kWidth - 20, 20, "List spots without taking the focus");
  SoundBox.create(this, 10, 12 + 4 * kLine, kFieldLeft - 14, 20, "Alert sound, once per district in");
  SoundMinutesField.create(this, kFieldLeft, 12 + 4 * kLine, kMinutesWidth, 21);
  SoundMinutesUnit.create(this, kUnitLeft, 15 + 4 * kLine, kWidth - kUnitLeft - 6, 16, "min");
  SoundFileLabel.create(this, 10, 15 + 5 * kLine, kWidth - 20, 16, "Sound file (empty: the system's exclamation sound)");
  SoundFileField.create(this, 10, 34 + 5 * kLine, kWidth - 20 - kBrowseWidth - 6, 21);
  BrowseSound.create(this, kWidth - 10 - kBrowseWidth, 33 + 5 * kLine, kBrowseWidth, 23, "Browse...");
  const int logTop = 34 + 6 * kLine;
  WorkedLogLabel.create(this, 10, logTop, kWidth - 20, 16, "Worked log: Logger32's ADIF export (empty: none)");
  WorkedLogField.create(this, 10, logTop + 19, kWidth - 20 - kBrowseWidth - 6, 21);
  BrowseLog.create(this, kWidth - 10 - kBrowseWidth, logTop + 18, kBrowseWidth, 23, "Browse...");
  BandBox.create(this, 10, logTop + 19 + kLine, kWidth - 20, 20, "Judge spots by band: \"New band RDA\"");
  // The radio: Logger32's commands, or Hamlib's rigctld at an address.
  const int rigTop = logTop + 19 + 2 * kLine;
  RigBox.create(this, 10, rigTop, kWidth - 20, 20, "Tune the radio through rigctld (else through Logger32)");
  RigHostLabel.create(this, 28, rigTop + kLine + 3, 34, 16, "Host");
  RigHostField.create(this, 64, rigTop + kLine, 180, 21);
  RigPortLabel.create(this, 256, rigTop + kLine + 3, 30, 16, "Port");
  RigPortField.create(this, kUnitLeft, rigTop + kLine, 60, 21);
  // The DX cluster: two fields a line, each after its name.
  const int clusterTop = rigTop + 2 * kLine;
  ClusterLabel.create(this, 10, clusterTop + 3, kWidth - 20, 16, "DX cluster of its own (empty host: none)");
  struct Pair {
    ui::Label& label;
    ui::Edit& field;
    int left, labelWidth, fieldWidth, line;
    const char* text;
  };
  const int half = kWidth / 2 + 10;
  // The names of the left column as wide as "Commands" needs.
  constexpr int kNames = 72;
  for (const Pair& p : {Pair{HostLabel, HostField, 10, kNames, half - 26 - kNames, 1, "Host"},
                        Pair{PortLabel, PortField, half, 66, 60, 1, "Port"},
                        Pair{CallLabel, CallField, 10, kNames, half - 26 - kNames, 2, "Call"},
                        Pair{PasswordLabel, PasswordField, half, 66, kWidth - half - 76, 2, "Password"},
                        Pair{CommandsLabel, CommandsField, 10, kNames, kWidth - 20 - kNames, 3, "Commands"},
                        Pair{BacklogLabel, BacklogField, 10, kNames, kMinutesWidth, 4, "Backlog"}}) {
    const int top = clusterTop + p.line * kLine - 6;
    p.label.create(this, p.left, top + 3, p.labelWidth - 4, 16, p.text);
    p.field.create(this, p.left + p.labelWidth, top, p.fieldWidth, 21);
  }
  BacklogUnit.create(this, 10 + kNames + kMinutesWidth + 8, clusterTop + 4 * kLine - 3,
                     kWidth - 30 - kNames - kMinutesWidth, 16, "spots asked for at login (0: none)");
  SendMessageW(PasswordField.handle(), EM_SETPASSWORDCHAR, WPARAM(L'*'), 0);
  const int problemTop = clusterTop + 5 * kLine - 6;
  Problem.create(this, 10, problemTop, kWidth - 20, 16, "");
  ui::Font warning = font();
  warning.color = core::clRed;
  Problem.setFont(warning);
  for (ui::Label* label : {&MergeLabel, &MergeUnit, &AgeLabel, &AgeUnit, &SkimmerAgeLabel, &SkimmerAgeUnit, &Problem,
                           &SoundMinutesUnit, &SoundFileLabel, &WorkedLogLabel, &RigHostLabel, &RigPortLabel,
                           &ClusterLabel, &HostLabel, &PortLabel, &CallLabel, &PasswordLabel, &CommandsLabel,
                           &BacklogLabel, &BacklogUnit})
    label->setCentred(false);
  OkButton.create(this, kWidth - 170, problemTop + 22, 75, 25, "OK");
  CancelButton.create(this, kWidth - 85, problemTop + 22, 75, 25, "Cancel");
  setClientSize(kWidth, problemTop + 22 + 36);

  OkButton.OnClick = [this] { OkClick(); };
  CancelButton.OnClick = [this] { CancelClick(); };
  BrowseSound.OnClick = [this] { BrowseSoundClick(); };
  BrowseLog.OnClick = [this] { BrowseLogClick(); };
  setKeyPreview(true);
  OnKeyDown = [this](WORD key, ui::ShiftState shift) { FormKeyDown(key, shift); };
}

bool TOptions::Execute(core::SpotListOptions& options, VerdictOptions& verdicts) {
  MergeField.setText(core::iniText(std::int32_t(options.MergeMinutes)));
  AgeField.setText(core::iniText(std::int32_t(options.MaxAgeMinutes)));
  SkimmerAgeField.setText(core::iniText(std::int32_t(options.MaxAgeSkimmerMinutes)));
  WithoutFocusBox.setChecked(options.ListWithoutFocus);
  SoundBox.setChecked(options.AlertSound);
  SoundMinutesField.setText(core::iniText(std::int32_t(options.AlertSoundMinutes)));
  SoundFileField.setWideText(options.AlertSoundFile);
  WorkedLogField.setWideText(verdicts.workedLog);
  BandBox.setChecked(verdicts.bandVerdict);
  RigBox.setChecked(RadioChoice.way == RadioSettings::Way::Rigctld);
  RigHostField.setText(RadioChoice.host);
  RigPortField.setText(core::iniText(std::int32_t(RadioChoice.port)));
  HostField.setText(cluster_.host);
  PortField.setText(std::to_string(cluster_.port));
  CallField.setText(cluster_.call);
  PasswordField.setText(cluster_.password);
  CommandsField.setText(cluster_.commands);
  BacklogField.setText(std::to_string(cluster_.backlog));
  Problem.setCaption("");
  if (showModal() != IDOK) return false;
  options = chosen_;
  RadioChoice = chosenRadio_;
  verdicts = {WorkedLogField.wideText(), BandBox.checked()};
  return true;
}

const ui::Edit& TOptions::fieldOf(Field field) const {
  const ui::Edit* const fields[] = {&MergeField,      &AgeField,       &SoundMinutesField, &SoundFileField,
                                    &SkimmerAgeField, &WorkedLogField, &RigHostField,      &RigPortField,
                                    &HostField,       &PortField,      &CallField,         &PasswordField,
                                    &CommandsField,   &BacklogField};
  return *fields[int(field)];
}

std::optional<core::SpotListOptions> TOptions::FieldValues() {
  core::SpotListOptions options;
  struct Minutes {
    ui::Edit& field;
    int& value;
    const char* name;
  };
  for (const Minutes& m : {Minutes{MergeField, options.MergeMinutes, "Merge"}, Minutes{AgeField, options.MaxAgeMinutes, "Age"},
                           Minutes{SkimmerAgeField, options.MaxAgeSkimmerMinutes, "Skimmers' age"},
                           Minutes{SoundMinutesField, options.AlertSoundMinutes, "Sound"}}) {
    const auto value = core::parseOptionMinutes(m.field.text());
    if (!value) {
      Problem.setCaption(std::string(m.name) + ": " + kMinutesError);
      m.field.setFocus();
      SendMessageW(m.field.handle(), EM_SETSEL, 0, -1);
      return std::nullopt;
    }
    m.value = *value;
  }
  // The names go to the system as typed; the settings file must be able to keep
  // them too.
  for (const auto& [field, name] : {std::pair{&SoundFileField, "Sound file"}, std::pair{&WorkedLogField, "Worked log"}})
    if (!field->wideText().empty() && !ui::cp1251FileName(field->wideText())) {
      Problem.setCaption(std::string(name) + ": " + kFileNameError);
      field->setFocus();
      SendMessageW(field->handle(), EM_SETSEL, 0, -1);
      return std::nullopt;
    }
  options.ListWithoutFocus = WithoutFocusBox.checked();
  options.AlertSound = SoundBox.checked();
  options.AlertSoundFile = SoundFileField.wideText();
  return options;
}

std::optional<RadioSettings> TOptions::RadioValues() {
  RadioSettings radio;
  radio.way = RigBox.checked() ? RadioSettings::Way::Rigctld : RadioSettings::Way::Logger32;
  radio.host = std::string(core::trimBlanks(RigHostField.text()));
  const std::string port(core::trimBlanks(RigPortField.text()));
  const bool portRight = !port.empty() && port.size() <= 5 && port.find_first_not_of("0123456789") == std::string::npos &&
                         std::stoi(port) >= 1 && std::stoi(port) <= 65535;
  ui::Edit* wrong = radio.host.empty() || radio.host.find_first_of(" \t") != std::string::npos ? &RigHostField
                    : !portRight                                                                 ? &RigPortField
                                                                                                 : nullptr;
  if (!wrong) {
    radio.port = std::stoi(port);
    return radio;
  }
  Problem.setCaption(wrong == &RigHostField ? "Radio host: a name or an address, please"
                                            : "Radio port: a number from 1 to 65535, please");
  wrong->setFocus();
  SendMessageW(wrong->handle(), EM_SETSEL, 0, -1);
  return std::nullopt;
}

std::optional<ClusterSettings> TOptions::ClusterValues() {
  ClusterSettings settings = cluster_;
  struct Number {
    ui::Edit& field;
    int& value;
    int low, high;
    const char* problem;
  };
  for (const Number& n : {Number{PortField, settings.port, 1, 65535, "Port: a number from 1 to 65535, please"},
                          Number{BacklogField, settings.backlog, 0, 500, "Backlog: a number from 0 to 500, please"}}) {
    const auto value = core::parseIniInteger(core::trimBlanks(n.field.text()));
    if (!value || *value < n.low || *value > n.high) {
      Problem.setCaption(n.problem);
      n.field.setFocus();
      SendMessageW(n.field.handle(), EM_SETSEL, 0, -1);
      return std::nullopt;
    }
    n.value = *value;
  }
  settings.host = std::string(core::trimBlanks(HostField.text()));
  settings.call = std::string(core::trimBlanks(CallField.text()));
  settings.password = PasswordField.text();
  settings.commands = CommandsField.text();
  return settings;
}

void TOptions::OkClick() {
  const auto options = FieldValues();
  if (!options) return;
  const auto radio = RadioValues();
  if (!radio) return;
  const auto cluster = ClusterValues();
  if (!cluster) return;
  chosen_ = *options;
  chosenRadio_ = *radio;
  cluster_ = *cluster;
  setModalResult(IDOK);
}

void TOptions::BrowseSoundClick() {
  if (const auto name = ui::chooseFile(handle(), SoundFileField.wideText(), filterOf(kSoundFiles)))
    SoundFileField.setWideText(*name);
}

void TOptions::BrowseLogClick() {
  if (const auto name = ui::chooseFile(handle(), WorkedLogField.wideText(), filterOf(kLogFiles)))
    WorkedLogField.setWideText(*name);
}

void TOptions::CancelClick() { setModalResult(IDCANCEL); }

void TOptions::FormKeyDown(WORD key, ui::ShiftState) {
  if (key == VK_RETURN) OkClick();
  if (key == VK_ESCAPE) CancelClick();
}

void TVip::Options1Click() {
  if (!OptionsDialog) OptionsDialog = std::make_unique<TOptions>();
  OptionsDialog->setBounds(left() + 12, top() + 40, OptionsDialog->width(), OptionsDialog->height());
  core::SpotListOptions chosen = ContestOptions;
  VerdictOptions verdicts{Form1 ? Form1->WorkedLogName() : std::wstring(), Form1 && Form1->BandVerdict()};
  OptionsDialog->RadioChoice = CurrentRadioSettings();
  OptionsDialog->SetCluster(ClusterOptions);
  if (!OptionsDialog->Execute(chosen, verdicts)) return;
  ContestOptions = chosen;
  UseRadio(OptionsDialog->RadioChoice);
  // OK connects afresh with what the fields hold: after a refusal too, the operator
  // asked.
  ClusterOptions = OptionsDialog->Cluster();
  if (::Cluster) ::Cluster->Start(ClusterOptions, MyCall());
  if (Form1) {
    if (verdicts.workedLog != Form1->WorkedLogName()) Form1->SetWorkedLog(verdicts.workedLog);
    Form1->SetBandVerdict(verdicts.bandVerdict);
  }
  ApplyOptions();
  WriteParams();
}
