// The settings file "qjSetup.ini" beside the program: one section "RD", the keys in
// the order of the table below, read once at start and written from the live
// windows.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/ProgressU.h"
#include "app/Radio.h"
#include "app/Unit1.h"
#include "app/VipU.h"
#include "core/ini_section.h"
#include "core/ini_values.h"
#include "core/spot_list_options.h"
#include "core/text.h"
#include "core/text_file.h"
#include "ui/file_replace.h"
#include "ui/text.h"

namespace {

// One key: its kind, its default, how a read value is applied and what the live
// value is. Integers and booleans that do not parse take the default.
enum class Kind { Text, Integer, Boolean };

struct SettingKey {
  const char* name;
  Kind kind;
  const char* defaultText;
  std::int32_t defaultNumber;
  void (*applyText)(TVip& vip, const std::string& value);
  std::string (*currentText)(const TVip& vip);
  void (*applyNumber)(TVip& vip, std::int32_t value);
  std::int32_t (*currentNumber)(const TVip& vip);
  // A key of the settings every version of the program has written. The others (the
  // addresses, the progress window's place, the contest options) are written only
  // once their value changed from what the file held, or from the default when it
  // held none: a file that lacks them reads as it always did, and a value the
  // operator typed in while the program ran stays.
  bool described = true;
};

using ApplyText = void (*)(TVip&, const std::string&);
using CurrentText = std::string (*)(const TVip&);
using ApplyNumber = void (*)(TVip&, std::int32_t);
using CurrentNumber = std::int32_t (*)(const TVip&);

constexpr SettingKey textKey(const char* name, const char* def, ApplyText apply, CurrentText current) {
  return {name, Kind::Text, def, 0, apply, current, nullptr, nullptr};
}
constexpr SettingKey integerKey(const char* name, std::int32_t def, ApplyNumber apply, CurrentNumber current) {
  return {name, Kind::Integer, nullptr, def, nullptr, nullptr, apply, current};
}
constexpr SettingKey booleanKey(const char* name, bool def, ApplyNumber apply, CurrentNumber current) {
  return {name, Kind::Boolean, nullptr, def ? 1 : 0, nullptr, nullptr, apply, current};
}

constexpr SettingKey beyond(SettingKey key) {
  key.described = false;
  return key;
}

// The grid font with one part changed.
template <class Change>
void changeFont(TVip& vip, Change change) {
  ui::Font f = vip.GridFont();
  change(f);
  vip.SetGridFont(f);
}

// The contest options: minutes that are not a whole number from 0 to a day read as
// the default, as a flag that is not a number does.
template <int core::SpotListOptions::*field>
constexpr SettingKey optionMinutes(const char* name, const char* def) {
  SettingKey key = textKey(
      name, def,
      [](TVip& vip, const std::string& v) {
        vip.ContestOptions.*field = core::parseOptionMinutes(v).value_or(core::SpotListOptions{}.*field);
      },
      [](const TVip& vip) { return core::iniText(std::int32_t(vip.ContestOptions.*field)); });
  key.described = false;
  return key;
}
template <bool core::SpotListOptions::*field>
constexpr SettingKey optionFlag(const char* name) {
  SettingKey key = booleanKey(
      name, core::SpotListOptions{}.*field, [](TVip& vip, std::int32_t v) { vip.ContestOptions.*field = v != 0; },
      [](const TVip& vip) { return std::int32_t(vip.ContestOptions.*field); });
  key.described = false;
  return key;
}
// A file name the operator gave: kept as given while the program runs, written in
// the form the file can keep (the options dialog takes no name it cannot).
std::string fileNameSetting(const std::wstring& name) {
  return ui::cp1251FileName(name).value_or(ui::narrow(name));
}
template <std::wstring core::SpotListOptions::*field>
constexpr SettingKey optionFileName(const char* name) {
  SettingKey key = textKey(
      name, "", [](TVip& vip, const std::string& v) { vip.ContestOptions.*field = ui::widen(v); },
      [](const TVip& vip) { return fileNameSetting(vip.ContestOptions.*field); });
  key.described = false;
  return key;
}

// The radio's keys as read, put to use once the last of them is read.
RadioSettings radioRead;
// The DX cluster's keys: texts as written, numbers outside their range read as the
// default.
template <std::string ClusterSettings::*field>
constexpr SettingKey clusterText(const char* name) {
  return beyond(textKey(
      name, "", [](TVip& vip, const std::string& v) { vip.ClusterOptions.*field = v; },
      [](const TVip& vip) { return vip.ClusterOptions.*field; }));
}
template <int ClusterSettings::*field, int low, int high>
constexpr SettingKey clusterNumber(const char* name) {
  return beyond(integerKey(
      name, ClusterSettings{}.*field,
      [](TVip& vip, std::int32_t v) { vip.ClusterOptions.*field = v < low || v > high ? ClusterSettings{}.*field : v; },
      [](const TVip& vip) { return std::int32_t(vip.ClusterOptions.*field); }));
}

const SettingKey kKeys[] = {
    textKey(
        "MyCall", "QQ0QQ", [](TVip& vip, const std::string& v) { vip.SetMyCall(v); },
        [](const TVip& vip) { return vip.MyCall(); }),
    booleanKey(
        "AlwaysUpdate", false, [](TVip& vip, std::int32_t v) { vip.SetAlwaysUpdate(v != 0); },
        [](const TVip& vip) { return std::int32_t(vip.AlwaysUpdate()); }),
    booleanKey(
        "QrgPanel", false, [](TVip& vip, std::int32_t v) { vip.SetQrgPanel(v != 0); },
        [](const TVip& vip) { return std::int32_t(vip.QrgPanel()); }),
    integerKey(
        "MainTop", 80, [](TVip&, std::int32_t v) { if (Form1) Form1->PlaceAt(Form1->left(), v); },
        [](const TVip&) { return std::int32_t(Form1 ? Form1->top() : 80); }),
    integerKey(
        "MainLeft", 2, [](TVip&, std::int32_t v) { if (Form1) Form1->PlaceAt(v, Form1->top()); },
        [](const TVip&) { return std::int32_t(Form1 ? Form1->left() : 2); }),
    integerKey(
        "VipTop", 150, [](TVip& vip, std::int32_t v) { vip.setTop(v); },
        [](const TVip& vip) { return std::int32_t(vip.top()); }),
    integerKey(
        "VipLeft", 2, [](TVip& vip, std::int32_t v) { vip.setLeft(v); },
        [](const TVip& vip) { return std::int32_t(vip.left()); }),
    // The normal size is the size the window really got: its minimum may raise it.
    integerKey(
        "VipWidth", 264,
        [](TVip& vip, std::int32_t v) {
          vip.setWidth(v);
          vip.SavedWidth = vip.width();
        },
        [](const TVip& vip) { return std::int32_t(vip.width()); }),
    integerKey(
        "VipHeigth", 284,
        [](TVip& vip, std::int32_t v) {
          vip.setHeight(v);
          vip.SavedHeight = vip.height();
        },
        [](const TVip& vip) { return std::int32_t(vip.height()); }),
    integerKey(
        "SpotWidth", 93, [](TVip& vip, std::int32_t v) { vip.SetColWidth(0, v); },
        [](const TVip& vip) { return std::int32_t(vip.ColWidth(0)); }),
    integerKey(
        "FreqWidth", 50, [](TVip& vip, std::int32_t v) { vip.SetColWidth(1, v); },
        [](const TVip& vip) { return std::int32_t(vip.ColWidth(1)); }),
    integerKey(
        "RdaWidth", 50, [](TVip& vip, std::int32_t v) { vip.SetColWidth(2, v); },
        [](const TVip& vip) { return std::int32_t(vip.ColWidth(2)); }),
    integerKey(
        "TimeWidth", 55, [](TVip& vip, std::int32_t v) { vip.SetColWidth(3, v); },
        [](const TVip& vip) { return std::int32_t(vip.ColWidth(3)); }),
    integerKey(
        "MwWidth", 35, [](TVip& vip, std::int32_t v) { vip.SetColWidth(4, v); },
        [](const TVip& vip) { return std::int32_t(vip.ColWidth(4)); }),
    textKey(
        "FontName", "MS Sans Serif",
        [](TVip& vip, const std::string& v) { changeFont(vip, [&](ui::Font& f) { f.name = v; }); },
        [](const TVip& vip) { return vip.GridFont().name; }),
    integerKey(
        "FontSize", 10, [](TVip& vip, std::int32_t v) { changeFont(vip, [v](ui::Font& f) { f.setSize(v); }); },
        [](const TVip& vip) { return std::int32_t(vip.GridFont().size()); }),
    booleanKey(
        "FontStyle", false, [](TVip& vip, std::int32_t v) { vip.FontBold = v != 0; },
        [](const TVip& vip) { return std::int32_t(vip.FontBold); }),
    integerKey(
        "FontCl", 8388608,
        [](TVip& vip, std::int32_t v) { changeFont(vip, [v](ui::Font& f) { f.color = core::Color(v); }); },
        [](const TVip& vip) { return std::int32_t(vip.GridFont().color); }),
    integerKey(
        "FixedColor", 6028757, [](TVip& vip, std::int32_t v) { vip.SetGridFixedColor(core::Color(v)); },
        [](const TVip& vip) { return std::int32_t(vip.GridFixedColor()); }),
    integerKey(
        "Color", 16252889, [](TVip& vip, std::int32_t v) { vip.SetGridColor(core::Color(v)); },
        [](const TVip& vip) { return std::int32_t(vip.GridColor()); }),
    booleanKey(
        "RussOnly", true, [](TVip& vip, std::int32_t v) { vip.SetRussOnly(v != 0); },
        [](const TVip& vip) { return std::int32_t(vip.RussOnly()); }),
    // The two web services' base addresses, after the keys above; the operator types
    // them into the file.
    beyond(textKey(
        "CfmServer", "", [](TVip& vip, const std::string& v) { vip.CfmServer = v; },
        [](const TVip& vip) { return vip.CfmServer; })),
    beyond(textKey(
        "RdaServer", "", [](TVip& vip, const std::string& v) { vip.RdaServer = v; },
        [](const TVip& vip) { return vip.RdaServer; })),
    // The progress window's place and size; it is made after this file is read.
    beyond(integerKey(
        "ProgressTop", WindowPlace{}.top, [](TVip& vip, std::int32_t v) { vip.ProgressPlace.top = v; },
        [](const TVip& vip) { return std::int32_t(Progress ? Progress->top() : vip.ProgressPlace.top); })),
    beyond(integerKey(
        "ProgressLeft", WindowPlace{}.left, [](TVip& vip, std::int32_t v) { vip.ProgressPlace.left = v; },
        [](const TVip& vip) { return std::int32_t(Progress ? Progress->left() : vip.ProgressPlace.left); })),
    beyond(integerKey(
        "ProgressWidth", WindowPlace{}.width, [](TVip& vip, std::int32_t v) { vip.ProgressPlace.width = v; },
        [](const TVip& vip) { return std::int32_t(Progress ? Progress->width() : vip.ProgressPlace.width); })),
    beyond(integerKey(
        "ProgressHeight", WindowPlace{}.height, [](TVip& vip, std::int32_t v) { vip.ProgressPlace.height = v; },
        [](const TVip& vip) { return std::int32_t(Progress ? Progress->height() : vip.ProgressPlace.height); })),
    // The contest options of the spot list, each of its dialog's entries.
    optionMinutes<&core::SpotListOptions::MergeMinutes>("MergeMinutes", "0"),
    optionMinutes<&core::SpotListOptions::MaxAgeMinutes>("MaxAgeMinutes", "0"),
    optionFlag<&core::SpotListOptions::ListWithoutFocus>("ListWithoutFocus"),
    optionFlag<&core::SpotListOptions::AlertSound>("AlertSound"),
    optionFileName<&core::SpotListOptions::AlertSoundFile>("AlertSoundFile"),
    optionMinutes<&core::SpotListOptions::AlertSoundMinutes>("AlertSoundMinutes", "10"),
    optionMinutes<&core::SpotListOptions::MaxAgeSkimmerMinutes>("MaxAgeSkimmerMinutes", "0"),
    // The verdicts beyond confirmed and new, the main window's.
    beyond(textKey(
        "WorkedLog", "", [](TVip&, const std::string& v) { if (Form1) Form1->SetWorkedLog(ui::widen(v)); },
        [](const TVip&) { return Form1 ? fileNameSetting(Form1->WorkedLogName()) : std::string(); })),
    // The colours: 0 as described, 1 told apart with every common colour-vision
    // deficiency; another value is the first.
    beyond(integerKey(
        "Palette", 0,
        [](TVip& vip, std::int32_t v) {
          const auto palette = v == 1 ? core::Palette::ColourBlind : core::Palette::Described;
          vip.SetPalette(palette);
          if (Form1) Form1->SetPalette(palette);
        },
        [](const TVip& vip) { return std::int32_t(vip.Palette() == core::Palette::ColourBlind); })),
    beyond(booleanKey(
        "SpeakAlerts", false, [](TVip&, std::int32_t v) { if (Form1) Form1->SetSpeakAlerts(v != 0); },
        [](const TVip&) { return std::int32_t(Form1 && Form1->SpeakAlerts()); })),
    beyond(booleanKey(
        "BandVerdict", false, [](TVip&, std::int32_t v) { if (Form1) Form1->SetBandVerdict(v != 0); },
        [](const TVip&) { return std::int32_t(Form1 && Form1->BandVerdict()); })),
    // The radio: Logger32's commands, or rigctld at RigHost:RigPort. The connection
    // starts when the port, the last of the three, is read.
    beyond(textKey(
        "Radio", "Logger32", [](TVip&, const std::string& v) { radioRead.way = radioWayOf(v); },
        [](const TVip&) { return std::string(radioWayName(CurrentRadioSettings().way)); })),
    beyond(textKey(
        "RigHost", "127.0.0.1",
        [](TVip&, const std::string& v) {
          const std::string host(core::trimBlanks(v));
          radioRead.host = host.empty() ? RadioSettings{}.host : host;
        },
        [](const TVip&) { return CurrentRadioSettings().host; })),
    beyond(integerKey(
        "RigPort", 4532,
        [](TVip&, std::int32_t v) {
          radioRead.port = v >= 1 && v <= 65535 ? v : RadioSettings{}.port;
          UseRadio(radioRead);
        },
        [](const TVip&) { return std::int32_t(CurrentRadioSettings().port); })),
    // The DX cluster connection of the program's own.
    clusterText<&ClusterSettings::host>("ClusterHost"),
    clusterNumber<&ClusterSettings::port, 1, 65535>("ClusterPort"),
    clusterText<&ClusterSettings::call>("ClusterCall"),
    clusterText<&ClusterSettings::password>("ClusterPassword"),
    clusterText<&ClusterSettings::commands>("ClusterCommands"),
    clusterNumber<&ClusterSettings::backlog, 0, 500>("ClusterBacklog"),
    clusterNumber<&ClusterSettings::silenceSeconds, 1, 86400>("ClusterSilenceSeconds"),
    clusterNumber<&ClusterSettings::retrySeconds, 1, 3600>("ClusterRetrySeconds"),
};

// A key's default as the file writes it.
std::string defaultText(const SettingKey& key) {
  switch (key.kind) {
    case Kind::Text:
      return key.defaultText;
    case Kind::Integer:
      return core::iniText(key.defaultNumber);
    case Kind::Boolean:
      break;
  }
  return core::iniText(key.defaultNumber != 0);
}

// The live value of a key as the file writes it.
std::string currentText(const SettingKey& key, const TVip& vip) {
  switch (key.kind) {
    case Kind::Text:
      return key.currentText(vip);
    case Kind::Integer:
      return core::iniText(key.currentNumber(vip));
    case Kind::Boolean:
      break;
  }
  return core::iniText(key.currentNumber(vip) != 0);
}

// Values keep the file's bytes: they go through the system's code page both ways,
// as the profile functions read and write an ANSI file.
std::wstring fromFile(const std::string& bytes) {
  if (bytes.empty()) return {};
  std::wstring text(bytes.size(), L'\0');
  text.resize(std::size_t(MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), text.data(), int(text.size()))));
  return text;
}
std::string toFile(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(std::size_t(std::max(n, 0)), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), bytes.data(), n, nullptr, nullptr);
  return bytes;
}

}  // namespace

std::wstring TVip::SettingsPathW() {
  // The folder of the program's own file, however long its name.
  std::wstring module(MAX_PATH, L'\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const DWORD n = GetModuleFileNameW(nullptr, module.data(), DWORD(module.size()));
    if (n == 0) throw std::runtime_error(texts::settingsFolderUnknown(core::systemReason()));
    if (n < module.size() && GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
      module.resize(n);
      break;
    }
    if (module.size() >= 32768) throw std::runtime_error(texts::settingsFolderUnknown("its name is too long."));
    module.resize(module.size() * 2);
  }
  const std::size_t slash = module.find_last_of(L"\\/");
  if (slash == std::wstring::npos) throw std::runtime_error(texts::settingsFolderUnknown("it has no folder."));
  return module.substr(0, slash + 1) + L"qjSetup.ini";
}

std::string TVip::SettingsPath() { return ui::narrow(SettingsPathW()); }

void TVip::ReadParams() {
  const std::wstring path = SettingsPathW();
  settingsRead_.assign(std::size(kKeys), std::nullopt);
  for (std::size_t i = 0; i < std::size(kKeys); ++i) {
    const SettingKey& key = kKeys[i];
    // A marker no file holds tells a missing key from an empty one.
    wchar_t value[1024] = {};
    GetPrivateProfileStringW(L"RD", ui::widen(key.name).c_str(), L"\x1F", value, DWORD(std::size(value)), path.c_str());
    const bool present = std::wstring_view(value) != L"\x1F";
    const std::string text = present ? toFile(value) : key.kind == Kind::Text ? key.defaultText : "";
    switch (key.kind) {
      case Kind::Text:
        key.applyText(*this, text);
        break;
      case Kind::Integer:
        key.applyNumber(*this, core::iniInteger(text, key.defaultNumber));
        break;
      case Kind::Boolean:
        key.applyNumber(*this, core::iniBool(text, key.defaultNumber != 0));
        break;
    }
    if (present) settingsRead_[i] = KeyRead{text, currentText(key, *this)};
  }
  ApplyOptions();
}

bool TVip::SettingRead(const char* name) const {
  for (std::size_t i = 0; i < std::size(kKeys) && i < settingsRead_.size(); ++i)
    if (std::string_view(kKeys[i].name) == name) return settingsRead_[i].has_value();
  return false;
}

void TVip::WriteParams() {
  const std::wstring path = SettingsPathW();
  core::IniKeys<char> keys;
  std::vector<std::pair<std::size_t, KeyRead>> written;
  for (std::size_t i = 0; i < std::size(kKeys); ++i) {
    const SettingKey& key = kKeys[i];
    const std::optional<KeyRead>& read = settingsRead_.size() > i ? settingsRead_[i] : std::nullopt;
    const std::string value = currentText(key, *this);
    std::string text = value;
    if (!key.described && text == (read ? read->value : defaultText(key))) continue;
    // What was read goes back as it was, unless the operator changed it since: the
    // file keeps its own spelling of a value (hexadecimal, a size below the
    // window's minimum, a value beyond what the screen can show).
    if (read && read->value == text) text = read->file;
    keys.emplace_back(key.name, text);
    written.emplace_back(i, KeyRead{text, value});
  }
  // Every key in one write, each line the program does not own as it was. A file in
  // UTF-16 stays so, its values as the system's code page gives them.
  try {
    const std::string file = ui::readWholeFile(path).value_or(std::string());
    std::string bytes;
    if (file.size() >= 2 && file.compare(0, 2, "\xFF\xFE") == 0) {
      core::IniKeys<wchar_t> wide;
      for (const auto& [name, value] : keys) wide.emplace_back(ui::widen(name), fromFile(value));
      const std::wstring text(reinterpret_cast<const wchar_t*>(file.data() + 2), (file.size() - 2) / 2);
      const std::wstring edited = core::setIniKeys<wchar_t>(text, L"RD", wide);
      bytes = "\xFF\xFE" + std::string(reinterpret_cast<const char*>(edited.data()), edited.size() * sizeof(wchar_t));
    } else {
      bytes = core::setIniKeys<char>(file, "RD", keys);
    }
    ui::ReplacingFile out(path);
    out.write(bytes);
    out.commit();
  } catch (const std::exception&) {
    throw std::runtime_error(texts::cannotWriteSettings(ui::narrow(path)));
  }
  // The file holds these now: a key set back to its default later is written too.
  settingsRead_.resize(std::size(kKeys));
  for (auto& [i, read] : written) settingsRead_[i] = std::move(read);
  // The system's profile functions forget what they kept of the old file.
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
}
