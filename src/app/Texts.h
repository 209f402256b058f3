// The program's files and what it says to the operator, in one place: the names of
// the files in the working folder, the titles and the whole texts of its message
// boxes (with the parts a text takes, never glued together elsewhere).
#pragma once

#include <string>
#include <vector>

#include "core/spot.h"

// The reference files and the files the program writes, by bare name in the working
// folder.
namespace files {
inline const std::string kCallbook = "RUdoz.txt";
inline const std::string kDistricts = "QJar.txt";
inline const std::string kConfirmations = "QJcfm.txt";
inline const std::string kWatchList = "QJlook.txt";
inline const std::string kAlertLog = "QJmis.txt";
inline const std::string kRegionList = "QJreg.txt";
inline const std::string kRegionPage = "QJreg.htm";  // the Most Wanted page as it came
inline const std::string kMap = "qjMap.jpg";
}  // namespace files

namespace texts {

// The main window's title.
inline const char* const kNoSuchDistrict = "Нет такого";
inline const char* const kNoLogger32 = "No Logger32 run!";
inline const char* const kLookingForCat = "Looking for Cat";
inline const char* const kTryingPorts = "QRL QRX PSE";
inline const char* const kAllPortsBusy = "All QRL Sorry -:((";
inline const char* const kCheckCat = "Check CAT";
inline const char* const kNoAnswer = "No answer from Logger32";
inline std::string connected(const std::string& portName) { return "Connected " + portName; }
// A deleted district judged by its successor.
inline std::string successorTitle(const std::string& deleted, const std::string& successor,
                                  const std::string& description) {
  return deleted + " deleted -> " + successor + " " + description;
}

// The list box, above the confirming line.
inline std::string callbookDistricts(const std::vector<std::string>& districts) {
  std::string line = "Callbook today:";
  for (std::size_t i = 0; i < districts.size(); ++i) line += (i ? ", " : " ") + districts[i];
  return line;
}

// The verdict bar.
inline const char* const kConfirmed = "RDA Status CFM";
inline const char* const kNew = "New RDA !";
inline const char* const kNewBand = "New band RDA";
inline const char* const kWorked = "Worked RDA";

// What is said aloud for a spot that raises the alert.
inline std::string spokenAlert(core::Verdict verdict, const std::string& district) {
  return std::string(verdict == core::Verdict::NewBand ? "New band RDA" : "New RDA") + (district.empty() ? "" : " " + district);
}

// The spot list window.
// A row's hint after its region line: what the verdict said beyond new.
inline std::string verdictNote(core::Verdict verdict, const std::string& band) {
  if (verdict == core::Verdict::Worked) return " \xB7 worked, not confirmed";
  if (verdict == core::Verdict::NewBand) return " \xB7 new on " + band;
  return {};
}
// Who spotted a row's station last, in its hover title.
inline std::string spotterNote(const std::string& spotter) { return " \xB7 de " + spotter; }
inline const char* const kNoRegionList = "Нэма Файла QJreg.txt Go Setup and Press \"Обновить Most Wanted\"";
inline std::string downloadedConfirmations(const std::string& count) { return "Download OK  " + count; }

// Downloads: the fixed first line, then why, then that the file was not touched.
inline const char* const kDownloadOk = "Download succesful!";
inline const char* const kNoMap = " Не удалось нарисовать картинку! Sorry :-((";
inline std::string keptAsItWas(const std::string& first, const std::string& reason, const std::string& file) {
  return first + "\r\n" + reason + "\r\n" + file + " is kept as it was.";
}
inline std::string confirmationsFailed(const std::string& call, const std::string& server, const std::string& reason) {
  return keptAsItWas("Error while downloading " + call + ".csv from " + server + " !", reason, files::kConfirmations);
}
inline std::string districtListFailed(const std::string& server, const std::string& reason) {
  return keptAsItWas("Error while downloading rda_rus.txt from " + server + " !", reason, files::kDistricts);
}
inline std::string regionsFailed(const std::string& server, const std::string& reason) {
  return keptAsItWas("Error while downloading rda_reg.txt from " + server + "/rda !", reason, files::kRegionList);
}
inline std::string regionsPageUnusable(const std::string& why) {
  return why + "\r\n" + files::kRegionList + " is kept as it was.";
}
// One box for a map that did not come: what went wrong, then that there is no map.
inline std::string mapFailed(const std::string& reason) {
  return std::string("Error while downloading Map\r\n") + reason + "\r\n" + kNoMap;
}
inline std::string addressNotSet(const std::string& service, const std::string& key, const std::string& settingsPath) {
  return "The address of " + service + " is not set.\r\nClose ruDOZ, add the line " + key + "=http://host under [RD] in " +
         settingsPath + " and start ruDOZ again.";
}

// The settings file.
inline std::string cannotWriteSettings(const std::string& path) { return "Unable to write to " + path; }
inline std::string settingsFolderUnknown(const std::string& why) {
  return "Cannot find the folder of ruDOZ.exe for qjSetup.ini: " + why;
}

}  // namespace texts
