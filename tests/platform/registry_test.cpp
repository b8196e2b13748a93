#include "platform/registry.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using platform::RegistryRoot;
using Names = std::vector<std::string>;
using namespace std::string_literals;

constexpr RegistryRoot kClasses = RegistryRoot::ClassesRoot;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;

// Every test gets a folder of its own; the store goes one level below it, so that the first
// write also has to create its folder.
class RegistryStore : public ::testing::Test {
protected:
  // A test may leave the store's folder read-only; the folder must still go.
  ~RegistryStore() override {
    std::error_code ignored;
    fs::permissions(file_.parent_path(), fs::perms::owner_all, ignored);
  }

  std::string FileText() const { return testing_support::FileBytes(file_); }
  void WriteFile(const std::string &text) const {
    fs::create_directories(file_.parent_path());
    std::ofstream(file_, std::ios::binary | std::ios::trunc) << text;
  }

  const testing_support::TempFolder folder_{"registry"};
  const fs::path file_ = folder_ / "Quintabell" / "registry.reg";
  platform::Registry registry{file_};
};

TEST_F(RegistryStore, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
  ASSERT_TRUE(registry.CreateKey(kClasses, "ChessProblem\\Shell"));
  ASSERT_TRUE(registry.CreateKey(kClasses, "CHESSPROBLEM\\SHELL\\open"));
  ASSERT_TRUE(registry.SetValue(kClasses, "chessproblem", "FriendlyName", "first"));
  ASSERT_TRUE(registry.SetValue(kClasses, "CHESSPROBLEM", "FRIENDLYNAME", "second"));
  EXPECT_EQ(registry.SubKeys(kClasses, ""), Names{"ChessProblem"});
  EXPECT_EQ(registry.SubKeys(kClasses, "chessPROBLEM"), Names{"Shell"});
  EXPECT_EQ(registry.SubKeys(kClasses, "chessproblem\\shell"), Names{"open"});
  EXPECT_EQ(registry.QueryValue(kClasses, "ChessProblem", "friendlyname"), "second");
  EXPECT_NE(FileText().find("\"FriendlyName\"=\"second\"\n"), std::string::npos);
  // Only ASCII letters fold: an upper and a lower umlaut in UTF-8 stay two keys.
  ASSERT_TRUE(registry.CreateKey(kClasses, "\xC3\x84"));
  ASSERT_TRUE(registry.CreateKey(kClasses, "\xC3\xA4"));
  EXPECT_EQ(registry.SubKeys(kClasses, "").size(), 3u);
}

TEST_F(RegistryStore, EmptyNameIsTheDefaultValueAndRootsHoldNoValues) {
  EXPECT_TRUE(registry.KeyExists(kClasses, ""));
  EXPECT_TRUE(registry.SubKeys(kClasses, "").empty());
  EXPECT_FALSE(fs::exists(file_.parent_path())) << "reading a missing store creates nothing";
  EXPECT_FALSE(registry.SetValue(kClasses, ".cmt", "", "ChessProblem")) << "no key yet";
  ASSERT_TRUE(registry.CreateKey(kClasses, ".cmt"));
  EXPECT_EQ(registry.QueryValue(kClasses, ".cmt", ""), std::nullopt);
  ASSERT_TRUE(registry.SetValue(kClasses, ".cmt", "", "ChessProblem"));
  ASSERT_TRUE(registry.SetValue(kClasses, ".cmt", "Content Type", "application/x-chess"));
  EXPECT_NE(FileText().find("\n@=\"ChessProblem\"\n"), std::string::npos);
  EXPECT_TRUE(registry.DeleteValue(kClasses, ".cmt", ""));
  EXPECT_FALSE(registry.DeleteValue(kClasses, ".cmt", ""));
  EXPECT_EQ(registry.QueryValue(kClasses, ".cmt", "Content Type"), "application/x-chess");
  EXPECT_FALSE(registry.SetValue(kClasses, "", "", "on the root"));
}

// By number, since a root travels as its predefined handle.
TEST_F(RegistryStore, KeepsTheSevenRootsApartAndRefusesOthers) {
  const auto root = [](std::uint32_t i) { return static_cast<RegistryRoot>(0x80000000u + i); };
  for (std::uint32_t i = 0; i < 7; ++i) {
    ASSERT_TRUE(registry.CreateKey(root(i), "Software"));
    ASSERT_TRUE(registry.SetValue(root(i), "Software", "", std::to_string(i)));
  }
  for (std::uint32_t i = 0; i < 7; ++i)
    EXPECT_EQ(registry.QueryValue(root(i), "Software", ""), std::to_string(i));
  EXPECT_NE(FileText().find("[HKEY_DYN_DATA\\Software]\n@=\"6\"\n"), std::string::npos);
  for (const RegistryRoot outside : {root(7), static_cast<RegistryRoot>(0x7fffffff)}) {
    EXPECT_EQ(platform::RootName(outside), "");
    EXPECT_FALSE(registry.CreateKey(outside, "Software"));
  }
}

TEST_F(RegistryStore, DeleteKeyRefusesSubkeysWhileDeleteTreeTakesThemAlong) {
  // Siblings whose names begin like {A} sort on either side of its subtree.
  for (const char *key :
       {"CLSID\\{A}\\InprocServer32", "CLSID\\{A}\\ProgID", "CLSID\\{A}!", "CLSID\\{A}z"})
    ASSERT_TRUE(registry.CreateKey(kClasses, key));
  ASSERT_TRUE(registry.SetValue(kClasses, "CLSID\\{A}", "", "Orka Control"));
  EXPECT_FALSE(registry.DeleteKey(kClasses, "CLSID\\{A}"));
  EXPECT_EQ(registry.QueryValue(kClasses, "CLSID\\{A}", ""), "Orka Control");
  EXPECT_TRUE(registry.DeleteKey(kClasses, "CLSID\\{A}\\ProgID"));
  EXPECT_FALSE(registry.DeleteKey(kClasses, "CLSID\\{A}\\ProgID"));
  EXPECT_TRUE(registry.DeleteTree(kClasses, "clsid\\{a}"));
  EXPECT_FALSE(registry.DeleteTree(kClasses, "CLSID\\{A}"));
  EXPECT_FALSE(registry.KeyExists(kClasses, "CLSID\\{A}\\InprocServer32"));
  EXPECT_EQ(registry.SubKeys(kClasses, "CLSID"), (Names{"{A}!", "{A}z"}));
  EXPECT_FALSE(registry.DeleteKey(kClasses, ""));
  EXPECT_FALSE(registry.DeleteTree(kClasses, ""));
  // Malformed paths name no key.
  for (const char *path : {"a\\\\b", "\\a", "a\\", "\\", "a\nb", "a\\\tb"}) {
    EXPECT_FALSE(registry.CreateKey(kClasses, path) || registry.KeyExists(kClasses, path) ||
                 registry.SetValue(kClasses, path, "", "x") || registry.DeleteTree(kClasses, path))
        << path;
  }
  EXPECT_EQ(registry.SubKeys(kClasses, ""), Names{"CLSID"});
}

TEST_F(RegistryStore, AwkwardStringsComeBackUnchanged) {
  const std::string key = "Odd [key] \"name\"=\xC3\xB6";
  const std::string texts[] = {
      "say \"hi\"",                // quotes end a string
      "C:\\Program Files\\",       // a backslash at the end would escape the closing quote
      "two\nlines\r\n",            // line ends inside a value
      "a=b",                       // the separator of name and value
      "@",                         // the default value's name in the file
      "\"x\"=\"y\"",               // a whole value line
      "[HKEY_CLASSES_ROOT\\Fake]", // a whole section line
      "\\x41\\n",                  // escapes as plain text
      "K\xC3\xB6nig \xE2\x99\x94", // UTF-8
      "nul\0tab\t\x7f\xff"s,       // control bytes and a byte that is no UTF-8
      "",                          // the default value, empty
  };
  ASSERT_TRUE(registry.CreateKey(kClasses, key));
  for (const std::string &text : texts)
    ASSERT_TRUE(registry.SetValue(kClasses, key, text, text)) << text;
  const platform::Registry reader(file_);
  EXPECT_EQ(reader.SubKeys(kClasses, ""), Names{key});
  for (const std::string &text : texts)
    EXPECT_EQ(reader.QueryValue(kClasses, key, text), text) << text;
  // Header, blank line and section line, then one line per value.
  const std::string file = FileText();
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 3 + std::ssize(texts));
}

// A line the store cannot read may be damage, or the work of a newer program: either way a
// change writes it back, once, after the keys, where it belongs to no key.
TEST_F(RegistryStore, DamagedLinesAreKeptWhenAChangeIsWritten) {
  const std::string good = "[HKEY_CURRENT_USER\\Good]\n@=\"kept\"\n\"Name\"=\"also kept\"\n";
  const std::string junk = "\0\xff\xfe[\x01\n\"\xff\n"s;
  const struct {
    std::string text;
    Names unread;
  } cases[] = {
      {good + "not a line\n\"Lost\"=\"no end\n\"Lost\"=\"bad \\q escape\"\n\"Lost\"=\"x\" more\n",
       {"not a line", "\"Lost\"=\"no end", "\"Lost\"=\"bad \\q escape\"", "\"Lost\"=\"x\" more"}},
      {good + "[HKEY_CURRENT_USER\\Lost\n\"Lost\"=\"orphan\"\n\"Lost\"=\"half",
       {"[HKEY_CURRENT_USER\\Lost", "\"Lost\"=\"orphan\"", "\"Lost\"=\"half"}},
      {"[HKEY_NOWHERE\\Lost]\n\"Name\"=\"elsewhere\"\n" + junk + good + junk,
       {"[HKEY_NOWHERE\\Lost]", "\"Name\"=\"elsewhere\"", "\0\xff\xfe[\x01"s, "\"\xff",
        "\0\xff\xfe[\x01"s, "\"\xff"}},
      {"[HKEY_CURRENT_USER\\Good]\r\n@=\"kept\"\r\n\"Name\"=\"also kept\"\r\n", {}}, // no header
  };
  for (const auto &[text, unread] : cases) {
    SCOPED_TRACE(text);
    WriteFile(text);
    EXPECT_EQ(registry.QueryValue(kUser, "Good", ""), "kept");
    std::string kept;
    for (const std::string &line : unread)
      kept += line + '\n';
    if (!kept.empty())
      kept = "\n[Lines this program could not read, kept as found]\n" + kept;
    for (const char *value : {"yes", "again"}) {
      fs::permissions(file_, fs::perms(0604)); // a change keeps the file's mode
      ASSERT_TRUE(registry.SetValue(kUser, "Good", "Added", value));
      EXPECT_EQ(fs::status(file_).permissions() & fs::perms::all, fs::perms(0604));
      EXPECT_EQ(registry.QueryValue(kUser, "Good", "Name"), "also kept");
      EXPECT_FALSE(registry.KeyExists(kUser, "Lost"));
      EXPECT_TRUE(FileText().ends_with("\"Name\"=\"also kept\"\n" + kept)) << FileText();
    }
  }
}

// How many bytes this process has read so far, from any file.
long long BytesRead() {
  std::ifstream io("/proc/self/io");
  std::string field;
  long long value = 0;
  while (io >> field >> value && field != "rchar:") {
  }
  return field == "rchar:" ? value : -1;
}

// A large file once opened the program only after many seconds: every question read it again.
TEST_F(RegistryStore, ReadsTheFileOncePerChangeOfIt) {
  std::string text = "[HKEY_CURRENT_USER\\Big]\n";
  for (int i = 0; i < 40000; ++i)
    text += "\"v" + std::to_string(i) + "\"=\"some value to make the file large\"\n";
  WriteFile(text);
  const platform::Registry reader(file_);
  const long long before = BytesRead();
  for (int i = 0; i < 50; ++i)
    ASSERT_TRUE(reader.QueryValue(kUser, "Big", "v" + std::to_string(i)));
  if (before >= 0) {
    EXPECT_LT(BytesRead() - before, 2 * std::ssize(text)) << "read more than once";
  }
  // A change by another writer, a rewrite in place and a removal are each seen at once.
  ASSERT_TRUE(platform::Registry(file_).SetValue(kUser, "Big", "v7", "changed"));
  EXPECT_EQ(reader.QueryValue(kUser, "Big", "v7"), "changed");
  std::ofstream(file_, std::ios::binary | std::ios::trunc) << "[HKEY_CURRENT_USER\\Big]\n@=\"x\"\n";
  EXPECT_EQ(reader.QueryValue(kUser, "Big", ""), "x");
  EXPECT_EQ(reader.QueryValue(kUser, "Big", "v7"), std::nullopt);
  fs::remove(file_);
  EXPECT_FALSE(reader.KeyExists(kUser, "Big"));
}

// A change lands whole, by rename: a reader of the old file goes on seeing it whole, and a
// change that cannot be written leaves the old file and no temporary file beside it.
TEST_F(RegistryStore, AChangeLandsWholeOrNotAtAll) {
  const auto entries = [&] {
    return std::distance(fs::directory_iterator(file_.parent_path()), fs::directory_iterator());
  };
  ASSERT_TRUE(registry.CreateKey(kClasses, ".cmt"));
  const std::string before = FileText();
  std::ifstream early(file_, std::ios::binary);
  ASSERT_TRUE(registry.SetValue(kClasses, ".cmt", "", "ChessProblem"));
  std::stringstream seen;
  seen << early.rdbuf();
  EXPECT_EQ(seen.str(), before);
  EXPECT_EQ(entries(), 2) << "the store and its lock";

  std::ofstream(folder_ / "blocker") << "a file where the folder should be";
  EXPECT_FALSE(platform::Registry(folder_ / "blocker" / "registry.reg").CreateKey(kClasses, "k"));
  const std::string after = FileText();
  fs::permissions(file_.parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
  if (std::ofstream(file_.parent_path() / "probe"))
    GTEST_SKIP() << "this user writes into read-only folders (root?)";
  EXPECT_FALSE(registry.SetValue(kClasses, ".cmt", "", "Other"));
  EXPECT_FALSE(registry.DeleteTree(kClasses, ".cmt"));
  EXPECT_EQ(FileText(), after);
  EXPECT_EQ(registry.QueryValue(kClasses, ".cmt", ""), "ChessProblem");
  EXPECT_EQ(entries(), 2);
}

// Two processes, as the program and a registration would be: a lock within one process alone
// would let them overwrite each other's changes.
TEST_F(RegistryStore, ConcurrentWritersLoseNothing) {
  constexpr int kWrites = 150;
  ASSERT_TRUE(registry.CreateKey(kUser, "Software"));
  const auto writeAll = [&](char writer) {
    bool all = true;
    for (int i = 0; i < kWrites; ++i)
      all = registry.SetValue(kUser, "Software", writer + std::to_string(i), "v") && all;
    return all;
  };
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0)
    _exit(writeAll('B') ? 0 : 1);
  EXPECT_TRUE(writeAll('A'));
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other writer failed";
  int found = 0;
  for (const char writer : {'A', 'B'}) {
    for (int i = 0; i < kWrites; ++i)
      found += registry.QueryValue(kUser, "Software", writer + std::to_string(i)).has_value();
  }
  EXPECT_EQ(found, 2 * kWrites);
}

} // namespace
