#include "platform/registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

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
  void SetUp() override {
    std::string folder = ::testing::TempDir() + "registry_XXXXXX";
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    folder_ = folder;
    file_ = folder_ / "Quintabell" / "registry.reg";
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(file_.parent_path(), fs::perms::owner_all, ignored);
    fs::remove_all(folder_, ignored);
  }

  void WriteFile(const std::string &text) {
    fs::create_directories(file_.parent_path());
    std::ofstream(file_, std::ios::binary) << text;
  }
  std::string FileText() const {
    std::ifstream in(file_, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  Names FolderEntries() const {
    Names names;
    for (const auto &entry : fs::directory_iterator(file_.parent_path()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path folder_;
  fs::path file_;
};

TEST_F(RegistryStore, KeepsKeysAndValuesForTheNextObject) {
  {
    platform::Registry writer(file_);
    ASSERT_TRUE(writer.CreateKey(kClasses, "ChessProblem\\shell\\Open\\command"));
    ASSERT_TRUE(writer.CreateKey(kClasses, "ChessProblem\\DefaultIcon"));
    ASSERT_TRUE(
        writer.SetValue(kClasses, "ChessProblem\\shell\\Open\\command", "", "\"q\" \"%1\""));
    ASSERT_TRUE(writer.SetValue(kClasses, "ChessProblem", "EditFlags", "0"));
  }
  const platform::Registry reader(file_);
  EXPECT_TRUE(reader.KeyExists(kClasses, "ChessProblem\\shell\\Open"));
  EXPECT_FALSE(reader.KeyExists(kClasses, "ChessProblem\\shell\\Print"));
  EXPECT_EQ(reader.QueryValue(kClasses, "ChessProblem\\shell\\Open\\command", ""), "\"q\" \"%1\"");
  EXPECT_EQ(reader.QueryValue(kClasses, "ChessProblem", "EditFlags"), "0");
  EXPECT_EQ(reader.QueryValue(kClasses, "ChessProblem", "Missing"), std::nullopt);
  EXPECT_EQ(reader.SubKeys(kClasses, ""), Names{"ChessProblem"});
  EXPECT_EQ(reader.SubKeys(kClasses, "ChessProblem"), (Names{"DefaultIcon", "shell"}));
  // The temporary files were all renamed over the store.
  EXPECT_EQ(FolderEntries(), (Names{"registry.reg", "registry.reg.lock"}));
}

TEST_F(RegistryStore, MissingFileReadsAsEmptyAndReadingCreatesNothing) {
  const platform::Registry registry(file_);
  EXPECT_TRUE(registry.KeyExists(kClasses, ""));
  EXPECT_FALSE(registry.KeyExists(kClasses, ".cmt"));
  EXPECT_EQ(registry.QueryValue(kClasses, ".cmt", ""), std::nullopt);
  EXPECT_TRUE(registry.SubKeys(kClasses, "").empty());
  EXPECT_FALSE(fs::exists(file_.parent_path()));
}

TEST_F(RegistryStore, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
  platform::Registry registry(file_);
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
  platform::Registry registry(file_);
  EXPECT_FALSE(registry.SetValue(kClasses, ".cmt", "", "ChessProblem")); // no key yet
  EXPECT_FALSE(registry.KeyExists(kClasses, ".cmt"));
  ASSERT_TRUE(registry.CreateKey(kClasses, ".cmt"));
  EXPECT_EQ(registry.QueryValue(kClasses, ".cmt", ""), std::nullopt);
  ASSERT_TRUE(registry.SetValue(kClasses, ".cmt", "", "ChessProblem"));
  ASSERT_TRUE(registry.SetValue(kClasses, ".cmt", "Content Type", "application/x-chess"));
  EXPECT_EQ(registry.QueryValue(kClasses, ".cmt", ""), "ChessProblem");
  EXPECT_NE(FileText().find("\n@=\"ChessProblem\"\n"), std::string::npos);
  EXPECT_TRUE(registry.DeleteValue(kClasses, ".cmt", ""));
  EXPECT_FALSE(registry.DeleteValue(kClasses, ".cmt", ""));
  EXPECT_EQ(registry.QueryValue(kClasses, ".cmt", ""), std::nullopt);
  EXPECT_EQ(registry.QueryValue(kClasses, ".cmt", "Content Type"), "application/x-chess");
  EXPECT_FALSE(registry.SetValue(kClasses, "", "", "on the root"));
  EXPECT_EQ(registry.QueryValue(kClasses, "", ""), std::nullopt);
}

TEST_F(RegistryStore, KeepsTheSevenRootsApart) {
  const struct {
    RegistryRoot root;
    std::string name;
  } cases[] = {
      {RegistryRoot::ClassesRoot, "HKEY_CLASSES_ROOT"},
      {RegistryRoot::CurrentUser, "HKEY_CURRENT_USER"},
      {RegistryRoot::LocalMachine, "HKEY_LOCAL_MACHINE"},
      {RegistryRoot::Users, "HKEY_USERS"},
      {RegistryRoot::PerformanceData, "HKEY_PERFORMANCE_DATA"},
      {RegistryRoot::CurrentConfig, "HKEY_CURRENT_CONFIG"},
      {RegistryRoot::DynData, "HKEY_DYN_DATA"},
  };
  platform::Registry registry(file_);
  for (const auto &c : cases) {
    ASSERT_TRUE(registry.CreateKey(c.root, "Software\\Quintabell"));
    ASSERT_TRUE(registry.SetValue(c.root, "Software\\Quintabell", "Root", c.name));
  }
  ASSERT_TRUE(registry.DeleteTree(kUser, "Software"));
  const platform::Registry reader(file_);
  for (const auto &c : cases) {
    const bool deleted = c.root == kUser;
    EXPECT_EQ(platform::RootName(c.root), c.name);
    EXPECT_EQ(reader.QueryValue(c.root, "Software\\Quintabell", "Root"),
              deleted ? std::nullopt : std::optional(c.name));
    EXPECT_EQ(FileText().find("[" + c.name + "\\Software]\n") == std::string::npos, deleted);
  }
  for (const std::uint32_t outside : {0x80000007u, 0x7fffffffu}) {
    EXPECT_EQ(platform::RootName(static_cast<RegistryRoot>(outside)), "");
    EXPECT_FALSE(registry.CreateKey(static_cast<RegistryRoot>(outside), "Software"));
  }
}

TEST_F(RegistryStore, DeleteKeyRefusesSubkeysWhileDeleteTreeTakesThemAlong) {
  platform::Registry registry(file_);
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
}

TEST_F(RegistryStore, RefusesMalformedPaths) {
  platform::Registry registry(file_);
  ASSERT_TRUE(registry.CreateKey(kClasses, "a\\b"));
  for (const char *path : {"a\\\\b", "\\a", "a\\", "\\", "a\nb", "a\\\tb"}) {
    EXPECT_FALSE(registry.CreateKey(kClasses, path)) << path;
    EXPECT_FALSE(registry.KeyExists(kClasses, path)) << path;
    EXPECT_FALSE(registry.SetValue(kClasses, path, "", "x")) << path;
    EXPECT_EQ(registry.QueryValue(kClasses, path, ""), std::nullopt) << path;
    EXPECT_TRUE(registry.SubKeys(kClasses, path).empty()) << path;
    EXPECT_FALSE(registry.DeleteTree(kClasses, path)) << path;
  }
  EXPECT_TRUE(registry.KeyExists(kClasses, "a\\b"));
  EXPECT_EQ(registry.SubKeys(kClasses, ""), Names{"a"});
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
  {
    platform::Registry writer(file_);
    ASSERT_TRUE(writer.CreateKey(kClasses, key));
    for (const std::string &text : texts)
      ASSERT_TRUE(writer.SetValue(kClasses, key, text, text)) << text;
  }
  const platform::Registry reader(file_);
  EXPECT_EQ(reader.SubKeys(kClasses, ""), Names{key});
  for (const std::string &text : texts)
    EXPECT_EQ(reader.QueryValue(kClasses, key, text), text) << text;
  // Header, blank line and section line, then one line per value.
  const std::string file = FileText();
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 3 + std::ssize(texts));
}

TEST_F(RegistryStore, DamagedFilesLoseOnlyTheDamagedParts) {
  const std::string good = "[HKEY_CURRENT_USER\\Good]\n@=\"kept\"\n\"Name\"=\"also kept\"\n";
  const std::string junk = "\0\xff\xfe[\x01\n\"\xff\n"s;
  const struct {
    const char *what;
    std::string text;
    bool goodKept;
  } cases[] = {
      {"empty file", "", false},
      {"garbage lines",
       good + "not a line\n\"Lost\"=\"no end\n\"Lost\"=\"bad \\q escape\"\n"
              "\"Lost\"=\"x\" and more\n",
       true},
      {"truncated section header", good + "[HKEY_CURRENT_USER\\Lost\n\"Lost\"=\"orphan\"\n", true},
      {"value cut short", good + "[HKEY_CURRENT_USER\\Good]\n\"Lost\"=\"half", true},
      {"unknown root", "[HKEY_NOWHERE\\Lost]\n\"Name\"=\"elsewhere\"\n" + good, true},
      {"binary junk", junk + good + junk, true},
      {"no header and CRLF line ends",
       "[HKEY_CURRENT_USER\\Good]\r\n@=\"kept\"\r\n\"Name\"=\"also kept\"\r\n", true},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    const auto good = [&](const char *text) {
      return c.goodKept ? std::optional<std::string>(text) : std::nullopt;
    };
    WriteFile(c.text);
    platform::Registry registry(file_);
    EXPECT_FALSE(registry.KeyExists(kUser, "Lost"));
    EXPECT_EQ(registry.QueryValue(kUser, "Good", "Lost"), std::nullopt);
    EXPECT_EQ(registry.QueryValue(kUser, "Good", ""), good("kept"));
    // A change writes back what could be read, and only that.
    ASSERT_TRUE(registry.CreateKey(kUser, "Good\\New"));
    ASSERT_TRUE(registry.SetValue(kUser, "Good", "Added", "yes"));
    EXPECT_EQ(registry.QueryValue(kUser, "Good", "Added"), "yes");
    EXPECT_EQ(registry.QueryValue(kUser, "Good", "Name"), good("also kept"));
    EXPECT_EQ(FileText().find("Lost"), std::string::npos);
  }
}

TEST_F(RegistryStore, FailedWritesKeepTheOldFile) {
  const fs::path blocker = folder_ / "blocker";
  std::ofstream(blocker) << "a file where the folder should be";
  platform::Registry nowhere(blocker / "registry.reg");
  EXPECT_FALSE(nowhere.CreateKey(kClasses, ".cmt"));
  EXPECT_FALSE(nowhere.KeyExists(kClasses, ".cmt"));

  platform::Registry registry(file_);
  ASSERT_TRUE(registry.CreateKey(kClasses, ".cmt"));
  ASSERT_TRUE(registry.SetValue(kClasses, ".cmt", "", "ChessProblem"));
  const std::string before = FileText();
  fs::permissions(file_.parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
  if (std::ofstream(file_.parent_path() / "probe"))
    GTEST_SKIP() << "this user writes into read-only folders (root?)";
  EXPECT_FALSE(registry.SetValue(kClasses, ".cmt", "", "Other"));
  EXPECT_FALSE(registry.CreateKey(kClasses, "ChessProblem"));
  EXPECT_FALSE(registry.DeleteTree(kClasses, ".cmt"));
  EXPECT_EQ(FileText(), before);
  EXPECT_EQ(registry.QueryValue(kClasses, ".cmt", ""), "ChessProblem");
  EXPECT_EQ(FolderEntries(), (Names{"registry.reg", "registry.reg.lock"}));
}

TEST_F(RegistryStore, ReaderOfTheOldFileSeesItWholeWhileAChangeLands) {
  platform::Registry registry(file_);
  ASSERT_TRUE(registry.CreateKey(kClasses, ".cmt"));
  const std::string before = FileText();
  std::ifstream early(file_, std::ios::binary);
  ASSERT_TRUE(registry.SetValue(kClasses, ".cmt", "", "ChessProblem"));
  std::stringstream seen;
  seen << early.rdbuf();
  EXPECT_EQ(seen.str(), before);
  EXPECT_NE(FileText(), before);
}

TEST_F(RegistryStore, ConcurrentWritersLoseNothing) {
  constexpr int kWrites = 150;
  const std::string key = "Software\\Quintabell";
  ASSERT_TRUE(platform::Registry(file_).CreateKey(kUser, key));
  // Each thread has an object of its own, as two processes would.
  const auto writeAll = [&](char writer) {
    platform::Registry registry(file_);
    for (int i = 0; i < kWrites; ++i)
      EXPECT_TRUE(registry.SetValue(kUser, key, writer + std::to_string(i), std::to_string(i)));
  };
  std::thread first(writeAll, 'A');
  std::thread second(writeAll, 'B');
  first.join();
  second.join();
  const platform::Registry reader(file_);
  int found = 0;
  for (const char writer : {'A', 'B'}) {
    for (int i = 0; i < kWrites; ++i)
      found += reader.QueryValue(kUser, key, writer + std::to_string(i)) == std::to_string(i);
  }
  EXPECT_EQ(found, 2 * kWrites);
}

TEST(RegistryDefaultPath, FollowsXdgConfigHomeThenHome) {
  const struct {
    const char *config;
    const char *expected;
  } cases[] = {
      {"/xdg", "/xdg/Quintabell/registry.reg"},
      {"", "/home/q/.config/Quintabell/registry.reg"},
      {nullptr, "/home/q/.config/Quintabell/registry.reg"},
  };
  const char *config = std::getenv("XDG_CONFIG_HOME");
  const auto savedConfig = config ? std::optional<std::string>(config) : std::nullopt;
  const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", "/home/q", 1);
  for (const auto &c : cases) {
    c.config ? setenv("XDG_CONFIG_HOME", c.config, 1) : unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(platform::Registry::DefaultPath(), c.expected) << (c.config ? c.config : "unset");
  }
  savedConfig ? setenv("XDG_CONFIG_HOME", savedConfig->c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", savedHome.c_str(), 1);
}

} // namespace
