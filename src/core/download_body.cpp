#include "core/download_body.h"

#include "core/confirmations.h"
#include "core/district_list.h"
#include "core/regions_page.h"
#include "core/text.h"
#include "core/text_file.h"

namespace core {
namespace {

// A web page begins with '<', after blank lines perhaps; no list line does.
bool isWebPage(std::string_view body) {
  const std::size_t first = body.find_first_not_of(" \t\r\n");
  return first != std::string_view::npos && body[first] == '<';
}

bool allBlank(std::string_view text) { return text.find_first_not_of(" \t\r\n") == std::string_view::npos; }

bool holdsDistrictLine(std::string_view list) {
  const bool semicolon = districtListForm(list) == DistrictListForm::Semicolon;
  if (semicolon) list = afterFirstLine(list);
  bool found = false;
  forEachLine(list, [&](std::string_view line) {
    if (found || line.size() < 6 || !isDistrictCode(head(line, 5))) return;
    found = semicolon ? line[5] == ';' && semicolonLine(line).has_value() : line[5] == '\t' || line[5] == ' ' || line[5] == ';';
  });
  return found;
}

// Which other list a plain body of lines beginning with codes reads as, if any.
const char* otherListIn(std::string_view body) {
  if (districtListForm(body) == DistrictListForm::Semicolon) return "district";
  const char* other = nullptr;
  forEachLine(body, [&](std::string_view line) {
    if (other) return;
    if (isDistrictCode(head(line, 5)))
      other = isRegionListLine(line) ? "region" : nullptr;
    else if (regionHeader(line))
      other = "district";
  });
  return other;
}

}  // namespace

std::string jpegRefusal(std::string_view body) {
  return body.starts_with("\xFF\xD8\xFF") ? std::string() : "The server sent no JPEG picture.";
}

std::string districtListRefusal(std::string_view body) {
  body = withoutBom(body);
  if (allBlank(body)) return "The server sent an empty list.";
  if (isWebPage(body)) return "The server sent a web page, not the district list.";
  if (!holdsDistrictLine(body))
    return "The server's answer is no district list: no line of it begins with a district code such as AB-12.";
  return {};
}

std::string confirmationsRefusal(std::string_view body, std::string_view oldConfirmations) {
  body = withoutBom(body);
  if (isWebPage(body)) return "The server sent a web page, not the confirmations.";
  if (const char* other = confirmationsForm(body).csv ? nullptr : otherListIn(body))
    return std::string("The server's answer is the ") + other + " list, not your confirmations.";
  if (holdsConfirmation(body)) return {};
  const bool csv = confirmationsForm(body).csv;
  if (!allBlank(csv ? afterCsvHeader(body) : body))
    return "The server's answer is no list of confirmations: no line of it names a district code such as AB-12.";
  if (!holdsConfirmation(oldConfirmations)) return {};
  return "The server's answer holds no confirmation, while your confirmations file holds some, so that file is "
         "kept. If you really have no confirmation, delete the file and download again.";
}

}  // namespace core
