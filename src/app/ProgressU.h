// The award progress window: per region the confirmed, active and needed districts
// counted from the district list and the confirmations, the totals, and the needed
// districts of the region selected. An ordinary window, not on top; closing it only
// hides it.
#pragma once

#include <string>

#include "core/award_progress.h"
#include "ui/button.h"
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

  ui::Label Label1;        // the totals
  ui::Label Label2;        // confirmed deleted districts
  ui::Label Label3;        // confirmed codes the list lacks, or why nothing is counted
  ui::Button Button1;      // "Copy"
  ui::ListView ListView1;  // one row per region
  ui::Label Label4;        // the selected region
  ui::ListBox ListBox1;    // its needed districts

  // Reads both files afresh and shows what they give. A file that cannot be read
  // shows its reason in the window: this runs at every activation, and a message
  // box each time would lock the operator out.
  void Refresh();
  // After a download: a hidden window refreshes when it is shown.
  void RefreshIfShown();

  void FormActivate();
  void FormClose(ui::CloseAction& action);
  void ListView1ColumnClick(int column);
  void ListView1SelectItem(int row);
  void Button1Click();

  core::AwardProgress Figures;  // as shown, the regions in the table's order
  std::string Fault;            // why there are no figures; empty when there are
  core::ProgressColumn SortColumn = core::ProgressColumn::Region;
  bool SortDescending = false;

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void placeControls();
  void showFigures();
};

extern TProgress* Progress;
