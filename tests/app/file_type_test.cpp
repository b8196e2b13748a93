// The file-type association: what RegisterFileType writes under the classes root and when it
// tells the shell, its wildcard comparison, and the entries the shell's notification makes.
#include "app/store/like_pattern.h"
#include "app/store/register_file_type.h"
#include "app/store/registry_object.h"
#include "platform/shell.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

constexpr auto kClasses = platform::RegistryRoot::ClassesRoot;

QString Text(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void ExpectHolds(const QString &path, std::initializer_list<QString> parts) {
  const QString text = Text(path);
  for (const QString &part : parts) {
    EXPECT_TRUE(text.contains(part))
        << path.toStdString() << " lacks " << part.toStdString() << ":\n"
        << text.toStdString();
  }
}

class FileTypeTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }

  // One start of the program from `appPath`; answers how often the shell was told.
  int Register(const QString &appPath) {
    RegistryObject registry(file);
    int notices = 0;
    RegisterFileType(registry, appPath, [&] { ++notices; });
    return notices;
  }
  QString Value(const std::string &key) const {
    return QString::fromStdString(file.QueryValue(kClasses, key, "").value_or("<none>"));
  }
  std::string RegistryText() const {
    return Text(QString::fromStdString(file.File().string())).toStdString();
  }

  QTemporaryDir dir;
  platform::Registry file{dir.filePath(QStringLiteral("registry.reg")).toStdString()};
};

TEST_F(FileTypeTest, WritesTheSixEntriesOnceAndAgainOnlyWhenTheProgramMoved) {
  EXPECT_EQ(Register(QStringLiteral("/opt/quintabell/")), 1);
  EXPECT_EQ(Value(".cmt"), "ChessProblem");
  EXPECT_EQ(Value("ChessProblem"), "ChessProblem");
  EXPECT_EQ(Value("ChessProblem\\DefaultIcon"), "/opt/quintabell/libOrka.so,0");
  EXPECT_EQ(Value("ChessProblem\\shell"), "Open");
  EXPECT_TRUE(file.KeyExists(kClasses, "ChessProblem\\shell\\Open"));
  EXPECT_EQ(Value("ChessProblem\\shell\\Open\\command"), "\"/opt/quintabell/quintabell\" \"%1\"");

  const std::string before = RegistryText();
  EXPECT_EQ(Register(QStringLiteral("/opt/quintabell/")), 0);
  EXPECT_EQ(Register(QStringLiteral("/OPT/Quintabell/")), 0); // the comparison ignores case
  EXPECT_EQ(RegistryText(), before);

  EXPECT_EQ(Register(QStringLiteral("/home/ann/apps/")), 1);
  EXPECT_EQ(Value("ChessProblem\\DefaultIcon"), "/home/ann/apps/libOrka.so,0");
  EXPECT_EQ(Value("ChessProblem\\shell\\Open\\command"), "\"/home/ann/apps/quintabell\" \"%1\"");
  EXPECT_EQ(Register(QStringLiteral("/home/ann/apps/")), 0);
}

// Wildcard characters in the folder's name once passed stale entries as current.
TEST_F(FileTypeTest, AFolderNameWithWildcardCharactersIsComparedAsItIs) {
  const std::pair<const char *, const char *> moves[] = {{"/opt/q/", "/opt/q*/"},
                                                         {"/opt/qx/", "/opt/q?/"},
                                                         {"/opt/q1/", "/opt/q#/"},
                                                         {"/opt/b/", "/opt/[a-c]/"}};
  for (const auto &[before, after] : moves) {
    const QString folder = QString::fromLatin1(after);
    Register(QString::fromLatin1(before));
    EXPECT_EQ(Register(folder), 1) << after;
    EXPECT_EQ(Value("ChessProblem\\DefaultIcon"), folder + "libOrka.so,0");
    EXPECT_EQ(Value("ChessProblem\\shell\\Open\\command"), "\"" + folder + "quintabell\" \"%1\"");
    EXPECT_EQ(Register(folder), 0) << after;
  }
}

// Another program's class and verb keep their names; the icon and the Open command become ours.
TEST_F(FileTypeTest, AnotherProgramsEntriesKeepTheirNamesAndGetOurIconAndCommand) {
  ASSERT_TRUE(file.CreateKey(kClasses, ".cmt"));
  ASSERT_TRUE(file.CreateKey(kClasses, "Other.Document\\shell"));
  ASSERT_TRUE(file.SetValue(kClasses, ".cmt", "", "Other.Document"));
  ASSERT_TRUE(file.SetValue(kClasses, "Other.Document", "", "Other document"));
  ASSERT_TRUE(file.SetValue(kClasses, "Other.Document\\shell", "", "Edit"));

  EXPECT_EQ(Register(QStringLiteral("/opt/q/")), 1);
  EXPECT_EQ(Value(".cmt"), "Other.Document");
  EXPECT_EQ(Value("Other.Document"), "Other document");
  EXPECT_EQ(Value("Other.Document\\shell"), "Edit");
  EXPECT_EQ(Value("Other.Document\\DefaultIcon"), "/opt/q/libOrka.so,0");
  EXPECT_EQ(Value("Other.Document\\shell\\Open\\command"), "\"/opt/q/quintabell\" \"%1\"");
  EXPECT_FALSE(file.KeyExists(kClasses, "ChessProblem"));
}

TEST(LikePattern, MatchesAsTheWildcardsSay) {
  const struct {
    const char *text;
    const char *pattern;
    bool like;
  } cases[] = {
      {"ABC", "abc", true}, {"abc", "ab", false},  {"ab", "abc", false},     {"abc", "a?c", true},
      {"", "*", true},      {"xabc", "a*", false}, {"a.so,0", "a*,0", true}, {"a1", "a#", true},
      {"B", "[a-c]", true}, {"X", "[!x]", false},  {"a[b", "a[b", false},    {"a", "", false},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(IsLike(QString::fromLatin1(c.text), QString::fromLatin1(c.pattern)), c.like)
        << '"' << c.text << "\" like \"" << c.pattern << '"';
  }
  const std::pair<const char *, const char *> literals[] = {
      {"/A*b?[c]#/", "/a*B?[C]#/"}, {"x*", "xyz"}, {"q?", "qx"}, {"#", "1"}, {"[a-c]", "b"}};
  for (const auto &[literal, text] : literals) {
    const QString pattern = LikeLiteral(QString::fromLatin1(literal));
    EXPECT_TRUE(IsLike(QString::fromLatin1(literal), pattern)) << literal;
    EXPECT_EQ(
        IsLike(QString::fromLatin1(text), pattern),
        QString::fromLatin1(text).compare(QString::fromLatin1(literal), Qt::CaseInsensitive) == 0)
        << text << " like " << literal;
  }
}

// The shell's side, under a data home of the test's own.
class AssociationTest : public FileTypeTest {
protected:
  void SetUp() override {
    FileTypeTest::SetUp();
    saved = qgetenv("XDG_DATA_HOME");
    data = dir.filePath(QStringLiteral("data"));
    qputenv("XDG_DATA_HOME", data.toLocal8Bit());
  }
  void TearDown() override { qputenv("XDG_DATA_HOME", saved); }

  QByteArray saved;
  QString data;
};

TEST_F(AssociationTest, TheNotificationMakesAMimeTypeADesktopEntryAndTheDefault) {
  const QString bin = QCoreApplication::applicationDirPath() + QLatin1Char('/');
  ASSERT_TRUE(QFileInfo::exists(bin + "libOrka-icon0.svg"));
  ASSERT_TRUE(QDir().mkpath(data + "/applications"));
  {
    QFile list(data + "/applications/mimeapps.list");
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("[Default Applications]\ntext/plain=editor.desktop\n"
               "application/x-chessproblem=stale.desktop\n");
  }
  ASSERT_EQ(Register(bin), 1);
  platform::NotifyAssociationsChanged(file);

  const QString applications = data + "/applications/";
  ExpectHolds(data + "/mime/packages/quintabell-chessproblem.xml",
              {"<mime-type type=\"application/x-chessproblem\">", "<glob pattern=\"*.cmt\"/>"});
  ExpectHolds(applications + "quintabell-chessproblem.desktop",
              {"[Desktop Entry]\n", "\nExec=" + bin + "quintabell %f\n",
               "\nMimeType=application/x-chessproblem;\n"});
  ExpectHolds(applications + "mimeapps.list",
              {"text/plain=editor.desktop\n",
               "application/x-chessproblem=quintabell-chessproblem.desktop\n"});
  EXPECT_FALSE(Text(applications + "mimeapps.list").contains("stale.desktop"));
  const QString icon = data + "/icons/hicolor/scalable/mimetypes/application-x-chessproblem.svg";
  ASSERT_TRUE(QFileInfo::exists(icon));
  EXPECT_EQ(Text(icon), Text(bin + "libOrka-icon0.svg"));

  if (QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty())
    GTEST_SKIP() << "update-mime-database is not installed";
  ExpectHolds(data + "/mime/globs2", {":application/x-chessproblem:*.cmt"});
}

TEST_F(AssociationTest, TheDesktopEntryQuotesAProgramPathWithABlank) {
  ASSERT_EQ(Register(QStringLiteral("/opt/chess problems/")), 1);
  platform::NotifyAssociationsChanged(file);
  ExpectHolds(data + "/applications/quintabell-chessproblem.desktop",
              {"\nExec=\"/opt/chess problems/quintabell\" %f\n"});
}

} // namespace
