// Makes the desktop open problem files with this program and show them with the solver
// library's icon. Checks first and writes only what is missing or different; tells the shell
// once when something that matters to it changed. Never reports a failure.
#pragma once

#include <QString>
#include <functional>

class RegistryObject;

struct FileTypeResult {
  bool changed = false;
};

// `appPath` is the program's folder with its trailing separator. `notify` is called at most
// once, when an entry the shell relies on was written.
FileTypeResult RegisterFileType(RegistryObject &registry, const QString &appPath,
                                const std::function<void()> &notify);
