#include "app/store/settings_object.h"

#include <QSettings>

namespace {

QString Key(const QString &valName) { return QStringLiteral("Config/") + valName; }

} // namespace

void SettingsObject::Save(const QString &valName, const QVariant &value) {
  Save({{valName, value}});
}

// QSettings writes its file whole, to a temporary file renamed over the old one, at each sync.
void SettingsObject::Save(const Values &values) {
  QSettings settings;
  for (const auto &[valName, value] : values)
    settings.setValue(Key(valName), value.toString());
  settings.sync();
}

QString SettingsObject::Read(const QString &valName, const QString &defaultValue) {
  QSettings settings;
  if (!settings.contains(Key(valName)))
    return defaultValue;
  return settings.value(Key(valName)).toString();
}

int SettingsObject::ReadNumber(const QString &valName, int defaultValue) {
  return SettingsNumber(Read(valName), defaultValue);
}

int SettingsNumber(const QString &text, int defaultValue) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  return ok ? value : defaultValue;
}
