// The system's list view in its report form: column titles the operator clicks,
// rows of text cells, whole-row single selection. Texts are Windows-1251.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/control.h"

namespace ui {

struct ListColumn {
  std::string title;
  int width = 60;
  bool rightAligned = false;
};

class ListView : public Control {
 public:
  void create(Control* parent, int left, int top, int width, int height);

  void setColumns(const std::vector<ListColumn>& columns);
  int columnCount() const;
  // Marks the column the rows are sorted by with the header's arrow; -1 for none.
  void setSortMark(int column, bool descending);

  // Replaces every row; the same rows again change nothing. The selection is
  // cleared without an OnSelect.
  void setRows(const std::vector<std::vector<std::string>>& rows);
  int rowCount() const;
  // What the control holds (and so shows) in a cell; empty outside the rows.
  std::string cell(int row, int column) const;

  // The selected row, -1 for none. select() brings the row into view and runs
  // OnSelect as a click on it does.
  int selected() const;
  void select(int row);

  // Where a row lies, in the list view's client area.
  RECT rowRect(int row) const;

  std::function<void(int column)> OnColumnClick;
  std::function<void(int row)> OnSelect;  // the newly selected row, -1 when none is

 protected:
  bool onNotify(const NMHDR& header, LRESULT& result) override;
  LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void columnClicked(int column);

  std::vector<std::vector<std::string>> rows_;
  bool filling_ = false;
};

}  // namespace ui
