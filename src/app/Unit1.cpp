#include "app/Unit1.h"

#include <algorithm>
#include <utility>

#include "app/ProgressU.h"
#include "app/Unit2.h"
#include "app/VipU.h"
#include "core/alert_log.h"
#include "core/confirmations.h"
#include "core/file_cache.h"
#include "core/districts.h"
#include "core/lookup.h"
#include "core/spot_intake.h"
#include "core/spot_record.h"
#include "core/text.h"
#include "core/text_file.h"
#include "ui/application.h"
#include "ui/canvas.h"
#include "ui/text.h"
#include "ui/file_replace.h"

std::uint8_t AlertFlag = 0;
TForm1* Form1 = nullptr;

namespace {

constexpr int kListBoxResetHeight = 17;
constexpr int kListBoxGrowth = 18;
constexpr int kListBoxMaxHeight = 395;

// Runs one step of the closing; an error ends it without a word, also one raised in
// a handler the step runs inside its own boundary. True when the step finished.
template <class Step>
bool closingStep(Step&& step) {
  bool done = false;
  ui::app().silently([&] {
    step();
    done = true;
  });
  return done;
}

}  // namespace

TForm1::TForm1() {
  Form1 = this;
  create({.className = "TForm1",
          .caption = "ruDOZ",
          .left = 5,
          .top = 155,
          .width = 301,
          .height = 94,
          .border = ui::BorderStyle::SizeToolWin,
          .stayOnTop = true});
  setBorderWidth(1);
  setColor(core::clBtnFace);
  setFont({.name = "MS Sans Serif", .height = 11});

  ui::Font fieldFont{.name = "MS Sans Serif", .height = 12, .bold = true};
  Edit1.create(this, 0, 0, 89, 21);
  Edit1.setFont(fieldFont);
  Edit2.create(this, 96, 0, 49, 21);
  Edit2.setFont(fieldFont);
  Button1.create(this, 168, 48, 17, 17, "Button1");
  Button1.hide();
  ListBox1.create(this, 0, 24, 257, 35);
  ListBox1.setItemHeight(13);
  ListBox1.hide();
  CheckBox1.create(this, 160, 5, 41, 17, "L32");
  CheckBox1.setChecked(true);
  fitDistrictField();
  StatusBar1.create(this, 0, 48, 291, 17);
  StatusBar1.setColor(core::verdictLook(core::Verdict::New, ShownPalette()).background);
  StatusBar1.setPanelText("NEW RDA!");
  StatusBar1.hide();

  Setup1.caption = "Setup";
  Setup1.OnClick = [this] { Setup1Click(); };
  ShowVip1.caption = "Show Vip";
  ShowVip1.OnClick = [this] { ShowVip1Click(); };
  Progress1.caption = "Progress";
  Progress1.OnClick = [this] { Progress1Click(); };
  PopupMenu1.add(Setup1);
  PopupMenu1.add(ShowVip1);
  PopupMenu1.add(Progress1);
  setPopupMenu(&PopupMenu1);

  setKeyPreview(true);
  setAutoSize(true);
  setDrawPace(kDrawPaceMs);
  Timer1.create(*this, 200, true);
  Timer1.OnTimer = [this] { Timer1Timer(); };

  Edit1.OnChange = [this] { Button1Click(); };
  Edit2.OnChange = [this] { Edit2Change(); };
  Button1.OnClick = [this] { Button1Click(); };
  OnActivate = [this] { FormActivate(); };
  OnClose = [this](ui::CloseAction& action) { FormClose(action); };
  OnKeyDown = [this](WORD key, ui::ShiftState shift) { FormKeyDown(key, shift); };
  // High contrast on or off: the verdict shown takes its colours again.
  OnSystemLook = [this] {
    if (verdict_ != core::Verdict::None) ShowVerdict(verdict_, StatusBar1.panelText());
  };
}

void TForm1::fitDistrictField() {
  // Five characters of the widest district a screen's font makes of "MS Sans Serif"
  // (the widest letters the award uses), the field's frame and its margins; never
  // narrower than designed.
  const DWORD margins = DWORD(SendMessageW(Edit2.handle(), EM_GETMARGINS, 0, 0));
  const int needed = ui::textExtent(Edit2.font(), "MM-88").cx + LOWORD(margins) + HIWORD(margins) +
                     2 * GetSystemMetrics(SM_CXEDGE) + 2;
  if (needed <= Edit2.width()) return;
  // "L32" keeps its distance: the gap between them is where the menu is opened.
  CheckBox1.setLeft(CheckBox1.left() + needed - Edit2.width());
  Edit2.setWidth(needed);
}

TForm1::~TForm1() {
  if (Form1 == this) Form1 = nullptr;
}

void TForm1::FormActivate() {
  Edit1.setFocus();
  CountConfirmations();
}

std::string TForm1::CountConfirmations() {
  const HeldList confirmations(CfmList, F2Load());
  return Cnt();
}

void TForm1::FormClose(ui::CloseAction&) {
  // Closing steps: the link window, the settings, the spot list window. An error in
  // one skips the rest without a word; the window closes all the same.
  closingStep([] { if (Form2) Form2->close(); }) &&
      closingStep([] { if (Vip) Vip->WriteParams(); }) &&
      closingStep([] { if (Vip) Vip->closeQuietly(); });
}

void TForm1::FormKeyDown(WORD key, ui::ShiftState shift) {
  if (!shift.alt) return;
  if (key == 'W') {
    Edit1.clear();
    Edit2.clear();
    ListBox1.hide();
    Edit1.setFocus();
  } else if (key == 'Q') {
    close();
  }
}

std::vector<std::string> TForm1::ConfirmingList() const {
  std::vector<std::string> lines;
  for (int i = 0; i < ListBox1.count(); ++i) lines.push_back(ListBox1.item(i));
  return lines;
}

RECT TForm1::PartRect(Part part) const {
  const ui::Control* controls[] = {&Edit1, &Edit2, &CheckBox1, &ListBox1, &StatusBar1};
  const ui::Control& c = *controls[int(part)];
  return {c.left(), c.top(), c.left() + c.width(), c.top() + c.height()};
}

void TForm1::TakeSpot(const core::Spot& spot) {
  lastSpot_ = spot;
  // "Russ only" is on until the spot list window says otherwise.
  const core::IntakeSwitches switches{CheckBox1.checked(), !Vip || Vip->RussOnly(),
                                      Vip && Vip->ContestOptions.MergeMinutes > 0};
  const core::SpotIntake intake = core::spotIntake(spot, Edit1.text(), switches);
  if (intake == core::SpotIntake::Ignore) return;
  // The lookup this starts takes the spot at its start, before anything nested in
  // it could.
  spotForLookup_ = spot;
  if (intake == core::SpotIntake::EnterCallsign)
    Edit1.setText(spot.call);
  else
    ui::app().guard([this] { Button1Click(); });
  spotForLookup_.reset();
}

void TForm1::Timer1Timer() {
  if (AlertFlag == 1) {
    // The blink takes the new verdict's colour; in high contrast the window does
    // not flash, its title and bar say it.
    setColor(ShownPalette() == core::Palette::HighContrast ? core::clBtnFace
                                                            : core::verdictLook(core::Verdict::New, ShownPalette()).background);
    ++BlinkCount;
  } else {
    setColor(core::clBtnFace);
    BlinkCount = 0;
  }
  if (BlinkCount == 1) setColor(core::clBtnFace);
  if (BlinkCount == 2) BlinkCount = 0;
}

void TForm1::Setup1Click() { StartSetup(); }

void TForm1::StartSetup() {
  if (Vip) Vip->EnterSetupView();
}

void TForm1::ShowVip1Click() {
  if (Vip) Vip->ShowGridView();
}

void TForm1::Progress1Click() {
  if (!Progress) return;
  // Its activation counts afresh, before the first paint.
  Progress->bringToFront();
  Progress->moveOntoScreen();
}

// Each load makes a new list; the operation that asked for it holds it (HeldList).
core::SharedTextList TForm1::F2Load() {
  return std::make_shared<const core::TextList>(core::confirmationsList(core::cachedFileBytes(files::kConfirmations)->view()));
}

// The watch list's order and repeats change no match, so it is taken as it lies.
core::SharedTextList TForm1::F4Load() {
  return std::make_shared<const core::TextList>(core::TextList::fromText(core::cachedFileBytes(files::kWatchList)->view()));
}

std::string TForm1::Cnt() {
  if (!CfmList) throw std::logic_error("The confirmations are not loaded");
  std::string title = core::cfmTitle(core::countConfirmed(*CfmList));
  setCaption(title);
  return title;
}

// The reference files are read again only when they changed (see file_cache.h): an
// edit counts at the next use.
std::shared_ptr<const core::FileBytes> TForm1::DistrictList() { return core::cachedFileBytes(files::kDistricts); }

bool TForm1::Raion(const std::string& code) {
  const auto districts = DistrictList();
  const core::DistrictInfo info = core::lookUpDistrict(districts->view(), code);
  if (info.listed) setCaption(std::string(info.description));
  return info.valid;
}

void TForm1::Edit2Change() {
  if (OnVerdict) OnVerdict(Edit2.text());
  verdict_ = core::Verdict::None;
  setCaption(texts::kNoSuchDistrict);
  const std::string key = core::toUpperAscii(Edit2.text());
  StatusBar1.hide();
  judged_ = Edit2.text();
  if (Edit2.text() == "w" || Edit2.text() == "W") {
    Edit2.clear();  // the run this starts judges the empty field
    return;
  }
  if (Raion(key)) {
    WRKCFM();
    return;
  }
  // A deleted district that names its successor: the station works from there now,
  // and that district is judged and listed, the title naming both.
  const auto districts = DistrictList();
  const auto chain = core::successorChain(districts->view(), key);
  if (chain.size() < 2) return;
  const core::DistrictInfo successor = core::lookUpDistrict(districts->view(), chain.back());
  if (!successor.valid) return;
  setCaption(texts::successorTitle(key, chain.back(), std::string(successor.description)));
  judged_ = chain.back();
  WRKCFM();
}

core::Palette TForm1::ShownPalette() const {
  return ui::app().highContrast() ? core::Palette::HighContrast : palette_;
}

void TForm1::ShowVerdict(core::Verdict verdict, const std::string& text) {
  const core::BarLook look = core::verdictLook(verdict, ShownPalette());
  StatusBar1.setColor(look.background);
  StatusBar1.setTextColor(look.text);
  StatusBar1.setPanelText(text);
  StatusBar1.show();
  verdict_ = verdict;
}

void TForm1::SetPalette(core::Palette palette) {
  if (palette == palette_) return;
  palette_ = palette;
  if (verdict_ != core::Verdict::None) ShowVerdict(verdict_, StatusBar1.panelText());
}

void TForm1::WRKCFM() {
  AlertFlag = 0;
  lookupAlert_ = false;
  // The confirmations are read as they lie in the file; the confirming line is the
  // one the sorted list would show first (see firstConfirmation).
  const auto confirmationsFile = core::cachedFileBytes(files::kConfirmations);
  const core::FileBytes& confirmations = *confirmationsFile;
  const std::string district = core::toUpperAscii(judged_);
  if (district.size() != 5 || confirmations.view().empty()) return;

  ListBox1.show();
  const auto line = core::firstConfirmation(confirmations.view(), district);
  // Judged by band, a spot on a band the service does not list the district on is
  // new there (a typed callsign or district has no band).
  bool newOnBand = false;
  if (line && bandVerdict_ && lookupBand_ != core::Band::None) {
    const auto bands = core::bandsConfirmed(confirmations.view(), district);
    newOnBand = !bands.empty() && std::find(bands.begin(), bands.end(), lookupBand_) == bands.end();
  }
  if (line) {
    ListBox1.clear();
    if (!callbookNote_.empty()) ListBox1.add(callbookNote_);
    ListBox1.setHeight(std::min(ListBox1.height() + kListBoxGrowth, kListBoxMaxHeight));
    ListBox1.add(*line);
    if (!newOnBand) {
      ShowVerdict(core::Verdict::Confirmed, texts::kConfirmed);
      return;
    }
  }
  // Worked but not yet confirmed (on the spot's band, judged by band): listed, but
  // no alarm.
  if (const core::WorkedLog* log = WorkedLog()) {
    const bool byBand = bandVerdict_ && lookupBand_ != core::Band::None;
    if (byBand ? log->workedOn(district, lookupBand_) : log->worked(district)) {
      ShowVerdict(core::Verdict::Worked, texts::kWorked);
      return;
    }
  }
  ShowVerdict(newOnBand ? core::Verdict::NewBand : core::Verdict::New, newOnBand ? texts::kNewBand : texts::kNew);
  AlertFlag = 1;
  lookupAlert_ = true;
}

void TForm1::SetWorkedLog(const std::wstring& fileName) {
  workedLogName_ = fileName;
  workedLogFile_.emplace(ui::narrow(fileName));
  workedLogChecked_.reset();
}

const core::WorkedLog* TForm1::WorkedLog() {
  if (workedLogName_.empty() || !workedLogFile_) return nullptr;
  core::WorkedLogFile& file = *workedLogFile_;
  const ULONGLONG now = GetTickCount64();
  if (workedLogChecked_ && now - *workedLogChecked_ < kWorkedLogCheckMs) return file.log();
  workedLogChecked_ = now;
  const std::optional<core::FileStamp> before = ui::fileStamp(workedLogName_);
  if (before && !file.wantsReading(*before)) return file.log();
  std::string message;
  try {
    // Read byte for byte by the name as the operator gave it; the stamps around the
    // reading tell whether Logger32 wrote meanwhile.
    const std::uint64_t readAt = core::fileClockNow();
    const auto bytes = ui::readWholeFile(workedLogName_);
    if (!bytes)
      throw core::FileOpenError(ui::narrow(workedLogName_), ui::systemErrorText(ERROR_FILE_NOT_FOUND));
    const std::optional<core::FileStamp> after = ui::fileStamp(workedLogName_);
    message = file.take(before.value_or(core::FileStamp{}), *bytes, after.value_or(core::FileStamp{}), readAt);
  } catch (const std::exception& e) {
    message = file.takeFailure(e.what());
  }
  if (!message.empty()) ui::app().showError(message);
  return file.log();
}

void TForm1::Button1Click() {
  // A spot's own lookup reads that spot; a typed callsign is listed with the last
  // spot's frequency and time, but reads its comment only when it is that station.
  const std::optional<core::Spot> own = std::exchange(spotForLookup_, std::nullopt);
  const core::Spot spot = own.value_or(lastSpot_);
  const auto origin = own ? core::SpotOrigin::Logger32 : core::SpotOrigin::Typed;
  if (OnLookup) OnLookup(Edit1.text());
  // The verdicts of this lookup judge the spot's band and raise this lookup's own
  // alert; a nested lookup has its own. What an earlier lookup left in AlertFlag
  // keeps the window blinking, but lists nothing of this one.
  struct Restore {
    core::Band& band;
    core::Band outerBand;
    bool& alert;
    bool outerAlert;
    ~Restore() {
      band = outerBand;
      alert = outerAlert;
    }
  } restore{lookupBand_, std::exchange(lookupBand_, own ? core::bandOfFrequency(spot.freq) : core::Band::None),
            lookupAlert_, std::exchange(lookupAlert_, false)};

  if (!CheckBox1.checked() && Edit1.text() == "setup") StartSetup();
  // The clear word: each clearing runs this lookup again, nested, on the empty field.
  if (Edit1.text() == "W") Edit1.clear();
  if (Edit1.text() == "w") Edit1.clear();

  CallBook();

  // This lookup's own watch list: the verdicts below may open an error box, whose
  // loop runs the lookups of further spots meanwhile.
  const HeldList watch(LookList, F4Load());

  // The district the spotter named in the comment of this station's spot, if any.
  const std::string field = Edit1.text();
  const std::string named = core::commentRda(core::lookupComment(field, spot, own.has_value()),
                                             [this](const std::string& code) { return Raion(code); });
  if (named.size() == 5) Edit2.setText(named);

  for (std::string_view entry : *watch)
    if (core::watchEntryMatches(entry, field)) {
      AlertFlag = 1;
      lookupAlert_ = true;
    }

  AlertListing(origin, spot);
}

void TForm1::CallBook() {
  ListBox1.setHeight(kListBoxResetHeight);
  ListBox1.clear();
  ListBox1.hide();
  callbookNote_.clear();
  const auto callbook = core::cachedFileBytes(files::kCallbook);
  Edit2.clear();
  const std::string key = core::callbookKey(Edit1.text());
  if (key.size() < 4) return;
  const auto found = core::callbookLookup(callbook->view(), key, ui::utcToday());
  if (!found) return;
  // Dated lines may make more than one district valid today: the first goes into
  // the district field, and the list box names them all, above the confirming line.
  if (found->validDistricts.size() > 1) {
    callbookNote_ = texts::callbookDistricts(found->validDistricts);
    ListBox1.add(callbookNote_);
    ListBox1.show();
  }
  Edit2.setText(found->district);
}

void TForm1::AlertListing(core::SpotOrigin origin, const core::Spot& spot) {
  // Listed: this lookup's own alert, or a district worked but not yet confirmed (no
  // alarm for it).
  if (!lookupAlert_ && verdict_ != core::Verdict::Worked) return;
  const std::string call = Edit1.text(), district = judged_;
  const bool skimmer = origin == core::SpotOrigin::Logger32 && core::fromSkimmer(spot);
  const core::Verdict verdict = lookupAlert_ && verdict_ == core::Verdict::None ? core::Verdict::New : verdict_;
  // Said aloud for whoever cannot see it: the reader is busy with Logger32, which
  // holds the focus.
  if (speakAlerts_ && lookupAlert_ && origin == core::SpotOrigin::Logger32)
    Speech.say(ui::widen(texts::spokenAlert(verdict, district)));
  if (Vip) ui::app().guard([&] { Vip->AddSpot(call, spot.freq, district, spot.time, {origin, skimmer, verdict, origin == core::SpotOrigin::Logger32 ? spot.spotter : ""}); });

  // The log is kept only where the operator made one. The line goes at its end in
  // one write: the earlier bytes are never touched, so a failure can lose only the
  // new line, and the cost does not grow with the log.
  ui::app().guard(
      [&] {
        const std::string line = core::alertLogLine(call, district, ui::shortDateNow(), ui::longTimeNow());
        ui::appendToExistingFile(files::kAlertLog,
                                 [&](std::string_view lastByte) { return core::alertLogAddition(lastByte, line); });
      },
      ui::Boundary::Silent);
}
