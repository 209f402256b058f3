// The award progress window: per region the confirmed, active and needed districts
// counted from the district list and the confirmations, the totals, and the needed
// districts of the region selected. An ordinary window, not on top; closing it only
// hides it.
#pragma once

#include <string>
#include <vector>

#include "core/award_progress.h"
#include "ui/button.h"
#include "ui/combo_box.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/list_box.h"
#include "ui/list_view.h"

// Where the window lies and how big it is, as the settings file keeps it.
struct WindowPlace {
  int left = 300, top = 120, width = 620, height = 520;
};

class TProgress : public ui::Form {
 public:
  explicit TProgress(const WindowPlace& place = {});
  ~TProgress() override;

  // What the window shows: the totals, the confirmed deleted districts, the warning
  // (confirmed codes the list lacks, or why nothing is counted), the table's rows,
  // the selected region and its needed districts.
  std::string TotalsText() const { return Totals.caption(); }
  std::string DeletedText() const { return Deleted.caption(); }
  std::string WarningText() const { return Warning.caption(); }
  std::vector<std::vector<std::string>> TableRows() const;
  int SelectedRow() const { return Regions.selected(); }
  std::string SelectedRegionText() const { return SelectedRegion.caption(); }
  std::vector<std::string> NeededLines() const;
  // The windows of its parts, for what the screen shows and the operator clicks.
  enum class Part { Warning, Table, Needed, Copy, BandChoice };
  HWND PartWindow(Part part) const;
  // A table row's rectangle in the table's client area.
  RECT TableRowRect(int row) const { return Regions.rowRect(row); }

  // Reads both files afresh and shows what they give. A file that cannot be read
  // shows its reason in the window: this runs at every activation, and a message
  // box each time would lock the operator out.
  void Refresh();
  // After a download: a hidden window refreshes when it is shown.
  void RefreshIfShown();

  void FormActivate();
  void FormClose(ui::CloseAction& action);
  void RegionsColumnClick(int column);
  void RegionsSelectItem(int row);
  void CopyClick();

  core::AwardProgress Figures;  // as shown, the regions in the table's order
  std::string Fault;            // why there are no figures; empty when there are
  core::ProgressColumn SortColumn = core::ProgressColumn::Region;
  // The band counted: None for all bands (the confirmations of one band need the
  // service's CSV, which names them).
  core::Band Band = core::Band::None;
  void SetBand(core::Band band);
  bool SortDescending = false;

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  // The lines of text on top, the table, and the needed districts in the lower third.
  void arrange(RECT area, std::vector<Placement>& places) const override;

 private:
  void showFigures();

  ui::ComboBox BandChoice;  // "all bands", or one band of the confirmations
  ui::Label Totals;
  ui::Label Deleted;
  ui::Label Warning;  // in red
  ui::Button Copy;
  ui::ListView Regions;  // one row per region
  ui::Label SelectedRegion;
  ui::ListBox Needed;    // the selected region's needed districts
};

extern TProgress* Progress;
