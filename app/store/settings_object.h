// SettingsObject: the program's remembered values, as text under application "Quintabell",
// section "Config". Holds nothing itself; every call goes to the store.
#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <utility>

class SettingsObject {
public:
  using Values = QList<std::pair<QString, QVariant>>;

  void Save(const QString &valName, const QVariant &value);
  // All the values in one change of the store: a program killed in the middle leaves either
  // all the old values or all the new ones, never a mix.
  void Save(const Values &values);
  // The stored text, or `defaultValue` when the value does not exist; an empty stored value
  // stays empty.
  QString Read(const QString &valName, const QString &defaultValue = QString());
  // A stored whole number, or `defaultValue` when it is missing or not a number.
  int ReadNumber(const QString &valName, int defaultValue);
};

// A whole number as the settings keep it, blanks around it allowed; `defaultValue` when the text
// is none.
int SettingsNumber(const QString &text, int defaultValue);
