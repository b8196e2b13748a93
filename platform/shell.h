// The shell's "file associations changed" notification. On this desktop it turns the file
// types registered under the classes root into what freedesktop desktops read: a shared MIME
// type for each extension, an icon for it, a .desktop entry that opens such files with the
// registered command, and that entry as the type's default handler.
#pragma once

#include "platform/registry.h"

#include <filesystem>

namespace platform {

// $XDG_DATA_HOME, or ~/.local/share when it is not set.
std::filesystem::path DataHome();

// For every ".ext" key of the classes root whose class has an Open command: writes
//   mime/packages/quintabell-<class>.xml           (type application/x-<class>, glob *.ext)
//   icons/hicolor/scalable/mimetypes/application-x-<class>.svg   (from the class's DefaultIcon)
//   applications/quintabell-<class>.desktop         (Exec from the Open command)
//   applications/mimeapps.list                      (only the type's own default line)
// under DataHome(), then runs update-mime-database and update-desktop-database when they are
// installed. Files of other programs are never written. Failures are silent, as the shell's are.
void NotifyAssociationsChanged(const Registry &registry);

// The icon picture of a reference "FILE,INDEX": the file FILE itself when it is a picture,
// else the picture its library ships beside it, "<stem>-icon<INDEX>.svg". Empty when missing.
std::filesystem::path IconPicture(const std::string &reference);

} // namespace platform
