// The file-type association the program writes at each start: written when missing or when
// the program moved, left alone otherwise, the folder compared as a name and never as a pattern.
#include "app/store/register_file_type.h"
#include "app/store/registry_object.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

TEST(FileType, WrittenOnceAndAgainOnlyWhenTheProgramMoved) {
  QTemporaryDir dir;
  platform::Registry file(dir.filePath(QStringLiteral("registry.reg")).toStdString());
  const auto value = [&](const std::string &key) {
    return file.QueryValue(platform::RegistryRoot::ClassesRoot, key, "").value_or("<none>");
  };
  // Each start in turn, from this folder, and whether the shell is told. The wildcard
  // characters in a folder's name once passed the previous folder's entries as current.
  const std::pair<const char *, int> starts[] = {
      {"/opt/quintabell/", 1}, {"/opt/quintabell/", 0}, {"/OPT/Quintabell/", 0},
      {"/home/ann/apps/", 1},  {"/opt/q/", 1},          {"/opt/q*/", 1},
      {"/opt/qx/", 1},         {"/opt/q?/", 1},         {"/opt/q1/", 1},
      {"/opt/q#/", 1},         {"/opt/b/", 1},          {"/opt/[a-c]/", 1}};
  std::string folder;
  for (const auto &[from, told] : starts) {
    SCOPED_TRACE(from);
    RegistryObject registry(file);
    int notices = 0;
    RegisterFileType(registry, QString::fromLatin1(from), [&] { ++notices; });
    EXPECT_EQ(notices, told);
    if (told == 1)
      folder = from;
    EXPECT_EQ(value(".cmt"), "ChessProblem");
    EXPECT_EQ(value("ChessProblem\\DefaultIcon"), folder + "libOrka.so,0");
    EXPECT_EQ(value("ChessProblem\\shell\\Open\\command"), "\"" + folder + "quintabell\" \"%1\"");
  }
}

} // namespace
