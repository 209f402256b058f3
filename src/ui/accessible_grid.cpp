#include "ui/accessible_grid.h"

#include <string>

#include "ui/string_grid.h"
#include "ui/text.h"

namespace ui {

// {618736E0-3C3D-11CF-810C-00AA00389B71}
const IID kIID_IAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

namespace {

// {00020400-0000-0000-C000-000000000046}
const IID kIID_IDispatch = {0x00020400, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
// {00000000-0000-0000-C000-000000000046}
const IID kIID_IUnknown = {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

BSTR bstr(const std::string& cp1251) { return SysAllocString(screenText(cp1251).c_str()); }

class AccessibleGrid : public IAccessible {
 public:
  explicit AccessibleGrid(StringGrid& grid) : grid_(&grid) {}
  void gone() { grid_ = nullptr; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, kIID_IUnknown) || IsEqualIID(riid, kIID_IDispatch) || IsEqualIID(riid, kIID_IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return ULONG(left);
  }

  // IDispatch: readers use the interface's own methods.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!grid_) return CO_E_OBJNOTCONNECTED;
    return AccessibleObjectFromWindow(grid_->handle(), DWORD(OBJID_WINDOW), kIID_IDispatch,
                                      reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    if (!grid_) return CO_E_OBJNOTCONNECTED;
    *count = grid_->accessibleRows();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
    if (child) *child = nullptr;
    return grid_ ? S_FALSE : CO_E_OBJNOTCONNECTED;  // rows are simple elements
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return text(child, name, [this](int row) { return grid_->accessibleRowName(row); }, [this] {
      return grid_->AccessibleName;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override {
    if (value) *value = nullptr;
    return grid_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return text(child, description,
                [this](int row) { return grid_->AccessibleRowDescription ? grid_->AccessibleRowDescription(row) : std::string(); },
                [] { return std::string(); });
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    VariantInit(role);
    int row = 0;
    if (const HRESULT hr = rowOf(child, row); FAILED(hr)) return hr;
    role->vt = VT_I4;
    role->lVal = row ? ROLE_SYSTEM_ROW : ROLE_SYSTEM_TABLE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    VariantInit(state);
    int row = 0;
    if (const HRESULT hr = rowOf(child, row); FAILED(hr)) return hr;
    long s = STATE_SYSTEM_FOCUSABLE;
    if (row) {
      s |= STATE_SYSTEM_SELECTABLE;
      if (grid_->current().row == row) s |= STATE_SYSTEM_SELECTED | (grid_->focused() ? STATE_SYSTEM_FOCUSED : 0);
      const RECT r = grid_->cellRect(0, row);
      if (IsRectEmpty(&r)) s |= STATE_SYSTEM_OFFSCREEN | STATE_SYSTEM_INVISIBLE;
    } else if (grid_->focused()) {
      s |= STATE_SYSTEM_FOCUSED;
    }
    state->vt = VT_I4;
    state->lVal = s;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override {
    if (help) *help = nullptr;
    return grid_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return grid_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* shortcut) override {
    if (shortcut) *shortcut = nullptr;
    return grid_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    if (!grid_) return CO_E_OBJNOTCONNECTED;
    VariantInit(focus);
    if (!grid_->focused()) return S_FALSE;
    focus->vt = VT_I4;
    focus->lVal = childId(grid_->current().row);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    if (!grid_) return CO_E_OBJNOTCONNECTED;
    VariantInit(selection);
    const int row = grid_->current().row;
    if (row < 1 || row > rows()) return S_FALSE;
    selection->vt = VT_I4;
    selection->lVal = childId(row);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return text(child, action, [this](int) { return grid_->AccessibleRowAction; }, [] { return std::string(); });
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    int row = 0;
    if (const HRESULT hr = rowOf(child, row); FAILED(hr)) return hr;
    if (!row) return E_INVALIDARG;
    if (flags & (SELFLAG_TAKEFOCUS)) grid_->setFocus();
    if (flags & (SELFLAG_TAKESELECTION | SELFLAG_TAKEFOCUS)) grid_->setCurrent(0, row);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    int row = 0;
    if (const HRESULT hr = rowOf(child, row); FAILED(hr)) return hr;
    RECT r{};
    if (row) {
      const RECT first = grid_->cellRect(0, row), last = grid_->cellRect(grid_->colCount() - 1, row);
      r = {first.left, first.top, last.right, first.bottom};
    } else {
      GetClientRect(grid_->handle(), &r);
    }
    MapWindowPoints(grid_->handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    VariantInit(end);
    int row = 0;
    if (const HRESULT hr = rowOf(start, row); FAILED(hr)) return hr;
    int to = 0;
    switch (direction) {
      case NAVDIR_FIRSTCHILD: to = row == 0 && rows() > 0 ? 1 : 0; break;
      case NAVDIR_LASTCHILD: to = row == 0 ? rows() : 0; break;
      case NAVDIR_NEXT:
      case NAVDIR_DOWN: to = row > 0 && row < rows() ? row + 1 : 0; break;
      case NAVDIR_PREVIOUS:
      case NAVDIR_UP: to = row > 1 ? row - 1 : 0; break;
      default: break;
    }
    if (!to) return S_FALSE;
    end->vt = VT_I4;
    end->lVal = childId(to);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    if (!child) return E_POINTER;
    if (!grid_) return CO_E_OBJNOTCONNECTED;
    VariantInit(child);
    POINT pt{x, y};
    ScreenToClient(grid_->handle(), &pt);
    RECT client{};
    GetClientRect(grid_->handle(), &client);
    if (!PtInRect(&client, pt)) return S_FALSE;
    const GridCoord cell = grid_->mouseToCell(pt.x, pt.y);
    child->vt = VT_I4;
    child->lVal = cell.valid() ? childId(cell.row) : CHILDID_SELF;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    int row = 0;
    if (const HRESULT hr = rowOf(child, row); FAILED(hr)) return hr;
    if (!row || !grid_->OnRowAction) return DISP_E_MEMBERNOTFOUND;
    grid_->OnRowAction(row);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  virtual ~AccessibleGrid() = default;

  // The data rows: all but the title row and the empty slot.
  int rows() const { return grid_->accessibleRows(); }
  // A data row's child id stays the row's own while it lives (see StringGrid): a
  // reader that acts on a child after rows above it went acts on the row it read,
  // or fails once that row is gone.
  long childId(int row) const { return row >= 1 && row <= rows() ? grid_->accessibleId(row) : CHILDID_SELF; }

  HRESULT rowOf(const VARIANT& child, int& row) const {
    if (!grid_) return CO_E_OBJNOTCONNECTED;
    if (child.vt != VT_I4) return E_INVALIDARG;
    if (child.lVal == CHILDID_SELF) {
      row = 0;
      return S_OK;
    }
    const int found = grid_->rowWithAccessibleId(child.lVal);
    if (found < 1 || found > rows()) return E_INVALIDARG;
    row = found;
    return S_OK;
  }

  template <class RowText, class SelfText>
  HRESULT text(const VARIANT& child, BSTR* out, RowText rowText, SelfText selfText) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    int row = 0;
    if (const HRESULT hr = rowOf(child, row); FAILED(hr)) return hr;
    const std::string t = row ? rowText(row) : selfText();
    if (t.empty()) return S_FALSE;
    *out = bstr(t);
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  LONG refs_ = 1;
  StringGrid* grid_;
};

}  // namespace

IAccessible* newAccessibleGrid(StringGrid& grid) { return new AccessibleGrid(grid); }

void gridGone(IAccessible* accessible) {
  if (!accessible) return;
  static_cast<AccessibleGrid*>(accessible)->gone();
  accessible->Release();
}

}  // namespace ui
