// The options dialog, and the options' keys in the settings file.
#include "app/VipOptions.h"

#include <cstdint>
#include <stdexcept>
#include <string>

#include "app/VipU.h"
#include "core/ini_values.h"

namespace {

constexpr int kWidth = 380, kFieldLeft = 236, kMinutesWidth = 44, kUnitLeft = 288;
constexpr int kLine = 28;  // from one option's line to the next

const std::string kMinutesError = "whole minutes from 0 to " + std::to_string(core::kMaxOptionMinutes) + ", please";

}  // namespace

TOptions::TOptions() {
  create({.className = "TOptions",
          .caption = "Options",
          .width = kWidth,
          .height = 250,
          .border = ui::BorderStyle::Dialog,
          .stayOnTop = true});
  setClientSize(kWidth, 226);
  struct Line {
    ui::Label& before;
    ui::Edit& field;
    ui::Label& after;
    int top;
    const char* text;
    const char* unit;
  };
  for (const Line& l : {Line{Label1, Edit1, Label2, 12, "Merge a station's repeats within", "min (0: off)"},
                        Line{Label3, Edit2, Label4, 12 + kLine, "Remove spots older than", "min (0: off)"}}) {
    l.before.create(this, 10, l.top + 3, kFieldLeft - 14, 16, l.text);
    l.field.create(this, kFieldLeft, l.top, kMinutesWidth, 21);
    l.after.create(this, kUnitLeft, l.top + 3, kWidth - kUnitLeft - 6, 16, l.unit);
  }
  CheckBox1.create(this, 10, 12 + 2 * kLine, kWidth - 20, 20, "List spots without taking the focus");
  CheckBox2.create(this, 10, 12 + 3 * kLine, kFieldLeft - 14, 20, "Alert sound, once per callsign in");
  Edit3.create(this, kFieldLeft, 12 + 3 * kLine, kMinutesWidth, 21);
  Label6.create(this, kUnitLeft, 15 + 3 * kLine, kWidth - kUnitLeft - 6, 16, "min");
  Label7.create(this, 10, 15 + 4 * kLine, kWidth - 20, 16, "Sound file (empty: the system's exclamation sound)");
  Edit4.create(this, 10, 34 + 4 * kLine, kWidth - 20, 21);
  Label5.create(this, 10, 62 + 4 * kLine, kWidth - 20, 16, "");
  ui::Font warning = font();
  warning.color = core::clRed;
  Label5.setFont(warning);
  for (ui::Label* label : {&Label1, &Label2, &Label3, &Label4, &Label5, &Label6, &Label7}) label->setCentred(false);
  Button1.create(this, kWidth - 170, 190, 75, 25, "OK");
  Button2.create(this, kWidth - 85, 190, 75, 25, "Cancel");

  Button1.OnClick = [this] { Button1Click(); };
  Button2.OnClick = [this] { Button2Click(); };
  setKeyPreview(true);
  OnKeyDown = [this](WORD key, ui::ShiftState shift) { FormKeyDown(key, shift); };
}

bool TOptions::Execute(core::SpotListOptions& options) {
  Edit1.setText(core::iniText(std::int32_t(options.MergeMinutes)));
  Edit2.setText(core::iniText(std::int32_t(options.MaxAgeMinutes)));
  CheckBox1.setChecked(options.ListWithoutFocus);
  CheckBox2.setChecked(options.AlertSound);
  Edit3.setText(core::iniText(std::int32_t(options.AlertSoundMinutes)));
  Edit4.setText(options.AlertSoundFile);
  Label5.setCaption("");
  if (showModal() != IDOK) return false;
  options = chosen_;
  return true;
}

std::optional<core::SpotListOptions> TOptions::FieldValues() {
  core::SpotListOptions options;
  struct Minutes {
    ui::Edit& field;
    int& value;
    const char* name;
  };
  for (const Minutes& m : {Minutes{Edit1, options.MergeMinutes, "Merge"}, Minutes{Edit2, options.MaxAgeMinutes, "Age"},
                           Minutes{Edit3, options.AlertSoundMinutes, "Sound"}}) {
    const auto value = core::parseOptionMinutes(m.field.text());
    if (!value) {
      Label5.setCaption(std::string(m.name) + ": " + kMinutesError);
      m.field.setFocus();
      SendMessageW(m.field.handle(), EM_SETSEL, 0, -1);
      return std::nullopt;
    }
    m.value = *value;
  }
  options.ListWithoutFocus = CheckBox1.checked();
  options.AlertSound = CheckBox2.checked();
  options.AlertSoundFile = Edit4.text();
  return options;
}

void TOptions::Button1Click() {
  const auto options = FieldValues();
  if (!options) return;
  chosen_ = *options;
  setModalResult(IDOK);
}

void TOptions::Button2Click() { setModalResult(IDCANCEL); }

void TOptions::FormKeyDown(WORD key, ui::ShiftState) {
  if (key == VK_RETURN) Button1Click();
  if (key == VK_ESCAPE) Button2Click();
}

// --- The options' keys in the settings file, after every other key -------------

namespace {

using Options = core::SpotListOptions;

// One key: a number of minutes, a flag or a text of the options.
struct OptionKey {
  const char* name;
  int Options::*minutes = nullptr;
  bool Options::*flag = nullptr;
  std::string Options::*text = nullptr;
};

const OptionKey kOptionKeys[] = {{"MergeMinutes", &Options::MergeMinutes},
                                 {"MaxAgeMinutes", &Options::MaxAgeMinutes},
                                 {"ListWithoutFocus", nullptr, &Options::ListWithoutFocus},
                                 {"AlertSound", nullptr, &Options::AlertSound},
                                 {"AlertSoundFile", nullptr, nullptr, &Options::AlertSoundFile},
                                 {"AlertSoundMinutes", &Options::AlertSoundMinutes}};

std::string valueText(const OptionKey& key, const Options& options) {
  if (key.minutes) return core::iniText(std::int32_t(options.*key.minutes));
  if (key.flag) return core::iniText(options.*key.flag);
  return options.*key.text;
}

// A value that does not read right gives the key's default.
void readValue(const OptionKey& key, const std::string& value, Options& options) {
  const Options defaults;
  if (key.minutes)
    options.*key.minutes = core::parseOptionMinutes(value).value_or(defaults.*key.minutes);
  else if (key.flag)
    options.*key.flag = core::iniBool(value, defaults.*key.flag);
  else
    options.*key.text = value;
}

const char* const kSection = "RD";
const char* const kMissing = "\x01";  // no value of the file is this

std::string profileString(const std::string& path, const char* key, const char* fallback) {
  char value[1024] = {};
  GetPrivateProfileStringA(kSection, key, fallback, value, sizeof value, path.c_str());
  return value;
}

}  // namespace

void TVip::ReadOptions(const std::string& path) {
  for (const OptionKey& key : kOptionKeys) readValue(key, profileString(path, key.name, ""), ContestOptions);
  ApplyOptions();
}

void TVip::WriteOptions(const std::string& path) {
  // A key the operator never changed stays out of the file, which then reads as it
  // always did; once written, it is kept up to date.
  const Options defaults;
  for (const OptionKey& key : kOptionKeys) {
    const std::string value = valueText(key, ContestOptions);
    if (value == valueText(key, defaults) && profileString(path, key.name, kMissing) == kMissing) continue;
    if (!WritePrivateProfileStringA(kSection, key.name, value.c_str(), path.c_str()))
      throw std::runtime_error("Unable to write to " + path);
  }
}

void TVip::Options1Click() {
  if (!OptionsDialog) OptionsDialog = std::make_unique<TOptions>();
  OptionsDialog->setBounds(left() + 12, top() + 40, OptionsDialog->width(), OptionsDialog->height());
  core::SpotListOptions chosen = ContestOptions;
  if (!OptionsDialog->Execute(chosen)) return;
  ContestOptions = chosen;
  ApplyOptions();
  WriteParams();
}
