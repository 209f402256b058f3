#include "app/VipU.h"

#include <algorithm>
#include <iterator>

#include "app/Radio.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "core/link_texts.h"
#include "core/most_wanted.h"
#include "core/spot_speech.h"
#include "core/spot_time.h"
#include "ui/application.h"
#include "ui/canvas.h"
#include "ui/dialogs.h"

TVip* Vip = nullptr;

namespace {

constexpr core::Color kPanelColor = 14933983;
constexpr core::Color kPanelFontColor = 13500416;
constexpr int kSetupWidth = 266, kSetupHeight = 203;
constexpr int kMinWidth = 88, kMinHeight = 73;

const char* const kTitles[] = {"    Spot", " Freq", "  RDA", " Time", "MW%"};
// The widest a column's cells usually get: a portable callsign, a 2 m frequency, a
// district, a time, a share.
const char* const kWidestCells[] = {"UA0ABC/P", "144300.0", "MM-88", "88:88", "100"};
constexpr int kCellPadding = 6;  // the text stands 2 pixels in; a little room after it

// The look the window gives all three of its panels.
void stylePanel(TRbPanel& panel, const std::string& caption) {
  panel.beginLoading();
  panel.setColor(kPanelColor);
  ui::Font f = panel.font();
  f.color = kPanelFontColor;
  panel.setFont(f);
  panel.setCornerWidth(10);
  panel.setBorderWidth(2);
  panel.setBorderColor(core::clGray);
  panel.setOuterColor(core::clBtnFace);
  panel.setAntialiased(true);
  panel.setGradient(false);
  panel.setDefaultFrom(core::clWhite);
  panel.setDefaultTo(kPanelColor);
  panel.setGradientType(core::gtVertical);
  panel.setTextShadow(true);
  panel.setTextShadowColor(core::clWhite);
  panel.setCaptionPosition(core::cpTopLeft);
  panel.setCaption(caption);
  panel.endLoading();
}

// The colour set and behaviour every button and check box of the window shares:
// the colour set's defaults, a medium fade, a focus rectangle, no hot tracking.
template <class Styled>
void styleControl(Styled& control, const std::string& caption) {
  control.beginLoading();
  control.setCaption(caption);
  control.setFadeSpeed(core::fsMedium);
  control.setShowFocusRect(true);
  control.setHotTrack(false);
  control.setGradientBorder(true);
  control.setTextShadow(true);
  control.endLoading();
}

}  // namespace

TVip::TVip() {
  create({.className = "TVip",
          .caption = "Vip",
          .left = 2,
          .top = 150,
          .width = 264,
          .height = 284,
          .border = ui::BorderStyle::Sizeable,
          .stayOnTop = true,
          .minimizeBox = false,
          .maximizeBox = false});
  setDrawPace(kDrawPaceMs);

  RbPanel3.create(this, 0, 0, clientWidth(), 145);
  stylePanel(RbPanel3, "");
  RbPanel3.setAlign(ui::Align::Top);
  RbPanel3.hide();
  RbPanel1.create(this, 0, clientHeight() - 31, clientWidth(), 31);
  stylePanel(RbPanel1, "");
  RbPanel1.setAlign(ui::Align::Bottom);
  RbPanel2.create(this, 0, 0, clientWidth(), clientHeight());
  stylePanel(RbPanel2, "RbPanel2");
  RbPanel2.setAlign(ui::Align::Client);

  createSetupPanel();
  createFrequencyPanel();
  createGrid();
  createMenu();

  OnActivate = [this] { FormActivate(); };
  OnClose = [this](ui::CloseAction& action) { FormClose(action); };
  // The ageing check, switched on by the options.
  Timer1.OnTimer = [this] { Timer1Timer(); };
  Timer1.create(*this, kAgeCheckMs, false);
  // The creation handler may open boxes (a missing region list, the confirmations
  // fetched at start) whose loops take in spots: they must find this window.
  Vip = this;
  ui::app().guard([this] { FormCreate(); });
}

TVip::~TVip() {
  if (Vip == this) Vip = nullptr;
}

void TVip::createSetupPanel() {
  Edit1.create(&RbPanel3, 8, 8, 81, 21);
  struct Place {
    TRbButton& button;
    int left, top, width, height;
    const char* caption;
  };
  for (const Place& p : {Place{RbButton3, 96, 8, 145, 17, "Обновить qjCFM"},
                         Place{RbButton6, 32, 88, 193, 14, "Обновить Most Wanted"},
                         Place{RbButton5, 32, 104, 193, 14, "Обновить Список Районов (qjAR)"},
                         Place{RbButton4, 96, 120, 51, 17, "Ok"}}) {
    p.button.create(&RbPanel3, p.left, p.top, p.width, p.height);
    styleControl(p.button, p.caption);
  }
  struct Box {
    TRbCheckBox& box;
    int top;
    const char* caption;
  };
  for (const Box& b : {Box{RbCheckBox1, 32, "Обновлять  qjCFM при каждом запуске"},
                       Box{RbCheckBox2, 48, "Только Российские Станции"}, Box{RbCheckBox3, 64, "Панель QRG"}}) {
    b.box.create(&RbPanel3, 8, b.top, 225, 17);
    styleControl(b.box, b.caption);
    b.box.setCheckColor(core::clGreen);
    b.box.setBorderLinesColor(core::clGray);
  }
  Hints.add(RbButton3, "DownLoad My CFM File");
  Hints.add(RbCheckBox1, "DownLoad My CFM File at Start Program");
  Hints.add(RbCheckBox2, "Russ only");
  Hints.add(RbCheckBox3, "QRG Panel Visible");

  RbButton3.OnClick = [this] { RbButton3Click(); };
  RbButton5.OnClick = [this] { RbButton5Click(); };
  RbButton6.OnClick = [this] { RbButton6Click(); };
  RbButton4.OnClick = [this] { RbButton4Click(); };
}

void TVip::createFrequencyPanel() {
  // The buttons first: they lie over the label's ends and stay above it.
  RbButton1.create(&RbPanel1, 3, 3, 41, 25);
  styleControl(RbButton1, "CW");
  RbButton2.create(&RbPanel1, RbPanel1.clientWidth() - 3 - 43, 3, 43, 25);
  styleControl(RbButton2, "SSB");
  RbButton2.keepRightMargin();
  Label1.create(&RbPanel1, 3, 2, RbPanel1.clientWidth() - 6, 26, "QRG");
  Label1.setColor(kPanelColor);
  Label1.setFont({.name = "Times New Roman", .height = 24, .bold = true, .color = core::clNavy});
  Label1.setAlign(ui::Align::Bottom);
  RbButton1.OnClick = [this] { RbButton1Click(); };
  RbButton2.OnClick = [this] { RbButton2Click(); };
}

void TVip::createGrid() {
  SG1.create(&RbPanel2, 3, 3, RbPanel2.clientWidth() - 6, RbPanel2.clientHeight() - 6);
  SG1.setAlign(ui::Align::Client);
  SG1.setColCount(5);
  SG1.setRowCount(2);
  SG1.OnDrawCell = [this](ui::Canvas& canvas, int col, int row, RECT rect, ui::GridDrawState state) {
    SG1DrawCell(canvas, col, row, rect, state);
  };
  SG1.OnMouseDown = [this](ui::MouseButton button, ui::ShiftState shift, int x, int y) {
    SG1MouseDown(button, shift, x, y);
  };
  SG1.OnMouseMove = [this](ui::ShiftState shift, int x, int y) { SG1MouseMove(shift, x, y); };
  SG1.OnPainted = [this] { RecordView(); };
  // For the keyboard and screen readers: Tab reaches the grid, the arrows move the
  // selection, Enter (or a reader's default action) tunes the selected row.
  SG1.setTabStop(true);
  SG1.AccessibleName = "Spots";
  SG1.AccessibleRowAction = "Tune";
  SG1.AccessibleRowName = [this](int row) { return core::rowSpeech(SG1.cell(0, row), SG1.cell(1, row), SG1.cell(2, row),
                                                                 SG1.cell(3, row), SG1.cell(4, row)); };
  SG1.AccessibleRowDescription = [this](int row) {
    const auto v = rowVerdicts_.find(SG1.rowTag(row));
    const core::Verdict verdict = v != rowVerdicts_.end() ? v->second.verdict : core::Verdict::New;
    std::string description(core::rowColorMeaning(SG1.cell(4, row), verdict));
    if (v != rowVerdicts_.end() && verdict == core::Verdict::NewBand)
      description += (description.empty() ? "" : ", ") + std::string("new on ") + std::string(core::bandName(v->second.band));
    return description;
  };
  SG1.OnRowAction = [this](int row) { TuneRow(row); };
  SG1.OnKeyDown = [this](WORD& key, ui::ShiftState) {
    if (key == VK_RETURN) TuneRow(SG1.current().row);
  };
  SG1.OnMouseEnter = [this] { pointerOnGrid_ = true; };
  SG1.OnMouseLeave = [this] {
    pointerOnGrid_ = false;
    TidyRows();
  };
}

void TVip::createMenu() {
  struct Entry {
    ui::MenuItem& item;
    const char* caption;
    void (TVip::*handler)();
  };
  for (const Entry& e : {Entry{Font1, "Font", &TVip::Font1Click}, Entry{Color1, "Color", &TVip::Color1Click},
                         Entry{FixedColor1, "Fixed Color", &TVip::FixedColor1Click},
                         Entry{MyCall1, "My Call", &TVip::MyCall1Click},
                         Entry{Options1, "Options…", &TVip::Options1Click},
                         Entry{ShowMap1, "Show Map", &TVip::ShowMap1Click},
                         Entry{CLEAR1, "Clear All", &TVip::CLEAR1Click},
                         Entry{ClearClose1, "Clear & Close", &TVip::ClearClose1Click}}) {
    e.item.caption = e.caption;
    e.item.OnClick = [this, h = e.handler] { (this->*h)(); };
  }
  Setup1.caption = "Setup";
  for (ui::MenuItem* item : {&Font1, &Color1, &FixedColor1, &MyCall1, &Options1}) Setup1.add(*item);
  for (ui::MenuItem* item : {&Setup1, &ShowMap1, &CLEAR1, &ClearClose1}) PopupMenu1.add(*item);
  SG1.setPopupMenu(&PopupMenu1);
  // The menu leads to dialogs and downloads: none opens inside a click sequence.
  PopupMenu1.OnPopup = [this](HWND owner, int x, int y) {
    return !AfterClicks([this, owner, x, y] { PopupMenu1.popup(owner, x, y); });
  };
}

bool TVip::AfterClicks(std::function<void()> action) {
  if (!Form2 || !Form2->Busy()) return false;
  Form2->WhenIdle(std::move(action));
  return true;
}

LRESULT TVip::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_GETMINMAXINFO) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMinTrackSize = {kMinWidth, kMinHeight};
    return 0;
  }
  const LRESULT result = ui::Form::handleMessage(msg, wParam, lParam);
  if (msg == WM_SIZE) FormResize();
  return result;
}

void TVip::FormCreate() {
  ReadParams();
  // From here on the main window stands where the settings put it (on a screen the
  // operator can reach), and the start-up goes on with it on the screen.
  if (Form1) {
    Form1->moveOntoScreen();
    Form1->showWithoutActivating();
  }
  SG1.setRowCount(2);
  SG1.setDefaultRowHeight(SG1.font().size() + 8);
  RbPanel1.setVisible(RbCheckBox3.Checked());
  ui::Font f = SG1.font();
  f.bold = FontBold;
  SG1.setFont(f);
  FitColumnsToContent();
  if (RbCheckBox1.Checked()) RbButton3.click();
  try {
    LoadRegionList();
  } catch (const std::exception&) {
    ui::showMessage(texts::kNoRegionList);
  }
}

void TVip::FitColumnsToContent() {
  static const char* const kWidthKeys[] = {"SpotWidth", "FreqWidth", "RdaWidth", "TimeWidth", "MwWidth"};
  if (std::any_of(std::begin(kWidthKeys), std::end(kWidthKeys), [this](const char* key) { return SettingRead(key); }))
    return;
  int columns = 0;
  for (int col = 0; col < 5; ++col) {
    const int width = std::max(ui::textExtent(SG1.font(), kTitles[col]).cx, ui::textExtent(SG1.font(), kWidestCells[col]).cx);
    SG1.setColWidth(col, width + kCellPadding);
    columns += width + kCellPadding + 1;  // and its grid line
  }
  if (SettingRead("VipWidth")) return;
  // The grid's frame, its scroll bar and the panel's border around it, and the
  // window's frame.
  const int around = 2 * GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXVSCROLL) +
                     (RbPanel2.width() - SG1.width()) + (width() - clientWidth());
  setWidth(std::max(width(), columns + around));
  SavedWidth = width();
}

void TVip::LoadRegionList() {
  try {
    RegionList = core::TextList::loadSorted(files::kRegionList);
  } catch (...) {
    RegionList = core::TextList();
    throw;
  }
  // Rows listed before (spots taken in during the start's boxes, or before a new
  // list came down) take their values from this one.
  for (int row = 1; row < SG1.rowCount() - 1; ++row) {
    const auto value = core::mostWantedValue(RegionList, SG1.cell(2, row));
    SG1.setCell(4, row, value ? core::mostWantedText(*value) : std::string());
  }
}

void TVip::EnterSetupView() {
  SavedWidth = width();
  SavedHeight = height();
  show();
  moveOntoScreen();
  setBounds(left(), top(), kSetupWidth, kSetupHeight);
  RbPanel2.hide();
  RbPanel3.show();
}

void TVip::ShowGridView() {
  show();
  moveOntoScreen();
  RbPanel2.show();
  RbPanel3.hide();
}

void TVip::ShowFrequency(const std::string& text) { Label1.setCaption(text); }

void TVip::FormActivate() {
  for (int col = 0; col < 5; ++col) SG1.setCell(col, 0, kTitles[col]);
}

void TVip::FormClose(ui::CloseAction& action) {
  // The window hides even when the settings cannot be written.
  ui::app().guard([this] { WriteParams(); }, quietClose_ ? ui::Boundary::Silent : ui::Boundary::ShowError);
  action = ui::CloseAction::Hide;
}

void TVip::closeQuietly() {
  quietClose_ = true;
  close();
  quietClose_ = false;
}

HWND TVip::PartWindow(Part part) const {
  switch (part) {
    case Part::Grid: return SG1.handle();
    case Part::FrequencyLabel: return Label1.handle();
    case Part::CwButton: return RbButton1.handle();
    case Part::SsbButton: return RbButton2.handle();
    case Part::CfmButton: return RbButton3.handle();
    case Part::AlwaysUpdateBox: return RbCheckBox1.handle();
    case Part::RussOnlyBox: return RbCheckBox2.handle();
    case Part::QrgPanelBox: return RbCheckBox3.handle();
  }
  return nullptr;
}

std::string TVip::HintOf(Part part) const {
  switch (part) {
    case Part::CfmButton: return Hints.text(RbButton3);
    case Part::AlwaysUpdateBox: return Hints.text(RbCheckBox1);
    case Part::RussOnlyBox: return Hints.text(RbCheckBox2);
    case Part::QrgPanelBox: return Hints.text(RbCheckBox3);
    default: return {};
  }
}

void TVip::SetPalette(core::Palette palette) {
  if (palette == palette_) return;
  palette_ = palette;
  SG1.invalidate();
}

void TVip::AddSpot(const std::string& call, const std::string& freq, const std::string& rda, const std::string& time,
                   ListedAs as) {
  const core::Millis now = Now();
  // A typed callsign borrows the last spot's frequency and time to show, but is
  // listed now: it ages from now.
  const core::SpotStamp stamp = core::stampSpot(as.origin == core::SpotOrigin::Typed ? "" : time, now, UtcNow());
  const core::ListedSpot spot{call,       rda,  core::bandOfFrequency(freq), as.skimmer, stamp.made, stamp.time,
                              as.origin == core::SpotOrigin::Typed};
  // The backlog a cluster sends at connect would go at the next ageing.
  if (core::tooOldToList(spot, now, core::ageLimits(ContestOptions))) return;
  // A window saved off the screen comes onto it with its first spot.
  if (!visible()) moveOntoScreen();
  if (ui::app().modalOpen())
    // A dialog or box of the program stays in front, and keeps the keyboard.
    showBehindModal();
  else if (ContestOptions.ListWithoutFocus)
    ShowWithoutFocus();
  // A spot list already in front stays as it is: no window work for nothing.
  else if (!visible() || GetForegroundWindow() != handle())
    bringToFront();
  const bool hand = HandOnGrid();
  const auto kept = SpotArrives(spot, now, as, hand);
  const int r = SG1.rowCount() - 1;
  SG1.setCell(0, r, call);
  SG1.setCell(1, r, kept ? kept->freq : freq);
  SG1.setCell(2, r, rda);
  SG1.setCell(3, r, kept ? kept->time : time);
  const std::uint64_t tag = nextRowTag_++;
  SG1.setRowTag(r, tag);
  if (as.verdict == core::Verdict::Worked || as.verdict == core::Verdict::NewBand)
    rowVerdicts_[tag] = {as.verdict, spot.band};
  if (!as.spotter.empty()) rowSpotters_[tag] = as.spotter;
  // A district without a region line leaves the column empty, and so the row
  // without a colour of its own.
  if (const auto value = core::mostWantedValue(RegionList, rda)) SG1.setCell(4, r, core::mostWantedText(*value));
  SG1.setRowCount(r + 2);
  SG1.notifyRow(EVENT_OBJECT_CREATE, r);
  if (mergedSelected_) {
    // The selection follows its station's row to the newest place; the view follows
    // the newest row only when no hand rests on the grid (below).
    mergedSelected_ = false;
    SG1.setCurrent(0, r, false);
  }
  if (hand)
    viewBehind_ = true;
  else
    KeepNewestInView();
}

double TVip::MwValue(const std::string& rda) const { return core::mostWantedValue(RegionList, rda).value_or(0.0); }

void TVip::SG1DrawCell(ui::Canvas& canvas, int col, int row, RECT rect, ui::GridDrawState) {
  if (row < SG1.fixedRows()) return;
  // Rows without a colour of their own keep the grid's drawing; a district worked
  // but not confirmed has one whatever its Most Wanted share.
  const auto verdict = rowVerdicts_.find(SG1.rowTag(row));
  const auto background =
      core::rowColor(SG1.cell(4, row), verdict != rowVerdicts_.end() ? verdict->second.verdict : core::Verdict::New,
                     ui::app().highContrast() ? core::Palette::HighContrast : palette_);
  if (!background) return;
  canvas.fillRect(rect, *background);
  canvas.setFont(SG1.font());
  canvas.setFontColor(SG1.font().color);
  canvas.setTransparentText();
  RECT text = rect;
  text.left += 2;
  text.top += 2;
  canvas.drawText(SG1.cell(col, row), text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

void TVip::SG1MouseDown(ui::MouseButton button, ui::ShiftState, int, int y) {
  // Nothing that goes wrong here is worth a message: the click is simply lost.
  ui::app().guard(
      [&] {
        // The press may have waited in the queue while the rows moved: what counts is
        // the row that stood under it when the button went down.
        const auto pressed = PressedRow(SG1.pressTime(), y);
        const ui::GridCoord hit = SG1.mouseToCell(1, y);
        HitCol = hit.col;
        HitRow = hit.row;
        if (!pressed) return;  // the title row
        // The pressed row is the current one and the one "Show Map" shows, where it
        // still is. The view does not scroll to it: a row partly in view stays where
        // it is, under the pointer, for the second press of a double click.
        if (pressed->row >= 0) {
          HitRow = pressed->row;
          SG1.setCurrent(0, pressed->row, false);
        } else if (hit.valid() && hit.row >= SG1.fixedRows()) {
          SG1.setCurrent(0, hit.row, false);
        }
        if (button == ui::MouseButton::Right) return;  // the menu opens by itself
        // The radio gets one click sequence at a time: a press during one runs after
        // it, a second press of the same row (a double click) not at all.
        TheRadio().TuneToSpot({pressed->freq, pressed->call, pressed->rda, {}});
        HoldForSequence();
      },
      ui::Boundary::Silent);
}

void TVip::TuneRow(int row) {
  if (row < 1 || row >= SG1.rowCount() - 1) return;
  TheRadio().TuneToSpot({SG1.cell(1, row), SG1.cell(0, row), SG1.cell(2, row), {}});
  HoldForSequence();
}

void TVip::SG1MouseMove(ui::ShiftState, int, int y) {
  pointerOnGrid_ = true;
  ui::app().guard(
      [&] {
        const ui::GridCoord hit = SG1.mouseToCell(1, y);
        HitCol = hit.col;
        HitRow = hit.row;
        const std::string rda = hit.valid() ? SG1.cell(2, hit.row) : std::string();
        if (rda.size() != 5) return;
        // The region line is the row's hint, with how often and since when the
        // station was spotted and who spotted it last; it stays until another row
        // has one.
        const auto spotter = rowSpotters_.find(SG1.rowTag(hit.row));
        const std::string de = spotter == rowSpotters_.end() ? std::string() : texts::spotterNote(spotter->second);
        if (const auto line = core::regionLine(RegionList, rda)) {
          std::string hint(*line);
          if (const int data = hit.row - 1; data >= 0 && data < spotRows_.size())
            if (const std::string since = core::spotsSinceText(spotRows_.spotCount(data), spotRows_.firstTime(data));
                !since.empty())
              hint += " " + since;
          if (const auto v = rowVerdicts_.find(SG1.rowTag(hit.row)); v != rowVerdicts_.end())
            hint += texts::verdictNote(v->second.verdict, std::string(core::bandName(v->second.band)));
          hint += de;
          if (caption() != hint) setCaption(hint);
        } else if (!de.empty() && caption() != SG1.cell(0, hit.row) + de) {
          setCaption(SG1.cell(0, hit.row) + de);
        }
      },
      ui::Boundary::Silent);
}

void TVip::Font1Click() {
  if (!FontDialog1.execute(handle())) return;
  const ui::Font& f = FontDialog1.font;
  SG1.setFont(f);
  SG1.setDefaultRowHeight(f.size() + 8);
  // Only a plain bold survives in the settings.
  FontBold = f.bold && !f.italic && !f.underline && !f.strikeOut;
}

void TVip::Color1Click() {
  if (ColorDialog1.execute(handle())) SG1.setColor(ColorDialog1.color);
}

void TVip::FixedColor1Click() {
  if (ColorDialog1.execute(handle())) SG1.setFixedColor(ColorDialog1.color);
}

void TVip::MyCall1Click() {
  if (Form1) Form1->StartSetup();
}

void TVip::CLEAR1Click() {
  // Dropping the rows drops their texts; the title row stays. A press still in the
  // queue may name one of them.
  const ULONGLONG at = GetTickCount64();
  for (int row = 1; row < SG1.rowCount() - 1; ++row)
    if (const std::uint64_t tag = SG1.rowTag(row); pressJournal_.mayName(tag))
      pressJournal_.rowGone(core::Millis(at), tag, {SG1.cell(0, row), SG1.cell(1, row), SG1.cell(2, row)});
  SG1.setRowCount(1);
  SG1.setRowCount(2);
  SG1.notifyRow(EVENT_OBJECT_REORDER, 0);
  spotRows_.clear();
  rowVerdicts_.clear();
  rowSpotters_.clear();
  heldStale_.clear();
  viewBehind_ = false;
}

void TVip::ClearClose1Click() {
  CLEAR1Click();
  close();
}

void TVip::RbButton1Click() { TheRadio().TuneWithMode(Label1.caption(), Radio::Button::CW); }

void TVip::RbButton2Click() { TheRadio().TuneWithMode(Label1.caption(), Radio::Button::SSB); }

void TVip::RbButton4Click() {
  setBounds(left(), top(), SavedWidth, SavedHeight);
  // The grid view first: settings that cannot be written are reported at the
  // boundary, but do not keep the operator in the setup view. (What the screen
  // shows changes only when the click is over, after the writing.)
  RbPanel3.hide();
  RbPanel2.show();
  RbPanel1.setVisible(RbCheckBox3.Checked());
  WriteParams();
}
