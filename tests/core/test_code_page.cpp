// Reference files saved as UTF-8 (today's Notepad) read like Windows-1251 ones.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/districts.h"
#include "core/lookup.h"
#include "core/text_file.h"

namespace {

// "Абинский район" in Windows-1251 and in UTF-8.
const std::string kCp1251 = "\xC0\xE1\xE8\xED\xF1\xEA\xE8\xE9 \xF0\xE0\xE9\xEE\xED";
const std::string kUtf8 =
    "\xD0\x90\xD0\xB1\xD0\xB8\xD0\xBD\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9 \xD1\x80\xD0\xB0\xD0\xB9\xD0\xBE\xD0\xBD";
const std::string kBom = "\xEF\xBB\xBF";

class ScratchFile {
 public:
  explicit ScratchFile(const std::string& bytes)
      : path_((std::filesystem::temp_directory_path() / ("rudoz-cp-" + std::to_string(++count_))).string()) {
    std::ofstream(path_, std::ios::binary) << bytes;
  }
  ~ScratchFile() { std::remove(path_.c_str()); }
  const std::string& path() const { return path_; }

 private:
  static inline int count_ = 0;
  std::string path_;
};

std::string read(const std::string& bytes) {
  ScratchFile f(bytes);
  return std::string(core::readFileBytes(f.path()).view());
}

TEST(ReferenceText, Utf8WithOrWithoutBomBecomesWindows1251) {
  const struct {
    const char* what;
    std::string file, expected;
  } cases[] = {
      {"BOM", kBom + "AB-12 " + kUtf8 + "\r\n", "AB-12 " + kCp1251 + "\r\n"},
      {"no BOM", "AB-12 " + kUtf8 + "\r\nCD-01 x\r\n", "AB-12 " + kCp1251 + "\r\nCD-01 x\r\n"},
      {"BOM, ASCII only", kBom + "UA1AAA AB-12\r\n", "UA1AAA AB-12\r\n"},
      {"Windows-1251 as it lies", "AB-12 " + kCp1251 + "\r\n", "AB-12 " + kCp1251 + "\r\n"},
      {"plain ASCII", "AB-12 x", "AB-12 x"},
      // Not all of it well-formed: Windows-1251 it stays, bytes untouched.
      {"mixed", "\xD0\x90 \xC0\xE1", "\xD0\x90 \xC0\xE1"},
      // Outside Windows-1251: a question mark; the euro sign and numero sign are in it.
      {"beyond the code page", kBom + "\xE2\x82\xAC \xE2\x84\x96 \xE4\xB8\xAD \xF0\x9F\x98\x80", "\x88 \xB9 ? ?"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(read(c.file), c.expected);
  }
}

TEST(ReferenceText, Utf8FilesCountAndMatchFromTheFirstLine) {
  ScratchFile confirmations(kBom + "AB-12;UA1AAA\r\nAB-12;R1CCC\r\n");
  EXPECT_EQ(core::countConfirmed(core::TextList::loadSorted(confirmations.path())), 1);

  ScratchFile callbook(kBom + "UA1AAA AB-12\r\nR1ZZ \xD0\x90\xD0\x91-01 x\r\n");
  core::CallbookFile first(callbook.path());
  EXPECT_EQ(first.find("UA1AAA "), "AB-12");
  core::CallbookFile second(callbook.path());
  EXPECT_EQ(second.find("R1ZZ "), "\xC0\xC1-01");  // five characters, not five bytes
}

}  // namespace
