// The settings file "qjSetup.ini" beside the program: one section "RD", the keys in
// the order of the table below, read once at start and written from the live
// windows.
#include <cstdint>
#include <stdexcept>
#include <string>

#include "app/ProgressU.h"
#include "app/Unit1.h"
#include "app/VipU.h"
#include "core/ini_values.h"

namespace {

const char* const kSection = "RD";
const char* const kFileName = "qjSetup.ini";

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

// The grid font with one part changed.
template <class Change>
void changeFont(TVip& vip, Change change) {
  ui::Font f = vip.SG1.font();
  change(f);
  vip.SG1.setFont(f);
}

const SettingKey kKeys[] = {
    textKey(
        "MyCall", "QQ0QQ", [](TVip& vip, const std::string& v) { vip.Edit1.setText(v); },
        [](const TVip& vip) { return vip.Edit1.text(); }),
    booleanKey(
        "AlwaysUpdate", false, [](TVip& vip, std::int32_t v) { vip.RbCheckBox1.setChecked(v != 0); },
        [](const TVip& vip) { return std::int32_t(vip.RbCheckBox1.Checked()); }),
    booleanKey(
        "QrgPanel", false, [](TVip& vip, std::int32_t v) { vip.RbCheckBox3.setChecked(v != 0); },
        [](const TVip& vip) { return std::int32_t(vip.RbCheckBox3.Checked()); }),
    integerKey(
        "MainTop", 80, [](TVip&, std::int32_t v) { if (Form1) Form1->setTop(v); },
        [](const TVip&) { return std::int32_t(Form1 ? Form1->top() : 80); }),
    integerKey(
        "MainLeft", 2, [](TVip&, std::int32_t v) { if (Form1) Form1->setLeft(v); },
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
        "SpotWidth", 93, [](TVip& vip, std::int32_t v) { vip.SG1.setColWidth(0, v); },
        [](const TVip& vip) { return std::int32_t(vip.SG1.colWidth(0)); }),
    integerKey(
        "FreqWidth", 50, [](TVip& vip, std::int32_t v) { vip.SG1.setColWidth(1, v); },
        [](const TVip& vip) { return std::int32_t(vip.SG1.colWidth(1)); }),
    integerKey(
        "RdaWidth", 50, [](TVip& vip, std::int32_t v) { vip.SG1.setColWidth(2, v); },
        [](const TVip& vip) { return std::int32_t(vip.SG1.colWidth(2)); }),
    integerKey(
        "TimeWidth", 55, [](TVip& vip, std::int32_t v) { vip.SG1.setColWidth(3, v); },
        [](const TVip& vip) { return std::int32_t(vip.SG1.colWidth(3)); }),
    integerKey(
        "MwWidth", 35, [](TVip& vip, std::int32_t v) { vip.SG1.setColWidth(4, v); },
        [](const TVip& vip) { return std::int32_t(vip.SG1.colWidth(4)); }),
    textKey(
        "FontName", "MS Sans Serif",
        [](TVip& vip, const std::string& v) { changeFont(vip, [&](ui::Font& f) { f.name = v; }); },
        [](const TVip& vip) { return vip.SG1.font().name; }),
    integerKey(
        "FontSize", 10, [](TVip& vip, std::int32_t v) { changeFont(vip, [v](ui::Font& f) { f.setSize(v); }); },
        [](const TVip& vip) { return std::int32_t(vip.SG1.font().size()); }),
    booleanKey(
        "FontStyle", false, [](TVip& vip, std::int32_t v) { vip.FontBold = v != 0; },
        [](const TVip& vip) { return std::int32_t(vip.FontBold); }),
    integerKey(
        "FontCl", 8388608,
        [](TVip& vip, std::int32_t v) { changeFont(vip, [v](ui::Font& f) { f.color = core::Color(v); }); },
        [](const TVip& vip) { return std::int32_t(vip.SG1.font().color); }),
    integerKey(
        "FixedColor", 6028757, [](TVip& vip, std::int32_t v) { vip.SG1.setFixedColor(core::Color(v)); },
        [](const TVip& vip) { return std::int32_t(vip.SG1.fixedColor()); }),
    integerKey(
        "Color", 16252889, [](TVip& vip, std::int32_t v) { vip.SG1.setColor(core::Color(v)); },
        [](const TVip& vip) { return std::int32_t(vip.SG1.color()); }),
    booleanKey(
        "RussOnly", true, [](TVip& vip, std::int32_t v) { vip.RbCheckBox2.setChecked(v != 0); },
        [](const TVip& vip) { return std::int32_t(vip.RbCheckBox2.Checked()); }),
    // The two web services' base addresses, after the keys above.
    textKey(
        "CfmServer", "", [](TVip& vip, const std::string& v) { vip.CfmServer = v; },
        [](const TVip& vip) { return vip.CfmServer; }),
    textKey(
        "RdaServer", "", [](TVip& vip, const std::string& v) { vip.RdaServer = v; },
        [](const TVip& vip) { return vip.RdaServer; }),
    // The progress window's place and size; it is made after this file is read.
    integerKey(
        "ProgressTop", WindowPlace{}.top, [](TVip& vip, std::int32_t v) { vip.ProgressPlace.top = v; },
        [](const TVip& vip) { return std::int32_t(Progress ? Progress->top() : vip.ProgressPlace.top); }),
    integerKey(
        "ProgressLeft", WindowPlace{}.left, [](TVip& vip, std::int32_t v) { vip.ProgressPlace.left = v; },
        [](const TVip& vip) { return std::int32_t(Progress ? Progress->left() : vip.ProgressPlace.left); }),
    integerKey(
        "ProgressWidth", WindowPlace{}.width, [](TVip& vip, std::int32_t v) { vip.ProgressPlace.width = v; },
        [](const TVip& vip) { return std::int32_t(Progress ? Progress->width() : vip.ProgressPlace.width); }),
    integerKey(
        "ProgressHeight", WindowPlace{}.height, [](TVip& vip, std::int32_t v) { vip.ProgressPlace.height = v; },
        [](const TVip& vip) { return std::int32_t(Progress ? Progress->height() : vip.ProgressPlace.height); }),
};

}  // namespace

std::string TVip::SettingsPath() {
  char module[MAX_PATH * 2] = {};
  const DWORD n = GetModuleFileNameA(nullptr, module, sizeof module);
  std::string path(module, n);
  const std::size_t slash = path.find_last_of("\\/");
  path.erase(slash == std::string::npos ? 0 : slash + 1);
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
  return path + kFileName;
}

void TVip::ReadParams() {
  const std::string path = SettingsPath();
  for (const SettingKey& key : kKeys) {
    char value[1024] = {};
    const char* fallback = key.kind == Kind::Text ? key.defaultText : "";
    GetPrivateProfileStringA(kSection, key.name, fallback, value, sizeof value, path.c_str());
    switch (key.kind) {
      case Kind::Text:
        key.applyText(*this, value);
        break;
      case Kind::Integer:
        key.applyNumber(*this, core::iniInteger(value, key.defaultNumber));
        break;
      case Kind::Boolean:
        key.applyNumber(*this, core::iniBool(value, key.defaultNumber != 0));
        break;
    }
  }
  ReadOptions(path);
}

void TVip::WriteParams() {
  const std::string path = SettingsPath();
  for (const SettingKey& key : kKeys) {
    const std::string value = key.kind == Kind::Text      ? key.currentText(*this)
                              : key.kind == Kind::Integer ? core::iniText(key.currentNumber(*this))
                                                          : core::iniText(key.currentNumber(*this) != 0);
    if (!WritePrivateProfileStringA(kSection, key.name, value.c_str(), path.c_str()))
      throw std::runtime_error("Unable to write to " + path);
  }
  WriteOptions(path);
}
