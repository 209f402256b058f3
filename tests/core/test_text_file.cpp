#include "core/text_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/districts.h"
#include "core/lookup.h"
#include "core/text.h"

namespace {

std::vector<std::string> linesOf(std::string_view text) {
  std::vector<std::string> out;
  core::forEachLine(text, [&](std::string_view l) { out.emplace_back(l); });
  return out;
}

using Lines = std::vector<std::string>;

TEST(LineRules, EveryKindOfBreakEndsALine) {
  const struct {
    const char* name;
    std::string text;
    Lines lines;
  } cases[] = {
      {"CR LF", "a\r\nb\r\n", {"a", "b"}},
      {"lone CR", "a\rb\r", {"a", "b"}},
      {"lone LF", "a\nb\n", {"a", "b"}},
      {"mixed", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"LF CR is two breaks", "a\n\rb", {"a", "", "b"}},
      {"no final break", "a\r\nb", {"a", "b"}},
      {"empty lines inside count", "a\r\n\r\n\r\nb\r\n", {"a", "", "", "b"}},
      {"only a break", "\r\n", {""}},
      {"empty file", "", {}},
      {"two final breaks give one empty line", "a\r\n\r\n", {"a", ""}},
      {"CR at the very end", "a\r", {"a"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(linesOf(c.text), c.lines);
    EXPECT_EQ(core::splitLines(c.text).size(), c.lines.size());
  }
}

TEST(LineRules, Windows1251BytesPassUntouched) {
  using namespace std::string_literals;
  const std::string text = "AB-12 \xCC\xEE\xF1\xEA\xE2\xE0\r\n\x98\xFF\x00z\r\n"s;
  const Lines lines = linesOf(text);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "AB-12 \xCC\xEE\xF1\xEA\xE2\xE0");
  EXPECT_EQ(lines[1], std::string("\x98\xFF\x00z", 4));
}

TEST(SortedList, SortsWithoutRegardToCaseAndDropsRepeats) {
  const auto list = core::TextList::fromText("cd-01 b\r\nAB-12 x\r\nab-12 X\r\nAB-12 a\r\nAB-12 x\r\n", true);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0], "AB-12 a");
  EXPECT_EQ(list[1], "AB-12 x");  // the first spelling in the file stays
  EXPECT_EQ(list[2], "cd-01 b");
}

TEST(SortedList, CyrillicFoldsCase) {
  // "мир" and "МИР" are one entry; Ё and ё too.
  const auto list = core::TextList::fromText("\xEC\xE8\xF0\n\xCC\xC8\xD0\n\xA8\n\xB8\n", true);
  EXPECT_EQ(list.size(), 2u);
}

TEST(SortedList, EmptyLineSortsFirstAndIsKeptOnce) {
  const auto list = core::TextList::fromText("b\n\na\n\n", true);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0], "");
  EXPECT_EQ(list[1], "a");
}

TEST(SortedList, ViewsSurviveAMove) {
  auto list = core::TextList::fromText("short\nx\n", true);  // small enough for SSO
  core::TextList moved = std::move(list);
  EXPECT_EQ(moved[0], "short");
  EXPECT_EQ(moved[1], "x");
}

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("rudoz-core-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string write(const std::string& name, const std::string& bytes) {
    const auto path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::filesystem::path dir_;
};

TEST_F(FileTest, LoadsAWholeFile) {
  std::string big;
  for (int i = 0; i < 50000; ++i) big += "UA" + std::to_string(i) + " AB-12\r\n";
  const auto list = core::TextList::load(write("RUdoz.txt", big));
  ASSERT_EQ(list.size(), 50000u);
  EXPECT_EQ(list[0], "UA0 AB-12");
  EXPECT_EQ(list[49999], "UA49999 AB-12");
}

TEST_F(FileTest, EmptyFileHasNoLines) { EXPECT_TRUE(core::TextList::load(write("e.txt", "")).empty()); }

TEST_F(FileTest, MissingFileNamesItselfAndTheReason) {
  core::setSystemReason([] { return std::string("The system cannot find the file specified"); });
  try {
    core::TextList::load((dir_ / "QJcfm.txt").string());
    FAIL() << "no error";
  } catch (const core::FileOpenError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot open file \"" + (dir_ / "QJcfm.txt").string() + "\". The system cannot find the file specified");
  }
  core::setSystemReason(nullptr);
  EXPECT_THROW(core::TextList::loadSorted((dir_ / "nope").string()), core::FileOpenError);
}

// "Абинский район" in Windows-1251 and in UTF-8.
const std::string kCp1251 = "\xC0\xE1\xE8\xED\xF1\xEA\xE8\xE9 \xF0\xE0\xE9\xEE\xED";
const std::string kUtf8 =
    "\xD0\x90\xD0\xB1\xD0\xB8\xD0\xBD\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9 \xD1\x80\xD0\xB0\xD0\xB9\xD0\xBE\xD0\xBD";
const std::string kBom = "\xEF\xBB\xBF";

// Reference files saved as UTF-8 (today's Notepad) read like Windows-1251 ones.
TEST_F(FileTest, Utf8WithOrWithoutBomBecomesWindows1251) {
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
    EXPECT_EQ(core::readFileBytes(write("f.txt", c.file)).view(), c.expected);
  }
}

TEST_F(FileTest, Utf8FilesCountAndMatchFromTheFirstLine) {
  const auto confirmations = write("QJcfm.txt", kBom + "AB-12;UA1AAA\r\nAB-12;R1CCC\r\n");
  EXPECT_EQ(core::countConfirmed(core::TextList::loadSorted(confirmations)), 1);

  const auto callbook = write("RUdoz.txt", kBom + "UA1AAA AB-12\r\nR1ZZ \xD0\x90\xD0\x91-01 x\r\n");
  core::CallbookFile first(callbook);
  EXPECT_EQ(first.find("UA1AAA ", {2026, 12, 9})->district, "AB-12");
  core::CallbookFile second(callbook);
  EXPECT_EQ(second.find("R1ZZ ", {2026, 12, 9})->district, "\xC0\xC1-01");  // five characters, not five bytes
}

TEST(Text, UpperCasingTouchesOnlyAsciiLetters) {
  EXPECT_EQ(core::toUpperAscii("ua9abc/p \xE0\xFF{"), "UA9ABC/P \xE0\xFF{");
}

}  // namespace
