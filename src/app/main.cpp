// ruDOZ: RDA district lookup beside Logger32.
#include <memory>

#include "app/MapU.h"
#include "app/ProgressU.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "app/VipU.h"
#include "ui/application.h"
#include "ui/file_replace.h"

int main() {
  ui::app().setTitle("ruDOZ");
  // Downloads cut off by an earlier end of the program left their temporary files.
  ui::removeLeftoverTempFiles(".");
  auto form1 = std::make_unique<TForm1>();
  Form1 = form1.get();
  auto form2 = std::make_unique<TForm2>();
  Form2 = form2.get();
  auto vip = std::make_unique<TVip>();  // sets Vip before its creation handler runs
  auto map = std::make_unique<TMap>();
  Map = map.get();
  auto progress = std::make_unique<TProgress>(Vip->ProgressPlace);
  Progress = progress.get();
  ui::app().run(*Form1);
  return 0;
}
