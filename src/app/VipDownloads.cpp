// The spot list window's reference downloads: the own confirmations, the district
// list, the Most Wanted regions page cut down into the region list, and the region
// map of the row under the mouse.
#include <stdexcept>
#include <string>

#include "app/MapU.h"
#include "app/ProgressU.h"
#include "app/Unit1.h"
#include "app/VipU.h"
#include "core/download_body.h"
#include "core/regions_page.h"
#include "core/text_file.h"
#include "core/web_addresses.h"
#include "ui/dialogs.h"
#include "ui/text.h"
#include "ui/download.h"
#include "ui/file_replace.h"
#include "ui/win.h"

namespace {

// The system's ordering of the region list: locale-aware, letter case ignored, on
// the characters the Windows-1251 bytes stand for (the system's own code page may
// read them as other letters).
int compareLocale(std::string_view a, std::string_view b) {
  const std::wstring wa = ui::widen(a), wb = ui::widen(b);
  return CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, wa.data(), int(wa.size()), wb.data(),
                         int(wb.size()), nullptr, nullptr, 0) -
         CSTR_EQUAL;
}

// A download cannot start without its service's address; the operator learns where
// to put it.
void requireAddress(const std::string& address, const char* key, const char* service) {
  if (address.empty()) throw std::runtime_error(texts::addressNotSet(service, key, TVip::SettingsPath()));
}

// What may take a file's place: a list only when its lines have the list's form,
// the map only as a picture. (The regions page is judged when it is cut down.)
ui::BodyCheck checkFor(const std::string& file) {
  if (file == files::kDistricts) return [](std::string_view body) { return core::districtListRefusal(body); };
  if (file == files::kMap) return [](std::string_view body) { return core::jpegRefusal(body); };
  if (file != files::kConfirmations) return {};
  return [](std::string_view body) {
    // An answer without a confirmation replaces only a file without one.
    core::FileBytes old;
    try {
      old = core::readRawFileBytes(files::kConfirmations);
    } catch (const core::FileOpenError&) {
    }
    return core::confirmationsRefusal(body, old.view());
  };
}

}  // namespace

void TVip::DownLoadFile(const std::string& url, const std::string& file,
                        const std::function<std::string(const std::string& reason)>& failed) {
  try {
    ui::downloadFile(url, file, checkFor(file));
  } catch (const ui::DownloadError& e) {
    throw std::runtime_error(failed(e.what()));
  }
}

void TVip::RbButton3Click() {
  if (AfterClicks([this] { RbButton3Click(); })) return;
  requireAddress(CfmServer, "CfmServer", "the confirmation service");
  const std::string call = Edit1.text();
  DownLoadFile(core::confirmationsUrl(CfmServer, call), files::kConfirmations,
               [&](const std::string& why) { return texts::confirmationsFailed(call, CfmServer, why); });
  if (Progress) Progress->RefreshIfShown();
  if (!Form1) return;
  setCaption(texts::downloadedConfirmations(Form1->CountConfirmations()));
}

void TVip::RbButton5Click() {
  if (AfterClicks([this] { RbButton5Click(); })) return;
  requireAddress(RdaServer, "RdaServer", "the award's web server");
  DownLoadFile(core::districtListUrl(RdaServer), files::kDistricts,
               [&](const std::string& why) { return texts::districtListFailed(RdaServer, why); });
  if (Progress) Progress->RefreshIfShown();
  ui::showMessage(texts::kDownloadOk);
}

void TVip::RbButton6Click() {
  if (AfterClicks([this] { RbButton6Click(); })) return;
  requireAddress(CfmServer, "CfmServer", "the confirmation service");
  DownLoadFile(core::regionsUrl(CfmServer), files::kRegionPage,
               [&](const std::string& why) { return texts::regionsFailed(CfmServer, why); });
  // One box: the success only once the page has given a list.
  MostWont();
  LoadRegionList();
  ui::showMessage(texts::kDownloadOk);
}

void TVip::MostWont() {
  const core::FileBytes page = core::readFileBytes(files::kRegionPage);
  std::vector<std::string> lines;
  try {
    lines = core::regionListFromPage(page.view(), compareLocale);
  } catch (const core::RegionsPageError& e) {
    throw std::runtime_error(texts::regionsPageUnusable(e.what()));
  }
  ui::replaceFileContent(files::kRegionList, core::joinCrLf(lines));
}

bool TVip::LoadMap(const std::string& mapCode) {
  DownLoadFile(core::mapUrl(RdaServer, mapCode), files::kMap, [](const std::string& why) { return texts::mapFailed(why); });
  if (!Map) return false;
  Map->bringToFront();
  Map->LoadPicture(files::kMap);
  return true;
}

void TVip::ShowMap1Click() {
  const std::string rda = HitRow >= 0 && HitRow < SG1.rowCount() ? SG1.cell(2, HitRow) : std::string();
  if (rda.size() != 5 || !Map) return;
  // Without the server's address there is no map to fail on: the one message says
  // what to set.
  requireAddress(RdaServer, "RdaServer", "the award's web server");
  LoadMap(Map->MapCode(rda.substr(0, 2)));
}
