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
bool addressSet(const std::string& address, const char* key, const char* service) {
  if (!address.empty()) return true;
  ui::showMessage(texts::addressNotSet(service, key, TVip::SettingsPath()));
  return false;
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

ui::DownloadResult TVip::DownLoadFile(const std::string& url, const std::string& file) {
  try {
    return ui::downloadFile(url, file, checkFor(file));
  } catch (const std::exception& e) {
    return {false, e.what()};
  }
}

void TVip::RbButton3Click() {
  if (AfterClicks([this] { RbButton3Click(); })) return;
  if (!addressSet(CfmServer, "CfmServer", "the confirmation service")) return;
  const std::string call = Edit1.text();
  if (const auto r = DownLoadFile(core::confirmationsUrl(CfmServer, call), files::kConfirmations); !r) {
    ui::showMessage(texts::confirmationsFailed(call, CfmServer, r.reason));
    return;
  }
  if (Progress) Progress->RefreshIfShown();
  if (!Form1) return;
  setCaption(texts::downloadedConfirmations(Form1->CountConfirmations()));
}

void TVip::RbButton5Click() {
  if (AfterClicks([this] { RbButton5Click(); })) return;
  if (!addressSet(RdaServer, "RdaServer", "the award's web server")) return;
  if (const auto r = DownLoadFile(core::districtListUrl(RdaServer), files::kDistricts)) {
    if (Progress) Progress->RefreshIfShown();
    ui::showMessage(texts::kDownloadOk);
  } else {
    ui::showMessage(texts::districtListFailed(RdaServer, r.reason));
  }
}

void TVip::RbButton6Click() {
  if (AfterClicks([this] { RbButton6Click(); })) return;
  if (!addressSet(CfmServer, "CfmServer", "the confirmation service")) return;
  if (const auto r = DownLoadFile(core::regionsUrl(CfmServer), files::kRegionPage); !r) {
    ui::showMessage(texts::regionsFailed(CfmServer, r.reason));
    return;
  }
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
  if (const auto r = DownLoadFile(core::mapUrl(RdaServer, mapCode), files::kMap); !r)
    throw std::runtime_error(texts::mapFailed(r.reason));
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
  if (!addressSet(RdaServer, "RdaServer", "the award's web server")) return;
  LoadMap(Map->MapCode(rda.substr(0, 2)));
}
