// accprobe: what a screen reader gets from ruDOZ, taken from another process as a
// reader takes it.
//   accprobe rows              the spot grid's rows: "children N", then one line per
//                              row: "row I<TAB>name<TAB>description<TAB>action"
//   accprobe do I              runs row I's default action
//   accprobe bar               the main window's verdict bar: "bar<TAB>name"
//   accprobe watch FILE        writes the events ruDOZ's windows raise to FILE, one
//                              line each: "event<TAB>HEX<TAB>class<TAB>child<TAB>name",
//                              after a first line "ready"; until ruDOZ's main window
//                              is gone or 10 minutes have passed
// Output is UTF-8. Exit code 0 on success, 1 with a line on stderr otherwise.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <string>

namespace {

// Linked statically, the import library's IID_IAccessible is a thunk, not the GUID.
const IID kIID_IAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

std::string utf8(const wchar_t* s) {
  if (!s || !*s) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, s, -1, nullptr, 0, nullptr, nullptr);
  std::string out(std::size_t(n > 0 ? n - 1 : 0), '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, s, -1, out.data(), n, nullptr, nullptr);
  return out;
}

std::string take(BSTR b) {
  std::string s = utf8(b);
  SysFreeString(b);
  return s;
}

struct Failure {
  std::string what;
};

HWND topWindow(const wchar_t* cls) {
  HWND w = FindWindowW(cls, nullptr);
  if (!w) throw Failure{"no window of class " + utf8(cls)};
  return w;
}

HWND childWindow(HWND parent, const wchar_t* cls) {
  struct Search {
    const wchar_t* cls;
    HWND found;
  } search{cls, nullptr};
  EnumChildWindows(
      parent,
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        wchar_t name[64] = {};
        GetClassNameW(w, name, 64);
        if (lstrcmpW(name, s->cls) != 0 || !IsWindowVisible(w)) return TRUE;
        s->found = w;
        return FALSE;
      },
      LPARAM(&search));
  if (!search.found) throw Failure{"no visible child of class " + utf8(cls)};
  return search.found;
}

IAccessible* objectOf(HWND w, LONG part = OBJID_CLIENT) {
  IAccessible* object = nullptr;
  const HRESULT hr =
      AccessibleObjectFromWindow(w, DWORD(part), kIID_IAccessible, reinterpret_cast<void**>(&object));
  if (FAILED(hr) || !object) {
    char code[32];
    std::snprintf(code, sizeof code, "0x%08lx", static_cast<unsigned long>(hr));
    throw Failure{std::string("AccessibleObjectFromWindow failed: ") + code};
  }
  return object;
}

VARIANT child(long id) {
  VARIANT v{};
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

int rows() {
  IAccessible* table = objectOf(childWindow(topWindow(L"TVip"), L"TStringGrid"));
  long count = 0;
  table->get_accChildCount(&count);
  std::printf("children %ld\n", count);
  // The rows as a reader walks them: each child id is that row's own, not its place.
  VARIANT at{};
  for (long i = 0; i < count && table->accNavigate(i ? NAVDIR_NEXT : NAVDIR_FIRSTCHILD, i ? at : child(CHILDID_SELF),
                                                   &at) == S_OK && at.vt == VT_I4;
       ++i) {
    BSTR name = nullptr, description = nullptr, action = nullptr;
    table->get_accName(at, &name);
    table->get_accDescription(at, &description);
    table->get_accDefaultAction(at, &action);
    const std::string n = take(name), d = take(description), a = take(action);
    std::printf("row %ld\t%s\t%s\t%s\n", at.lVal, n.c_str(), d.c_str(), a.c_str());
  }
  table->Release();
  return 0;
}

int doDefault(long row) {
  IAccessible* table = objectOf(childWindow(topWindow(L"TVip"), L"TStringGrid"));
  const HRESULT hr = table->accDoDefaultAction(child(row));
  table->Release();
  if (FAILED(hr)) throw Failure{"accDoDefaultAction failed"};
  std::printf("done %ld\n", row);
  return 0;
}

int bar() {
  IAccessible* object = objectOf(childWindow(topWindow(L"TForm1"), L"ruDOZ.StatusBar"));
  BSTR name = nullptr;
  object->get_accName(child(CHILDID_SELF), &name);
  std::printf("bar\t%s\n", take(name).c_str());
  object->Release();
  return 0;
}

FILE* events = nullptr;

void CALLBACK heard(HWINEVENTHOOK, DWORD event, HWND w, LONG object, LONG id, DWORD, DWORD) {
  if (object != OBJID_CLIENT && object != OBJID_WINDOW) return;
  wchar_t cls[64] = {};
  GetClassNameW(w, cls, 64);
  std::string name;
  IAccessible* source = nullptr;
  VARIANT which{};
  // The name as a reader asks for it on hearing the event (rows destroyed have none).
  if (event != EVENT_OBJECT_DESTROY &&
      SUCCEEDED(AccessibleObjectFromEvent(w, DWORD(object), DWORD(id), &source, &which)) && source) {
    BSTR b = nullptr;
    if (SUCCEEDED(source->get_accName(which, &b))) name = take(b);
    source->Release();
  }
  std::fprintf(events, "event\t%04lx\t%s\t%ld\t%s\n", static_cast<unsigned long>(event), utf8(cls).c_str(), long(id),
               name.c_str());
  std::fflush(events);
}

int watch(const wchar_t* path) {
  HWND main = topWindow(L"TForm1");
  DWORD pid = 0;
  GetWindowThreadProcessId(main, &pid);
  events = _wfopen(path, L"wb");
  if (!events) throw Failure{"cannot write " + utf8(path)};
  HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_NAMECHANGE, nullptr, &heard, pid, 0, WINEVENT_OUTOFCONTEXT);
  if (!hook) throw Failure{"SetWinEventHook failed"};
  std::fputs("ready\n", events);
  std::fflush(events);
  SetTimer(nullptr, 0, 200, nullptr);
  const ULONGLONG end = GetTickCount64() + 10 * 60 * 1000;
  MSG msg;
  while (IsWindow(main) && GetTickCount64() < end && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  UnhookWinEvent(hook);
  std::fclose(events);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  try {
    if (command == L"rows" && argc == 2) return rows();
    if (command == L"do" && argc == 3) return doDefault(std::wcstol(argv[2], nullptr, 10));
    if (command == L"bar" && argc == 2) return bar();
    if (command == L"watch" && argc == 3) return watch(argv[2]);
    std::fputs("usage: accprobe rows | do ROW | bar | watch FILE\n", stderr);
    return 2;
  } catch (const Failure& f) {
    std::fprintf(stderr, "accprobe: %s\n", f.what.c_str());
    return 1;
  }
}
