// What a registered Open command may put into the desktop entry the shell's notification writes.
#include "platform/shell.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

namespace fs = std::filesystem;
constexpr auto kClasses = platform::RegistryRoot::ClassesRoot;

class DesktopEntry : public ::testing::Test {
protected:
  void SetUp() override { setenv("XDG_DATA_HOME", (folder_ / "data").c_str(), 1); }
  void TearDown() override { unsetenv("XDG_DATA_HOME"); }

  // Registers ".qtest" files to class QTest with the Open command, tells the shell and answers
  // the desktop entry written for it, "" when there is none.
  std::string EntryFor(const std::string &command) {
    EXPECT_TRUE(registry_.CreateKey(kClasses, ".qtest") &&
                registry_.SetValue(kClasses, ".qtest", "", "QTest") &&
                registry_.CreateKey(kClasses, "QTest\\shell\\Open\\command") &&
                registry_.SetValue(kClasses, "QTest\\shell\\Open\\command", "", command));
    platform::NotifyAssociationsChanged(registry_);
    return testing_support::FileBytes(Entry());
  }
  fs::path Entry() const { return folder_ / "data" / "applications" / "quintabell-qtest.desktop"; }

  const testing_support::TempFolder folder_{"shell"};
  platform::Registry registry_{folder_ / "registry.reg"};
};

// A line end would let the command add a line of its own choosing, a second Exec= for one.
TEST_F(DesktopEntry, AnOpenCommandWithAControlCharacterIsNotAssociated) {
  for (const char *command : {"\"/opt/q\nExec=/bin/sh -c evil\n/quintabell\" \"%1\"",
                              "/opt/q\r/quintabell %1", "\"/opt/q\x01/quintabell\" \"%1\""}) {
    EXPECT_EQ(EntryFor(command), "") << command;
    EXPECT_FALSE(fs::exists(folder_ / "data" / "mime" / "packages" / "quintabell-qtest.xml"));
  }
}

// The quoting of an Exec argument escapes ", `, $ and \ with a backslash, the key file doubles
// every backslash again, and % starts a field code.
TEST_F(DesktopEntry, FolderNamesReachTheExecLineQuoted) {
  const struct {
    const char *command;
    const char *exec;
  } cases[] = {
      {"\"/opt/a b/quintabell\" \"%1\"", "Exec=\"/opt/a b/quintabell\" %f\n"},
      {"\"/opt/$HOME/quintabell\" \"%1\"", "Exec=\"/opt/\\\\$HOME/quintabell\" %f\n"},
      {"\"/opt/`id`/quintabell\" \"%1\"", "Exec=\"/opt/\\\\`id\\\\`/quintabell\" %f\n"},
      {"\"/opt/100%/quintabell\" \"%1\"", "Exec=\"/opt/100%%/quintabell\" %f\n"},
      {"\"/opt/back\\slash/quintabell\" \"%1\"", "Exec=\"/opt/back\\\\\\\\slash/quintabell\" %f\n"},
      {"/opt/say\"hi\"/quintabell %1", "Exec=\"/opt/say\\\\\"hi\\\\\"/quintabell\" %f\n"},
  };
  const bool validator = std::system("command -v desktop-file-validate >/dev/null") == 0;
  for (const auto &c : cases) {
    const std::string entry = EntryFor(c.command);
    EXPECT_NE(entry.find("\n" + std::string(c.exec)), std::string::npos) << entry;
    EXPECT_EQ(entry.find("Exec="), entry.rfind("Exec=")) << entry;
    if (validator) {
      const std::string check = "desktop-file-validate '" + Entry().string() + "'";
      EXPECT_EQ(std::system(check.c_str()), 0) << c.command;
    }
  }
  EXPECT_NE(EntryFor("\"/opt/q/quin\\tabell\" \"%1\"").find("\nName=Quin\\\\tabell\n"),
            std::string::npos);
}

} // namespace
