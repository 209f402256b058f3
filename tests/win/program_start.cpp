// What main() does for the program before its first window, done for every test
// program before its first test: the core's platform hooks and COM.
#include "ui/application.h"

namespace {

const bool started = [] {
  ui::installPlatformHooks();
  ui::initializeCom();
  return true;
}();

}  // namespace
