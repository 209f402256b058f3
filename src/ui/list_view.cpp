#include "ui/list_view.h"

#include <commctrl.h>

#include <iterator>

#include "ui/application.h"
#include "ui/text.h"

namespace ui {

void ListView::create(Control* parent, int left, int top, int width, int height) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  createSystem(parent, WC_LISTVIEWW,
               WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE, left,
               top, width, height);
  SendMessageW(handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES,
               LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
}

void ListView::setColumns(const std::vector<ListColumn>& columns) {
  while (SendMessageW(handle(), LVM_DELETECOLUMN, 0, 0)) {
  }
  for (std::size_t i = 0; i < columns.size(); ++i) {
    std::wstring title = widen(columns[i].title);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = columns[i].rightAligned ? LVCFMT_RIGHT : LVCFMT_LEFT;
    column.cx = columns[i].width;
    column.pszText = title.data();
    column.iSubItem = int(i);
    SendMessageW(handle(), LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
}

int ListView::columnCount() const {
  HWND header = reinterpret_cast<HWND>(SendMessageW(handle(), LVM_GETHEADER, 0, 0));
  return header ? int(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

void ListView::setSortMark(int column, bool descending) {
  HWND header = reinterpret_cast<HWND>(SendMessageW(handle(), LVM_GETHEADER, 0, 0));
  for (int i = 0, n = columnCount(); i < n; ++i) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    SendMessageW(header, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    int format = item.fmt & ~(HDF_SORTUP | HDF_SORTDOWN);
    if (i == column) format |= descending ? HDF_SORTDOWN : HDF_SORTUP;
    if (format == item.fmt) continue;
    item.fmt = format;
    SendMessageW(header, HDM_SETITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
}

void ListView::setRows(const std::vector<std::vector<std::string>>& rows) {
  if (rows == rows_) return;
  rows_ = rows;
  filling_ = true;
  SendMessageW(handle(), WM_SETREDRAW, FALSE, 0);
  SendMessageW(handle(), LVM_DELETEALLITEMS, 0, 0);
  SendMessageW(handle(), LVM_SETITEMCOUNT, rows.size(), 0);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      std::wstring text = widen(rows[r][c]);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = int(r);
      item.iSubItem = int(c);
      item.pszText = text.data();
      SendMessageW(handle(), c == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
    }
  }
  SendMessageW(handle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(handle(), nullptr, TRUE);
  filling_ = false;
}

int ListView::rowCount() const { return int(SendMessageW(handle(), LVM_GETITEMCOUNT, 0, 0)); }

std::string ListView::cell(int row, int column) const {
  if (row < 0 || row >= rowCount()) return {};
  wchar_t buffer[1024] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = int(std::size(buffer));
  const LRESULT n = SendMessageW(handle(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  return narrow(std::wstring_view(buffer, std::size_t(n)));
}

int ListView::selected() const {
  return int(SendMessageW(handle(), LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
}

void ListView::select(int row) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(handle(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  SendMessageW(handle(), LVM_ENSUREVISIBLE, row, FALSE);
}

RECT ListView::rowRect(int row) const {
  RECT r{};
  r.left = LVIR_BOUNDS;
  SendMessageW(handle(), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
  return r;
}

void ListView::columnClicked(int column) {
  if (OnColumnClick) app().guard([&] { OnColumnClick(column); });
}

LRESULT ListView::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  // A quick second click on a column title reaches the header as a double click,
  // which the list view passes on as nothing: it counts as the click it is.
  if (msg == WM_NOTIFY) {
    const auto& notice = *reinterpret_cast<const NMHEADERW*>(lParam);
    if ((notice.hdr.code == HDN_ITEMDBLCLICKW || notice.hdr.code == HDN_ITEMDBLCLICKA) &&
        notice.hdr.hwndFrom == reinterpret_cast<HWND>(SendMessageW(handle(), LVM_GETHEADER, 0, 0)))
      columnClicked(notice.iItem);
  }
  return Control::handleMessage(msg, wParam, lParam);
}

bool ListView::onNotify(const NMHDR& header, LRESULT&) {
  if (header.code == LVN_COLUMNCLICK) {
    columnClicked(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
    return true;
  }
  if (header.code == LVN_ITEMCHANGED && !filling_) {
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if (!(change.uChanged & LVIF_STATE) || ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) == 0) return false;
    // A row that loses the selection while another holds it tells nothing new.
    const bool arrived = change.uNewState & LVIS_SELECTED;
    const int row = arrived ? change.iItem : selected();
    if (!arrived && row >= 0) return false;
    if (OnSelect) app().guard([&] { OnSelect(row); });
    return true;
  }
  return false;
}

}  // namespace ui
