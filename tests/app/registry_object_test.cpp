// RegistryObject over a registry file of its own: the root names, the two raised errors with
// their exact texts, and what each operation answers.
#include "app/store/registry_object.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

class RegistryObjectTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }

  QTemporaryDir dir;
  platform::Registry file{dir.filePath(QStringLiteral("registry.reg")).toStdString()};
  RegistryObject registry{file};
};

// Runs `call`, which must raise the automation error; answers it.
template <typename Call> AutomationError RaisedBy(Call call) {
  try {
    call();
  } catch (const AutomationError &error) {
    return error;
  }
  ADD_FAILURE() << "no error raised";
  return AutomationError(0, {}, {});
}

TEST_F(RegistryObjectTest, RootNamesSelectTheirRootWhateverTheCase) {
  EXPECT_EQ(registry.RootKey(), "HKCR");
  const struct {
    const char *text;
    const char *root;
  } cases[] = {{"HKCR", "HKCR"}, {"hkcu", "HKCU"}, {"HkLm", "HKLM"}, {"hku", "HKU"},
               {"HKPD", "HKPD"}, {"hkcc", "HKCC"}, {"hKdD", "HKDD"}, {"hkcr", "HKCR"}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text);
    registry.SetRootKey(QString::fromLatin1(c.text));
    EXPECT_EQ(registry.RootKey(), c.root);
  }
  // Each root holds keys of its own.
  registry.SetRootKey(QStringLiteral("HKCU"));
  ASSERT_TRUE(registry.WriteVal(QStringLiteral("Software\\Q"), {}, QStringLiteral("user")));
  EXPECT_EQ(file.QueryValue(platform::RegistryRoot::CurrentUser, "Software\\Q", ""), "user");
  EXPECT_FALSE(file.KeyExists(platform::RegistryRoot::ClassesRoot, "Software"));
}

TEST_F(RegistryObjectTest, AnUnknownRootNameRaises513AndKeepsTheRoot) {
  registry.SetRootKey(QStringLiteral("HKLM"));
  const char *texts[] = {"HKXX", "", "HKEY_CLASSES_ROOT", " HKCU"};
  for (const char *text : texts) {
    SCOPED_TRACE(text);
    const AutomationError error = RaisedBy([&] { registry.SetRootKey(QString::fromLatin1(text)); });
    EXPECT_EQ(error.number, 513);
    EXPECT_EQ(error.source, "RegistryObject::LetRootKey()");
    EXPECT_EQ(error.description, QStringLiteral("unsupported key string: \"%1\"").arg(text));
    EXPECT_EQ(registry.RootKey(), "HKLM");
  }
}

TEST_F(RegistryObjectTest, AnInvalidRootHandleRaises513WhenItIsAskedFor) {
  const struct {
    std::uint32_t handle;
    const char *description;
  } cases[] = {{0x80000010, "invalid setting: Root = 0x80000010"},
               {0x8000000A, "invalid setting: Root = 0x8000000A"},
               {0x7F, "invalid setting: Root = 0x7F"},
               {0, "invalid setting: Root = 0x0"}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.description);
    registry.SetRootHandle(c.handle);
    const AutomationError error = RaisedBy([&] { (void)registry.RootKey(); });
    EXPECT_EQ(error.number, 513);
    EXPECT_EQ(error.source, "RegistryObject::GetRootKey()");
    EXPECT_EQ(error.description, c.description);
    // Operations on such a root fail quietly instead of raising.
    EXPECT_FALSE(registry.WriteVal(QStringLiteral("K"), QString(), QStringLiteral("v")));
    EXPECT_FALSE(registry.CreateKey(QStringLiteral("K")));
    EXPECT_EQ(registry.ReadVal(QStringLiteral("K"), QString()), "");
  }
}

TEST_F(RegistryObjectTest, WriteCreatesTheKeyAndReadAnswersTheTextOrEmpty) {
  EXPECT_TRUE(registry.WriteVal(QStringLiteral("A\\B\\C"), QString(), QStringLiteral("deep")));
  EXPECT_TRUE(registry.WriteVal(QStringLiteral("a\\b\\c"), QStringLiteral("Named"),
                                QStringLiteral("by name")));
  EXPECT_EQ(registry.ReadVal(QStringLiteral("A\\B\\C"), QString()), "deep");
  EXPECT_EQ(registry.ReadVal(QStringLiteral("A\\B\\C"), QStringLiteral("named")), "by name");
  EXPECT_EQ(registry.ReadVal(QStringLiteral("A\\B"), QString()), "");
  EXPECT_EQ(registry.ReadVal(QStringLiteral("A\\B\\C"), QStringLiteral("other")), "");
  EXPECT_EQ(registry.ReadVal(QStringLiteral("Missing"), QString()), "");
  EXPECT_TRUE(registry.WriteVal(QStringLiteral("A\\B\\C"), QString(), QString()));
  EXPECT_EQ(registry.ReadVal(QStringLiteral("A\\B\\C"), QString()), "");
  EXPECT_TRUE(file.QueryValue(platform::RegistryRoot::ClassesRoot, "A\\B\\C", "").has_value());
}

TEST_F(RegistryObjectTest, AValueMustFitTheReadBufferWithItsTerminatingZero) {
  const QString fits(1023, QLatin1Char('v'));
  const QString tooLong(1024, QLatin1Char('v'));
  ASSERT_TRUE(registry.WriteVal(QStringLiteral("Big"), QStringLiteral("fits"), fits));
  ASSERT_TRUE(registry.WriteVal(QStringLiteral("Big"), QStringLiteral("long"), tooLong));
  EXPECT_EQ(registry.ReadVal(QStringLiteral("Big"), QStringLiteral("fits")), fits);
  EXPECT_EQ(registry.ReadVal(QStringLiteral("Big"), QStringLiteral("long")), "");
}

TEST_F(RegistryObjectTest, CreateDeleteKeyAndDeleteValueAnswerWhetherTheyDidIt) {
  EXPECT_TRUE(registry.CreateKey(QStringLiteral("P\\Q")));
  EXPECT_TRUE(registry.CreateKey(QStringLiteral("P\\Q"))); // an existing key is just opened
  EXPECT_TRUE(file.KeyExists(platform::RegistryRoot::ClassesRoot, "P"));

  EXPECT_FALSE(registry.DeleteKey(QStringLiteral("P"))); // still has a subkey
  EXPECT_TRUE(file.KeyExists(platform::RegistryRoot::ClassesRoot, "P\\Q"));
  EXPECT_TRUE(registry.DeleteKey(QStringLiteral("P\\Q")));
  EXPECT_TRUE(registry.DeleteKey(QStringLiteral("P")));
  EXPECT_FALSE(registry.DeleteKey(QStringLiteral("P")));
  EXPECT_FALSE(file.KeyExists(platform::RegistryRoot::ClassesRoot, "P"));

  ASSERT_TRUE(registry.WriteVal(QStringLiteral("V"), QStringLiteral("x"), QStringLiteral("1")));
  EXPECT_TRUE(registry.DeleteValue(QStringLiteral("V"), QStringLiteral("x")));
  EXPECT_EQ(registry.ReadVal(QStringLiteral("V"), QStringLiteral("x")), "");
  EXPECT_FALSE(registry.DeleteValue(QStringLiteral("V"), QStringLiteral("x")));
  EXPECT_FALSE(registry.DeleteValue(QStringLiteral("Nowhere"), QStringLiteral("x")));
  EXPECT_TRUE(file.KeyExists(platform::RegistryRoot::ClassesRoot, "V"));
}

} // namespace
