// The spot list window's reference downloads: the own confirmations, the district
// list, the Most Wanted regions page cut down into the region list, and the region
// map of the row under the mouse.
#include <stdexcept>
#include <string>

#include "app/MapU.h"
#include "app/ProgressU.h"
#include "app/Unit1.h"
#include "app/held_list.h"
#include "app/VipU.h"
#include "core/regions_page.h"
#include "core/text_file.h"
#include "core/web_addresses.h"
#include "ui/dialogs.h"
#include "ui/download.h"
#include "ui/file_replace.h"
#include "ui/win.h"

namespace {

const char* const kRegionFile = "QJreg.txt";
// The regions page as it came; MostWont reads it and writes the region list.
const char* const kRegionPage = "QJreg.htm";
const char* const kMapFile = "qjMap.jpg";
const char* const kDownloadOk = "Download succesful!";
const char* const kMapFailed = " Не удалось нарисовать картинку! Sorry :-((";

// The system's ordering of the region list: locale-aware, letter case ignored.
int compareLocale(std::string_view a, std::string_view b) {
  return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), int(a.size()), b.data(), int(b.size())) -
         CSTR_EQUAL;
}

// A download cannot start without its service's address; the operator learns where
// to put it.
bool addressSet(const std::string& address, const char* key, const char* service) {
  if (!address.empty()) return true;
  ui::showMessage(std::string("The address of ") + service + " is not set.\r\nAdd the line " + key +
                  "=http://host under [RD] in " + TVip::SettingsPath() + " and start ruDOZ again.");
  return false;
}

}  // namespace

bool TVip::DownLoadFile(const std::string& url, const std::string& file) {
  try {
    return ui::downloadFile(url, file).ok;
  } catch (const std::exception&) {
    return false;
  }
}

void TVip::RbButton3Click() {
  if (!addressSet(CfmServer, "CfmServer", "the confirmation service")) return;
  const std::string call = Edit1.text();
  if (!DownLoadFile(core::confirmationsUrl(CfmServer, call), files::kConfirmations)) {
    ui::showMessage("Error while downloading " + call + ".csv from " + CfmServer + " !");
    return;
  }
  if (Progress) Progress->RefreshIfShown();
  if (!Form1) return;
  const HeldList confirmations(Form1->CfmList, Form1->F2Load());
  setCaption("Download OK  " + Form1->Cnt());
}

void TVip::RbButton5Click() {
  if (!addressSet(RdaServer, "RdaServer", "the award's web server")) return;
  if (DownLoadFile(core::districtListUrl(RdaServer), files::kDistricts)) {
    if (Progress) Progress->RefreshIfShown();
    ui::showMessage(kDownloadOk);
  } else
    ui::showMessage("Error while downloading rda_rus.txt from " + RdaServer + " !");
}

void TVip::RbButton6Click() {
  if (!addressSet(CfmServer, "CfmServer", "the confirmation service")) return;
  if (!DownLoadFile(core::regionsUrl(CfmServer), kRegionPage)) {
    ui::showMessage("Error while downloading rda_reg.txt from " + CfmServer + "/rda" + " !");
    return;
  }
  ui::showMessage(kDownloadOk);
  MostWont();
}

void TVip::MostWont() {
  const core::FileBytes page = core::readFileBytes(kRegionPage);
  std::vector<std::string> lines;
  try {
    lines = core::cutRegionsPage(page.view(), compareLocale);
  } catch (const core::RegionsPageError& e) {
    throw std::runtime_error(std::string(e.what()) + "\r\n" + kRegionFile + " is kept as it was.");
  }
  ui::replaceFileContent(kRegionFile, core::joinCrLf(lines));
}

bool TVip::LoadMap(const std::string& mapCode) {
  if (!addressSet(RdaServer, "RdaServer", "the award's web server")) return false;
  if (!DownLoadFile(core::mapUrl(RdaServer, mapCode), kMapFile)) {
    ui::showMessage("Error while downloading Map");
    return false;
  }
  if (!Map) return false;
  Map->bringToFront();
  Map->LoadPicture(kMapFile);
  return true;
}

void TVip::ShowMap1Click() {
  const std::string rda = HitRow >= 0 && HitRow < SG1.rowCount() ? SG1.cell(2, HitRow) : std::string();
  if (rda.size() != 5 || !Map) return;
  if (!LoadMap(Map->MapCode(rda.substr(0, 2)))) ui::showMessage(kMapFailed);
}
