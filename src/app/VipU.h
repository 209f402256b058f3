// The spot list window: the spots worth working, coloured by how wanted their
// district is, one click from the radio; its setup panel with the options and the
// download buttons; the frequency panel; and the settings file it owns.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <unordered_map>
#include <optional>
#include <string>
#include <vector>

#include "controls/RbButton.h"
#include "controls/RbCheckBox.h"
#include "app/ProgressU.h"
#include "controls/RbPanel.h"
#include "core/palette.h"
#include "core/press_journal.h"
#include "core/spot.h"
#include "core/spot_list_options.h"
#include "core/text_file.h"
#include "ui/common_dialogs.h"
#include "ui/download.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/popup_menu.h"
#include "ui/sound.h"
#include "ui/string_grid.h"
#include "ui/timer.h"
#include "ui/tool_tips.h"
#include "app/ClusterIntake.h"
#include "app/VipOptions.h"

// How a spot comes to the spot list: from Logger32 or typed, from a skimmer or an
// operator, and what the verdict said (a worked district's row has a colour of its
// own).
struct ListedAs {
  core::SpotOrigin origin = core::SpotOrigin::Logger32;
  bool skimmer = false;
  core::Verdict verdict = core::Verdict::New;
  std::string spotter = {};  // named in the row's hover title
};

class TVip : public ui::Form {
 public:
  TVip();
  ~TVip() override;

  // The setup panel's own callsign and options.
  std::string MyCall() const { return Edit1.text(); }
  void SetMyCall(const std::string& call) { Edit1.setText(call); }
  bool AlwaysUpdate() const { return RbCheckBox1.Checked(); }
  void SetAlwaysUpdate(bool on) { RbCheckBox1.setChecked(on); }
  // The option for Russian stations only.
  bool RussOnly() const { return RbCheckBox2.Checked(); }
  void SetRussOnly(bool on) { RbCheckBox2.setChecked(on); }
  bool QrgPanel() const { return RbCheckBox3.Checked(); }
  void SetQrgPanel(bool on) { RbCheckBox3.setChecked(on); }

  // The grid as it stands: row 0 is the title row, the last row the empty slot.
  int RowCount() const { return SG1.rowCount(); }
  std::string Cell(int col, int row) const { return SG1.cell(col, row); }
  int TopRow() const { return SG1.topRow(); }
  int VisibleRowCount() const { return SG1.visibleRowCount(); }
  ui::GridCoord CurrentCell() const { return SG1.current(); }
  // A cell's rectangle in the grid's client area (where presses are given), and the
  // cell under a point of it.
  RECT CellRect(int col, int row) const { return SG1.cellRect(col, row); }
  ui::GridCoord CellAt(int x, int y) const { return SG1.mouseToCell(x, y); }
  // The grid's look, as the operator sets it up.
  int ColWidth(int col) const { return SG1.colWidth(col); }
  void SetColWidth(int col, int pixels) { SG1.setColWidth(col, pixels); }
  int RowHeight() const { return SG1.defaultRowHeight(); }
  const ui::Font& GridFont() const { return SG1.font(); }
  void SetGridFont(const ui::Font& font) { SG1.setFont(font); }
  core::Color GridColor() const { return SG1.color(); }
  void SetGridColor(core::Color color) { SG1.setColor(color); }
  core::Color GridFixedColor() const { return SG1.fixedColor(); }
  void SetGridFixedColor(core::Color color) { SG1.setFixedColor(color); }

  // The colours of the rows (the system's while Windows is in high contrast).
  void SetPalette(core::Palette palette);
  core::Palette Palette() const { return palette_; }

  // The views and the frequency strip.
  bool SetupViewShown() const { return RbPanel3.visible(); }
  bool GridViewShown() const { return RbPanel2.visible(); }
  bool FrequencyPanelShown() const { return RbPanel1.visible(); }
  std::string FrequencyText() const { return Label1.caption(); }
  // The windows of its parts, for what the screen shows there, and their hints.
  enum class Part { Grid, FrequencyLabel, CwButton, SsbButton, CfmButton, AlwaysUpdateBox, RussOnlyBox, QrgPanelBox };
  HWND PartWindow(Part part) const;
  std::string HintOf(Part part) const;

  int HitRow = -1, HitCol = -1;       // the grid cell last found under the mouse
  int SavedWidth = 0, SavedHeight = 0;  // the normal size while the setup view shows
  bool FontBold = false;
  core::TextList RegionList;  // "QJreg.txt", sorted, read once at creation

  // Base addresses (scheme and host) of the confirmation service and of the award's
  // web server, from the settings; empty until the operator sets them.
  std::string CfmServer, RdaServer;

  // The progress window's place and size from the settings, until it exists.
  WindowPlace ProgressPlace;

  // Fetches url into file; the old file stays unless the whole answer arrived and
  // is what the file holds. A failure throws, its message made by `failed` from the
  // reason.
  void DownLoadFile(const std::string& url, const std::string& file,
                    const std::function<std::string(const std::string& reason)>& failed);
  // Cuts the downloaded regions page down into "QJreg.txt". A page that gives no
  // region list throws and leaves "QJreg.txt" as it was.
  void MostWont();
  // Reads "QJreg.txt" into RegionList (empty when it cannot be read, which throws)
  // and gives the rows listed so far their Most Wanted values.
  void LoadRegionList();
  // Fetches the map of a map code and shows it in the map window; a failure throws,
  // with the whole story in one message.
  bool LoadMap(const std::string& mapCode);

  void FormCreate();
  void FormActivate();
  void FormClose(ui::CloseAction& action);
  void FormResize() {}

  // What the other windows ask of this one.
  // The setup view: the normal size is kept for "Ok", the window takes the setup
  // size and shows the setup panel.
  void EnterSetupView();
  // The grid view, at whatever size the window has.
  void ShowGridView();
  // The radio's frequency as the frequency panel shows it.
  void ShowFrequency(const std::string& text);
  // Appends a spot in the empty last row and keeps the newest row in view. With an
  // age limit set, a spot already older than it (a cluster's backlog) is not listed.
  void AddSpot(const std::string& call, const std::string& freq, const std::string& rda, const std::string& time,
               ListedAs as = {});
  // The district's Most Wanted percentage; 0 without a region line.
  double MwValue(const std::string& rda) const;

  void SG1DrawCell(ui::Canvas& canvas, int col, int row, RECT rect, ui::GridDrawState state);
  void SG1MouseDown(ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void SG1MouseMove(ui::ShiftState shift, int x, int y);

  void Font1Click();
  void Color1Click();
  void FixedColor1Click();
  void MyCall1Click();
  void ShowMap1Click();
  void CLEAR1Click();
  void ClearClose1Click();

  void RbButton1Click();
  void RbButton2Click();
  // The reference downloads of the setup panel.
  void RbButton3Click();  // own confirmations into "QJcfm.txt"
  void RbButton5Click();  // district list into "QJar.txt"
  void RbButton6Click();  // regions page, then MostWont
  void RbButton4Click();

  // The settings file "qjSetup.ini" beside the program.
  static std::string SettingsPath();
  static std::wstring SettingsPathW();
  void ReadParams();
  // Throws "Unable to write to <path>" when a key cannot be written.
  void WriteParams();

  // Closes the window as the main window's closing does: a settings file that
  // cannot be written is not reported.
  void closeQuietly();

  // --- A contest evening: repeats merged, old rows removed, listing without the
  // focus, the alert sound (the keys after the others in the settings file; the
  // dialog under "Options…" in the menu's "Setup").
  core::SpotListOptions ContestOptions;
  // The DX cluster's settings (the options dialog's and the settings file's).
  ClusterSettings ClusterOptions;
  std::unique_ptr<TOptions> OptionsDialog;  // made when first opened
  void Options1Click();
  // Once a minute: rows older than MaxAgeMinutes go.
  static constexpr unsigned kAgeCheckMs = 60000;
  // Under a flood of spots the rows are drawn at most this often, the rows of every
  // spot that came meanwhile together; at a human pace every spot at once.
  static constexpr int kDrawPaceMs = 100;
  void Timer1Timer();
  // The clock of merging, ageing and the sound, in milliseconds, and the time of day
  // in UTC that spot times are read against (milliseconds since midnight); tests
  // set their own.
  std::function<core::Millis()> Now = [] { return core::Millis(GetTickCount64()); };
  std::function<core::Millis()> UtcNow = [] {
    SYSTEMTIME t{};
    GetSystemTime(&t);
    return core::Millis(((t.wHour * 60 + t.wMinute) * 60 + t.wSecond) * 1000 + t.wMilliseconds);
  };
  ui::AlertSound Sound;

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  // Panels: setup on top, frequency at the bottom, the grid in between.
  TRbPanel RbPanel3;
  TRbPanel RbPanel1;
  TRbPanel RbPanel2;

  // The setup panel.
  ui::Edit Edit1;  // own callsign
  TRbButton RbButton3;  // "Обновить qjCFM"
  TRbCheckBox RbCheckBox1;  // AlwaysUpdate
  TRbCheckBox RbCheckBox2;  // RussOnly, read by the link window's spot intake
  TRbCheckBox RbCheckBox3;  // QrgPanel
  TRbButton RbButton6;  // "Обновить Most Wanted"
  TRbButton RbButton5;  // "Обновить Список Районов (qjAR)"
  TRbButton RbButton4;  // "Ok"

  // The frequency panel.
  TRbButton RbButton1;  // "CW"
  TRbButton RbButton2;  // "SSB"
  ui::Label Label1;     // the radio's frequency, written by the link window

  ui::StringGrid SG1;
  ui::PopupMenu PopupMenu1;
  ui::MenuItem Setup1, Font1, Color1, FixedColor1, MyCall1;
  ui::MenuItem ShowMap1, CLEAR1, ClearClose1;
  ui::FontDialog FontDialog1;
  ui::ColorDialog ColorDialog1;
  ui::ToolTips Hints;
  ui::MenuItem Options1;
  ui::Timer Timer1;  // the ageing check, once a minute


  void createSetupPanel();
  void createFrequencyPanel();
  void createGrid();
  void createMenu();

  bool quietClose_ = false;

  // A row as the operator pressed it: what goes to Logger32, whatever the grid holds
  // by the time it goes out.
  struct SpotClick {
    std::string call, freq, rda;
    int row = -1;  // where the row stands now; -1 once it has gone
  };
  // The row that stood under y when the button went down at `at` (tick count; none:
  // now). Nothing for the title row; empty texts for the empty slot.
  std::optional<SpotClick> PressedRow(std::optional<ULONGLONG> at, int y) const;
  // What the screen shows from now on, for presses still in the queue: recorded as
  // the rows are drawn, never a view that exists only in the rows' model.
  void RecordView();
  core::PressJournal pressJournal_;
  std::uint64_t nextRowTag_ = 1;

  // What the operator's hand rests on does not move. While the pointer is over the
  // grid, rows that age out or merge away go only from above the view, where their
  // going leaves the view as it was; those in view wait (heldStale_, the ageing), and
  // the view does not scroll to new rows (viewBehind_). They go, and the view
  // catches up, once the pointer has left. (Rows going below the pointer would let
  // the grid pull the view down to fill its foot: the row under the pointer would
  // move all the same.)
  bool HandOnGrid();
  // What waited for a click sequence goes once it is over.
  void HoldForSequence();
  bool Held(int row, bool hand) const { return hand && row >= SG1.topRow(); }
  void TidyRows();
  void KeepNewestInView();
  bool pointerOnGrid_ = false;
  bool viewBehind_ = false;
  std::vector<std::uint64_t> heldStale_;

  // A row's click sequence at its present texts (Enter on the selected row, a
  // screen reader's default action).
  void TuneRow(int row);
  bool mergedSelected_ = false;  // the selected row merged into the one being listed

  // What the operator asks for while a click sequence runs (a menu, a download)
  // opens after it: true when it was put off.
  bool AfterClicks(std::function<void()> action);

  // What ReadParams found for each key of the file: the text the file holds and the
  // value it gave, so that an unchanged value is written back in the file's own
  // spelling. None for a key the file lacked.
  struct KeyRead {
    std::string file;
    std::string value;
  };
  std::vector<std::optional<KeyRead>> settingsRead_;
  // The settings file held the key at the start.
  bool SettingRead(const char* name) const;
  // At a first start, without widths in the settings, the columns fit what they hold
  // at the grid's font, and the window all five.
  void FitColumnsToContent();
  // The contest options at work (VipContest.cpp).
  void ApplyOptions();
  void ShowWithoutFocus();
  // Before a spot takes the empty row: the aged rows go, and so does the row the
  // spot merges into (the spot then takes its place as the newest row); the row it
  // takes is indexed, and the alert may sound. Only spots from Logger32 merge: a
  // typed callsign is listed with another spot's frequency.
  // A late spot leaves its row's frequency and time as they were: those are
  // answered, to be written into the row the spot takes.
  struct KeptTexts {
    std::string freq, time;
  };
  std::optional<KeptTexts> SpotArrives(const core::ListedSpot& spot, core::Millis now, const ListedAs& as, bool hand);
  void AgeRows(core::Millis now, bool hand);
  void RemoveRows(int first, int count);
  core::SpotRows spotRows_;  // one per data row of SG1, in its order
  // What the verdict said of a row and the band of its spot, by the row's tag: a
  // worked district's row in its own colour, a new band named in its hint.
  struct RowVerdict {
    core::Verdict verdict;
    core::Band band;
  };
  std::unordered_map<std::uint64_t, RowVerdict> rowVerdicts_;
  std::unordered_map<std::uint64_t, std::string> rowSpotters_;  // by the row's tag
  core::Palette palette_ = core::Palette::Described;
  core::AlertThrottle soundThrottle_;
};

extern TVip* Vip;
