#include "ui/gdi.h"

#include <algorithm>
#include <map>
#include <utility>

#include "ui/device_context.h"
#include "ui/text.h"

namespace ui {

COLORREF colorRef(core::Color c) {
  if (core::isSystemColor(c)) return GetSysColor(core::systemColorIndex(c));
  return c & 0xFFFFFF;
}

namespace {
// At most this many of each are kept; the whole cache goes when it fills.
constexpr std::size_t kCacheLimit = 64;

template <class Key>
HGDIOBJ cached(std::map<Key, GdiHandle>& cache, const Key& key, HGDIOBJ (*make)(const Key&)) {
  if (const auto it = cache.find(key); it != cache.end()) return it->second.get();
  if (cache.size() >= kCacheLimit) cache.clear();
  return cache.emplace(key, GdiHandle(make(key))).first->second.get();
}
}  // namespace

HBRUSH solidBrush(core::Color c) {
  static std::map<COLORREF, GdiHandle> brushes;
  return static_cast<HBRUSH>(
      cached<COLORREF>(brushes, colorRef(c), [](const COLORREF& rgb) -> HGDIOBJ { return CreateSolidBrush(rgb); }));
}

HPEN solidPen(int width, core::Color c) {
  static std::map<std::pair<int, COLORREF>, GdiHandle> pens;
  return static_cast<HPEN>(cached<std::pair<int, COLORREF>>(pens, {width, colorRef(c)}, [](const auto& k) -> HGDIOBJ {
    return CreatePen(PS_SOLID, k.first, k.second);
  }));
}

namespace {
int screenDpi() {
  const ScreenDc screen;
  const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
  return dpi > 0 ? dpi : 96;
}
}  // namespace

int Font::size() const { return MulDiv(height, 72, screenDpi()); }
void Font::setSize(int points) { height = MulDiv(points, screenDpi(), 72); }

void drawCentredText(HDC dc, RECT r, HFONT font, COLORREF color, std::string_view text, bool centred) {
  const SelectedObject selected(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  const std::wstring wide = widen(text);
  // Text from the left edge that does not fit ends in an ellipsis, not mid-letter.
  const UINT horizontal = centred ? DT_CENTER : DT_LEFT | DT_END_ELLIPSIS;
  DrawTextW(dc, wide.c_str(), int(wide.size()), &r, horizontal | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

GdiHandle Font::create() const {
  const std::wstring face = widen(name);
  // No screen shows a character taller than this; a larger size asked for is kept by
  // its owner and drawn at this one.
  const int shown = std::clamp(height, -2048, 2048);
  return GdiHandle(CreateFontW(-shown, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, underline, strikeOut,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
}

}  // namespace ui
