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

void TVip::Options1Click() {
  if (!OptionsDialog) OptionsDialog = std::make_unique<TOptions>();
  OptionsDialog->setBounds(left() + 12, top() + 40, OptionsDialog->width(), OptionsDialog->height());
  core::SpotListOptions chosen = ContestOptions;
  if (!OptionsDialog->Execute(chosen)) return;
  ContestOptions = chosen;
  ApplyOptions();
  WriteParams();
}
