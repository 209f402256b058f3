#include "webstand_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ui/download.h"

namespace testing_support {

// Admin answers go through the program's own client into a file of their own.
std::string webAdmin(const std::string& path) {
  const std::string file = (std::filesystem::temp_directory_path() / "rudoz-webstand-admin.txt").string();
  try {
    ui::downloadFile(webBase() + path, file);
  } catch (const ui::DownloadError& e) {
    ADD_FAILURE() << "web stand-in " << path << ": " << e.what();
  }
  return readWholeFile(file);
}

std::string readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string webBase() {
  const char* portFile = std::getenv("RUDOZ_WEBSTAND_PORT_FILE");
  if (!portFile) {
    ADD_FAILURE() << "RUDOZ_WEBSTAND_PORT_FILE is not set";
    return "http://127.0.0.1:1";
  }
  std::string port = readWholeFile(portFile);
  while (!port.empty() && (port.back() == '\n' || port.back() == '\r')) port.pop_back();
  return "http://127.0.0.1:" + port;
}

void webFault(const std::string& query) { webAdmin("/_admin/fault?" + query); }
void webClear() { webAdmin("/_admin/clear"); }
std::string webLog() { return webAdmin("/_admin/log"); }

}  // namespace testing_support
