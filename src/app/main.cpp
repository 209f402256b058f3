// ruDOZ: RDA district lookup beside Logger32.
#include <memory>

#include "app/ClusterIntake.h"
#include "app/MapU.h"
#include "app/ProgressU.h"
#include "app/Radio.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/VipU.h"
#include "ui/application.h"
#include "ui/file_replace.h"

// The windows are made in this order, and each sets its global before its creation
// handler runs (and clears it when it goes):
// - the main window first: it is the application's main window, and the others write
//   its title and take its place;
// - the link window second: its start writes the main window's title and looks for
//   Logger32, and it must exist before the spot list window can send commands;
// - the spot list window third: its creation reads the settings, which place the main
//   window, shows the main window, and may fetch the confirmations; boxes it opens run
//   a message loop in which spots arrive and need both windows above;
// - the map window and the progress window then: only the spot list window and the
//   main window's menu call on them;
// - the DX cluster's window last: its connection needs the settings.
int main() {
  ui::installPlatformHooks();
  ui::initializeCom();
  ui::app().setTitle("ruDOZ");
  // Downloads cut off by an earlier end of the program left their temporary files.
  ui::removeLeftoverTempFiles(".");
  const auto form1 = std::make_unique<TForm1>();
  const auto form2 = std::make_unique<TForm2>();
  const auto vip = std::make_unique<TVip>();
  const auto map = std::make_unique<TMap>();
  const auto progress = std::make_unique<TProgress>(Vip->ProgressPlace);
  // The DX cluster connects once the settings are read; it goes first at the end.
  const auto cluster = std::make_unique<TCluster>();
  cluster->Start(Vip->ClusterOptions, Vip->MyCall());
  ui::app().run(*Form1);
  // The radio's own connection ends with the windows: nothing goes out after them.
  StopRadio();
  return 0;
}
