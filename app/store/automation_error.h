// An error raised the way an automation object raises one: a number, the routine that raised
// it and a description.
#pragma once

#include <QString>
#include <stdexcept>

class AutomationError : public std::runtime_error {
public:
  AutomationError(int number, QString source, QString description)
      : std::runtime_error(description.toStdString()), number(number), source(std::move(source)),
        description(std::move(description)) {}

  int number;
  QString source;
  QString description;
};
