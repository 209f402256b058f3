#include "app/ProgressU.h"

#include <algorithm>

#include "app/Unit1.h"
#include "core/text_file.h"
#include "ui/clipboard.h"

TProgress* Progress = nullptr;

namespace {

constexpr int kMargin = 6;
constexpr int kLineHeight = 18;
constexpr int kButtonWidth = 75, kButtonHeight = 23;
constexpr int kMinWidth = 360, kMinHeight = 300;

const char* const kNoRegion = "Select a region to list the districts it still needs";

// Reads a reference file for one count; a file that cannot be read adds its reason
// to `fault` and gives no bytes.
core::FileBytes readForCount(const std::string& name, std::string& fault) {
  try {
    return core::readFileBytes(name);
  } catch (const std::exception& e) {
    fault += (fault.empty() ? "" : "  ") + std::string(e.what());
    return {};
  }
}

}  // namespace

TProgress::TProgress(const WindowPlace& place) {
  Progress = this;
  create({.className = "TProgress",
          .caption = "RDA Progress",
          .left = place.left,
          .top = place.top,
          .width = place.width,
          .height = place.height,
          .border = ui::BorderStyle::Sizeable,
          .minimizeBox = false,
          .maximizeBox = false});

  for (ui::Label* label : {&Label1, &Label2, &Label3, &Label4}) {
    label->create(this, 0, 0, 10, kLineHeight, "");
    label->setCentred(false);
  }
  ui::Font bold = font();
  bold.bold = true;
  Label1.setFont(bold);
  ui::Font warning = font();
  warning.color = core::clRed;
  Label3.setFont(warning);
  Label4.setCaption(kNoRegion);

  Button1.create(this, 0, 0, kButtonWidth, kButtonHeight, "Copy");
  ListView1.create(this, 0, 0, 10, 10);
  std::vector<ui::ListColumn> columns;
  const int widths[core::kProgressColumns] = {70, 240, 75, 55, 66, 50};
  for (int i = 0; i < core::kProgressColumns; ++i)
    columns.push_back({core::kProgressColumnTitles[i], widths[i], i >= int(core::ProgressColumn::Confirmed)});
  ListView1.setColumns(columns);
  ListBox1.create(this, 0, 0, 10, 10);
  placeControls();

  Button1.OnClick = [this] { Button1Click(); };
  ListView1.OnColumnClick = [this](int column) { ListView1ColumnClick(column); };
  ListView1.OnSelect = [this](int row) { ListView1SelectItem(row); };
  OnActivate = [this] { FormActivate(); };
  OnClose = [this](ui::CloseAction& action) { FormClose(action); };
}

TProgress::~TProgress() {
  if (Progress == this) Progress = nullptr;
}

void TProgress::Refresh() {
  std::string fault;
  const core::FileBytes districts = readForCount(files::kDistricts, fault);
  const core::FileBytes confirmations = readForCount(files::kConfirmations, fault);
  core::AwardProgress figures;
  if (fault.empty()) {
    figures = core::countProgress(districts.view(), confirmations.view());
    core::sortRegions(figures.regions, SortColumn, SortDescending);
  }
  // Activation brings the same figures again and again: the window stays as it is.
  if (figures == Figures && fault == Fault) return;
  Figures = std::move(figures);
  Fault = std::move(fault);
  showFigures();
}

void TProgress::RefreshIfShown() {
  if (visible()) Refresh();
}

void TProgress::showFigures() {
  // The region selected stays selected when it is still there.
  const int before = ListView1.selected();
  const std::string selectedRegion = before >= 0 ? ListView1.cell(before, 0) : std::string();

  Label1.setCaption(Fault.empty() ? core::totalsLine(Figures.totals) : "");
  Label2.setCaption(Fault.empty() ? core::deletedLine(Figures.totals) : "");
  Label3.setCaption(Fault.empty() ? core::unknownCodesLine(Figures.unknownCodes) : Fault);
  std::vector<std::vector<std::string>> rows;
  for (const core::RegionProgress& region : Figures.regions) rows.push_back(core::progressRow(region));
  ListView1.setRows(rows);
  ListView1.setSortMark(int(SortColumn), SortDescending);

  const auto again = std::find_if(rows.begin(), rows.end(), [&](const auto& row) { return row[0] == selectedRegion; });
  if (!selectedRegion.empty() && again != rows.end())
    ListView1.select(int(again - rows.begin()));
  else
    ListView1SelectItem(-1);
}

void TProgress::FormActivate() { Refresh(); }

void TProgress::FormClose(ui::CloseAction& action) { action = ui::CloseAction::Hide; }

void TProgress::ListView1ColumnClick(int column) {
  const auto clicked = core::ProgressColumn(column);
  SortDescending = clicked == SortColumn && !SortDescending;
  SortColumn = clicked;
  core::sortRegions(Figures.regions, SortColumn, SortDescending);
  showFigures();
}

void TProgress::ListView1SelectItem(int row) {
  ListBox1.clear();
  if (row < 0 || row >= int(Figures.regions.size())) {
    Label4.setCaption(kNoRegion);
    return;
  }
  const core::RegionProgress& region = Figures.regions[std::size_t(row)];
  Label4.setCaption("Needed in " + region.letters + " (" + region.name + "): " + std::to_string(region.needed.size()));
  for (const core::NeededDistrict& district : region.needed) ListBox1.add(core::neededLine(district));
}

void TProgress::Button1Click() { ui::copyToClipboard(handle(), core::progressTable(Figures.regions)); }

void TProgress::placeControls() {
  const int w = clientWidth(), h = clientHeight();
  const int textWidth = std::max(w - 2 * kMargin, 0);
  Button1.setBounds(w - kMargin - kButtonWidth, kMargin - 2, kButtonWidth, kButtonHeight);
  Label1.setBounds(kMargin, kMargin, std::max(textWidth - kButtonWidth - kMargin, 0), kLineHeight);
  Label2.setBounds(kMargin, kMargin + kLineHeight, Label1.width(), kLineHeight);
  Label3.setBounds(kMargin, kMargin + 2 * kLineHeight, textWidth, kLineHeight);
  const int listTop = kMargin + 3 * kLineHeight + 4;
  // The needed districts take the lower third.
  const int neededHeight = std::max((h - listTop) / 3, 3 * kLineHeight);
  const int neededTop = h - kMargin - neededHeight;
  Label4.setBounds(kMargin, neededTop - kLineHeight - 2, textWidth, kLineHeight);
  ListView1.setBounds(kMargin, listTop, textWidth, std::max(Label4.top() - 4 - listTop, 0));
  ListBox1.setBounds(kMargin, neededTop, textWidth, neededHeight);
}

LRESULT TProgress::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_GETMINMAXINFO) {
    reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {kMinWidth, kMinHeight};
    return 0;
  }
  const LRESULT result = ui::Form::handleMessage(msg, wParam, lParam);
  if (msg == WM_SIZE && ListBox1.handle()) placeControls();
  return result;
}
