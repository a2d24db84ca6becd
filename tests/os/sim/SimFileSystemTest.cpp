#include <gtest/gtest.h>

#include <set>

#include "os/sim/ShortName.h"
#include "os/sim/SimMachine.h"
#include "os/sim/Wildcard.h"

namespace os::sim {
namespace {

class SimFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    machine_ = SimMachine::FromImage(R"({"windows": {"currentDirectory": "C:\\Work"}, "files": {
      "C:\\Temp\\a.tmpx": {},
      "C:\\Temp\\noext": {},
      "C:\\Temp\\sub": {"folder": true},
      "C:\\Temp\\sub\\inner.tmp": {},
      "C:\\Work\\lang.txt": {"content": "first\r\nserverlang=de\nthird line that is long"}}})");
  }
  void TearDown() override {
    if (HasFailure()) std::cerr << machine_->Dump();
  }
  Files& files() { return machine_->files(); }
  std::unique_ptr<SimMachine> machine_;
};

TEST(WildcardTest, PatternsBecomeDosExpressionsAndMatchAsTheFileSystemDoes) {
  const auto matches = [](std::wstring_view pattern, std::wstring_view name) {
    return MatchesExpression(ToFileSystemExpression(pattern), name);
  };
  EXPECT_TRUE(matches(L"*.tmp", L"A.TMP"));
  EXPECT_FALSE(matches(L"*.tmp", L"a.tmpx"));
  EXPECT_FALSE(matches(L"*.tmp", L"a.dat"));
  EXPECT_TRUE(matches(L"*.tmp", L"a.b.tmp"));
  EXPECT_TRUE(matches(L"noext.*", L"noext")) << "a dot before a star may match the name's end";
  EXPECT_FALSE(matches(L"?.tmp", L"bb.tmp"));
  EXPECT_TRUE(matches(L"a?.tmp", L"a.tmp")) << "a question mark before a dot may match nothing";
  // A name that merely holds a DOS wildcard is a pattern of its own.
  EXPECT_TRUE(matches(L",,srv,Lab <2>.tmp", L",,srv,Lab 2.tmp"));
  EXPECT_TRUE(matches(L"x\"", L"x"));
  EXPECT_FALSE(matches(L"<", L"a.b")) << "DOS_STAR stops short of the last dot";
}

TEST(ShortNameTest, LongNamesGetNumberedThenHashedShortNamesAndShortOnesNone) {
  std::set<std::wstring> taken;
  const auto make = [&](std::wstring_view name) {
    std::wstring s = MakeShortName(name, [&](const std::wstring& c) { return taken.count(c) > 0; });
    taken.insert(s);
    return s;
  };
  EXPECT_EQ(make(L"readme.txt"), L"") << "already 8.3, whatever its case";
  EXPECT_EQ(make(L"a.tmpx"), L"A~1.TMP");
  EXPECT_EQ(make(L"Tessaly Long Name.tmp"), L"TESSAL~1.TMP");
  EXPECT_EQ(make(L"Tessaly Longer.tmp"), L"TESSAL~2.TMP");
  make(L"Tessaly 3.tmp");
  make(L"Tessaly 4.tmp");
  const std::wstring fifth = make(L"Tessaly 5.tmp");
  EXPECT_EQ(fifth.substr(0, 2), L"TE");
  EXPECT_NE(fifth.substr(2, 4), L"SSAL") << "hashed, not numbered: " << fifth;
  EXPECT_EQ(fifth.substr(6), L"~5.TMP") << fifth;
}

TEST_F(SimFileSystemTest, PathsResolveAgainstTheCurrentDirectoryAndDrive) {
  EXPECT_EQ(machine_->files().FullPath(L"\\Quellix\\*"), L"C:\\Quellix\\*");
  EXPECT_EQ(machine_->files().FullPath(L"lang.txt"), L"C:\\Work\\lang.txt");
  EXPECT_EQ(machine_->files().FullPath(L"C:\\Temp\\sub\\..\\.\\a.tmp"), L"C:\\Temp\\a.tmp");
  EXPECT_EQ(files().Find(L"C:\\Temp\\no<").value.size(), 1u) << "a name holding a DOS wildcard is a search";
  // Win32 drops the last component's trailing dots and blanks, and one
  // trailing dot of any other: each of these names another entry.
  EXPECT_EQ(machine_->files().FullPath(L"C:\\Temp\\noext. ."), L"C:\\Temp\\noext");
  EXPECT_EQ(machine_->files().FullPath(L"C:\\Temp\\sub.\\inner.tmp"), L"C:\\Temp\\sub\\inner.tmp");
  // An entry answers to its short name: deleting "A~1.TMP" deletes "a.tmpx".
  EXPECT_EQ(files().Delete(L"C:\\Temp\\A~1.TMP"), error::kSuccess);
  EXPECT_FALSE(machine_->files().Exists(L"C:\\Temp\\a.tmpx"));
}

TEST_F(SimFileSystemTest, TextFilesReadLikeFgetws) {
  {
    auto file = files().OpenText(L"C:\\Work\\lang.txt", L"r+t");
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(*file.value->ReadLine(100), L"first\n");  // the carriage return is dropped in text mode
    EXPECT_EQ(*file.value->ReadLine(100), L"serverlang=de\n");
    EXPECT_EQ(*file.value->ReadLine(10), L"third lin");  // a long line arrives in pieces
    EXPECT_EQ(*file.value->ReadLine(100), L"e that is long");
    EXPECT_FALSE(file.value->ReadLine(100));
  }
  EXPECT_EQ(files().OpenText(L"C:\\Work\\missing.txt", L"r+t").status, error::kFileNotFound);
}

}  // namespace
}  // namespace os::sim
