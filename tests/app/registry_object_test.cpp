// RegistryObject over a registry file of its own: the root names and the two raised errors with
// their exact texts; the operations themselves are covered by the registry store's tests and by
// the file-type registration.
#include "app/store/registry_object.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

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

TEST(RegistryObjectTest, RootNamesSelectTheirRootAndUnknownOnesRaise513) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  platform::Registry file{dir.filePath(QStringLiteral("registry.reg")).toStdString()};
  RegistryObject registry{file};
  EXPECT_EQ(registry.RootKey(), "HKCR");
  for (const char *name : {"hkcu", "HkLm", "hku", "HKPD", "hkcc", "hKdD", "hkcr"}) {
    registry.SetRootKey(QString::fromLatin1(name));
    EXPECT_EQ(registry.RootKey(), QString::fromLatin1(name).toUpper());
  }
  registry.SetRootKey(QStringLiteral("HKCU"));
  ASSERT_TRUE(registry.WriteVal(QStringLiteral("Software\\Q"), {}, QStringLiteral("user")));
  EXPECT_EQ(file.QueryValue(platform::RegistryRoot::CurrentUser, "Software\\Q", ""), "user");
  EXPECT_FALSE(file.KeyExists(platform::RegistryRoot::ClassesRoot, "Software"));

  for (const char *text : {"HKXX", "", "HKEY_CLASSES_ROOT", " HKCU"}) {
    SCOPED_TRACE(text);
    const AutomationError error = RaisedBy([&] { registry.SetRootKey(QString::fromLatin1(text)); });
    EXPECT_EQ(error.number, 513);
    EXPECT_EQ(error.source, "RegistryObject::LetRootKey()");
    EXPECT_EQ(error.description, QStringLiteral("unsupported key string: \"%1\"").arg(text));
    EXPECT_EQ(registry.RootKey(), "HKCU");
  }

  // A handle outside the table raises when the root is asked for; operations on it just fail.
  registry.SetRootHandle(0x8000000A);
  const AutomationError error = RaisedBy([&] { (void)registry.RootKey(); });
  EXPECT_EQ(error.number, 513);
  EXPECT_EQ(error.source, "RegistryObject::GetRootKey()");
  EXPECT_EQ(error.description, "invalid setting: Root = 0x8000000A");
  EXPECT_FALSE(registry.WriteVal(QStringLiteral("K"), QString(), QStringLiteral("v")));
  EXPECT_EQ(registry.ReadVal(QStringLiteral("K"), QString()), "");
}

} // namespace
