#include "app/store/register_file_type.h"

#include "app/store/like_pattern.h"
#include "app/store/registry_object.h"
#include "control/orka_ids.h"

namespace {

const QString kExtension = QStringLiteral(".cmt");
const QString kDefaultClass = QStringLiteral("ChessProblem");
const QString kProgramFile = QStringLiteral("quintabell");

} // namespace

FileTypeResult RegisterFileType(RegistryObject &registry, const QString &appPath,
                                const std::function<void()> &notify) {
  const QString icon = appPath +
                       QString::fromLatin1(orka::kLibraryFileName.data(),
                                           static_cast<int>(orka::kLibraryFileName.size())) +
                       QStringLiteral(",0");
  const QString command =
      QStringLiteral("\"%1%2\" \"%3\"").arg(appPath, kProgramFile, QStringLiteral("%1"));
  FileTypeResult result;
  registry.SetRootKey(QStringLiteral("HKCR"));

  // A type that already belongs to another class gets this program's icon and command there.
  QString className = registry.ReadVal(kExtension, QString());
  if (className.isEmpty()) {
    className = kDefaultClass;
    registry.CreateKey(kExtension);
    registry.WriteVal(kExtension, QString(), className);
    result.changed = true;
  }
  if (registry.ReadVal(className, QString()).isEmpty()) {
    registry.CreateKey(className);
    registry.WriteVal(className, QString(), className);
    result.changed = true;
  }
  const QString iconKey = className + QStringLiteral("\\DefaultIcon");
  // The program's folder is a name, not a pattern: "/opt/q*/" must not pass for any folder.
  if (!IsLike(registry.ReadVal(iconKey, QString()), LikeLiteral(icon))) {
    registry.WriteVal(iconKey, QString(), icon);
    result.changed = true;
  }
  const QString shellKey = className + QStringLiteral("\\shell");
  registry.CreateKey(shellKey);
  if (registry.ReadVal(shellKey, QString()).isEmpty()) {
    registry.WriteVal(shellKey, QString(), QStringLiteral("Open"));
  }
  registry.CreateKey(shellKey + QStringLiteral("\\Open"));
  const QString commandKey = shellKey + QStringLiteral("\\Open\\command");
  if (!IsLike(registry.ReadVal(commandKey, QString()), LikeLiteral(command))) {
    registry.WriteVal(commandKey, QString(), command);
    result.changed = true;
  }
  if (result.changed && notify)
    notify();
  return result;
}
