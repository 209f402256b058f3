// The toolkit's own rules that no window of the program shows directly: wrapped
// system controls keep their class's cleanup, and the silent error boundary.
#include <gtest/gtest.h>

#include <stdexcept>

#include "support.h"
#include "ui/application.h"
#include "ui/edit.h"
#include "ui/form.h"

namespace {

// An EDIT superclass whose class procedure notes that its window is gone, as the
// EDIT class frees its storage there.
WNDPROC editClassProc = nullptr;
int classSawNcDestroy = 0;

LRESULT CALLBACK notingEditProc(HWND w, UINT m, WPARAM wParam, LPARAM lParam) {
  if (m == WM_NCDESTROY) ++classSawNcDestroy;
  return CallWindowProcW(editClassProc, w, m, wParam, lParam);
}

const wchar_t* notingEditClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    GetClassInfoExW(nullptr, L"EDIT", &wc);
    editClassProc = wc.lpfnWndProc;
    wc.lpfnWndProc = &notingEditProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"NotingEdit";
    return RegisterClassExW(&wc) != 0;
  }();
  return registered ? L"NotingEdit" : nullptr;
}

class WrappedEdit : public ui::Control {
 public:
  void create(Control* parent, bool ansi) {
    createSystem(parent, notingEditClass(), WS_VISIBLE, 0, 0, 0, 60, 20, ansi);
  }
};

class TestWindow : public ui::Form {
 public:
  TestWindow() { create({.className = "ToolkitTest", .caption = "toolkit"}); }
};

TEST(WrappedSystemControl, ItsClassProcedureSeesTheWindowDestroyed) {
  TestWindow window;
  for (bool ansi : {false, true}) {
    SCOPED_TRACE(ansi ? "ANSI" : "Unicode");
    classSawNcDestroy = 0;
    {
      WrappedEdit edit;
      edit.create(&window, ansi);
      ASSERT_NE(edit.handle(), nullptr);
      EXPECT_EQ(IsWindowUnicode(edit.handle()) == FALSE, ansi);
    }
    EXPECT_EQ(classSawNcDestroy, 1);
  }
  // Destroyed with its parent, still wrapped, it reaches the class procedure too.
  classSawNcDestroy = 0;
  auto parent = std::make_unique<TestWindow>();
  WrappedEdit edit;
  edit.create(parent.get(), false);
  parent.reset();
  EXPECT_EQ(classSawNcDestroy, 1);
  EXPECT_EQ(edit.handle(), nullptr);
}

TEST(ErrorBoundary, SilentStretchSwallowsWhatItsHandlersRaise) {
  testing_support::MessageRecorder boxes;
  ui::app().silently([] { ui::app().guard([] { throw std::runtime_error("while closing"); }); });
  EXPECT_TRUE(boxes.messages().empty());
  ui::app().guard([] { throw std::runtime_error("afterwards"); });
  ASSERT_EQ(boxes.messages().size(), 1u);
  EXPECT_EQ(boxes.messages()[0].text, "afterwards");
  EXPECT_EQ(boxes.messages()[0].caption, "ruDOZ");
}

}  // namespace
