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
constexpr int kBandWidth = 90;
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

  for (ui::Label* label : {&Totals, &Deleted, &Warning, &SelectedRegion}) {
    label->create(this, 0, 0, 10, kLineHeight, "");
    label->setCentred(false);
  }
  ui::Font bold = font();
  bold.bold = true;
  Totals.setFont(bold);
  ui::Font warning = font();
  warning.color = core::clRed;
  Warning.setFont(warning);
  SelectedRegion.setCaption(kNoRegion);

  // The band first: "Copy" stays next to the table in the tab order.
  std::vector<std::string> bands{"all bands"};
  for (int b = int(core::Band::m160); b < core::kBandCount; ++b) bands.emplace_back(core::bandName(core::Band(b)));
  BandChoice.create(this, 0, 0, kBandWidth, kButtonHeight, bands);
  BandChoice.OnChange = [this] { SetBand(core::Band(BandChoice.selected())); };
  Copy.create(this, 0, 0, kButtonWidth, kButtonHeight, "Copy");
  Regions.create(this, 0, 0, 10, 10);
  std::vector<ui::ListColumn> columns;
  const int widths[core::kProgressColumns] = {70, 240, 75, 55, 66, 50};
  for (int i = 0; i < core::kProgressColumns; ++i)
    columns.push_back({core::kProgressColumnTitles[i], widths[i], i >= int(core::ProgressColumn::Confirmed)});
  Regions.setColumns(columns);
  Needed.create(this, 0, 0, 10, 10);
  realign();

  Copy.OnClick = [this] { CopyClick(); };
  Regions.OnColumnClick = [this](int column) { RegionsColumnClick(column); };
  Regions.OnSelect = [this](int row) { RegionsSelectItem(row); };
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
    figures = core::countProgress(districts.view(), confirmations.view(), Band);
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
  const int before = Regions.selected();
  const std::string selectedRegion = before >= 0 ? Regions.cell(before, 0) : std::string();

  Totals.setCaption(Fault.empty() ? core::totalsLine(Figures.totals) : "");
  Deleted.setCaption(Fault.empty() ? core::deletedLine(Figures.totals) : "");
  Warning.setCaption(Fault.empty() ? core::unknownCodesLine(Figures.unknownCodes) : Fault);
  std::vector<std::vector<std::string>> rows;
  for (const core::RegionProgress& region : Figures.regions) rows.push_back(core::progressRow(region));
  Regions.setRows(rows);
  Regions.setSortMark(int(SortColumn), SortDescending);

  const auto again = std::find_if(rows.begin(), rows.end(), [&](const auto& row) { return row[0] == selectedRegion; });
  if (!selectedRegion.empty() && again != rows.end())
    Regions.select(int(again - rows.begin()));
  else
    RegionsSelectItem(-1);
}

void TProgress::FormActivate() { Refresh(); }

void TProgress::SetBand(core::Band band) {
  if (band == Band) return;
  Band = band;
  BandChoice.setSelected(int(band));
  Refresh();
}

void TProgress::FormClose(ui::CloseAction& action) { action = ui::CloseAction::Hide; }

void TProgress::RegionsColumnClick(int column) {
  const auto clicked = core::ProgressColumn(column);
  SortDescending = clicked == SortColumn && !SortDescending;
  SortColumn = clicked;
  core::sortRegions(Figures.regions, SortColumn, SortDescending);
  showFigures();
}

void TProgress::RegionsSelectItem(int row) {
  Needed.clear();
  if (row < 0 || row >= int(Figures.regions.size())) {
    SelectedRegion.setCaption(kNoRegion);
    return;
  }
  const core::RegionProgress& region = Figures.regions[std::size_t(row)];
  SelectedRegion.setCaption("Needed in " + region.letters + " (" + region.name + "): " + std::to_string(region.needed.size()));
  for (const core::NeededDistrict& district : region.needed) Needed.add(core::neededLine(district));
}

void TProgress::CopyClick() { ui::copyToClipboard(handle(), core::progressTable(Figures.regions)); }

void TProgress::arrange(RECT area, std::vector<Placement>& places) const {
  const int w = area.right - area.left, h = area.bottom - area.top;
  const int textWidth = std::max(w - 2 * kMargin, 0);
  const auto put = [&](const ui::Control& c, int left, int top, int width, int height) {
    places.push_back({const_cast<ui::Control*>(&c), {left, top, left + std::max(width, 0), top + std::max(height, 0)}});
  };
  const int labelWidth = std::max(textWidth - kButtonWidth - kMargin, 0);
  put(Copy, w - kMargin - kButtonWidth, kMargin - 2, kButtonWidth, kButtonHeight);
  // The band chosen stands above the table, at its right, under "Copy".
  // (A drop-down list's window holds its list's height too: one line a choice.)
  const int bandTop = kMargin + kButtonHeight;
  put(BandChoice, w - kMargin - kBandWidth, bandTop, kBandWidth, kButtonHeight + 16 * core::kBandCount);
  put(Totals, kMargin, kMargin, labelWidth, kLineHeight);
  put(Deleted, kMargin, kMargin + kLineHeight, std::max(labelWidth - kBandWidth, 0), kLineHeight);
  // The warning takes the whole width below the band's field, whose height the
  // system gives it by the font: it would paint over the field's lower part.
  const int warningTop = std::max(kMargin + 2 * kLineHeight, bandTop + BandChoice.fieldHeight() + 2);
  put(Warning, kMargin, warningTop, textWidth, kLineHeight);
  const int listTop = warningTop + kLineHeight + 4;
  // The needed districts take the lower third.
  const int neededHeight = std::max((h - listTop) / 3, 3 * kLineHeight);
  const int neededTop = h - kMargin - neededHeight;
  const int regionTop = neededTop - kLineHeight - 2;
  put(SelectedRegion, kMargin, regionTop, textWidth, kLineHeight);
  put(Regions, kMargin, listTop, textWidth, regionTop - 4 - listTop);
  put(Needed, kMargin, neededTop, textWidth, neededHeight);
}

std::vector<std::vector<std::string>> TProgress::TableRows() const {
  std::vector<std::vector<std::string>> rows(std::size_t(Regions.rowCount()));
  for (int r = 0; r < Regions.rowCount(); ++r)
    for (int c = 0; c < core::kProgressColumns; ++c) rows[std::size_t(r)].push_back(Regions.cell(r, c));
  return rows;
}

std::vector<std::string> TProgress::NeededLines() const {
  std::vector<std::string> lines;
  for (int i = 0; i < Needed.count(); ++i) lines.push_back(Needed.item(i));
  return lines;
}

HWND TProgress::PartWindow(Part part) const {
  switch (part) {
    case Part::Warning: return Warning.handle();
    case Part::Table: return Regions.handle();
    case Part::Needed: return Needed.handle();
    case Part::Copy: return Copy.handle();
    case Part::BandChoice: return BandChoice.handle();
  }
  return nullptr;
}

LRESULT TProgress::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_GETMINMAXINFO) {
    reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {kMinWidth, kMinHeight};
    return 0;
  }
  return ui::Form::handleMessage(msg, wParam, lParam);
}
