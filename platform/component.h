// Creating objects of in-process servers: a class is found by its ProgID in the registry's
// classes root, its library loaded into the process and asked for the class factory. Libraries
// stay loaded until FreeUnusedLibraries finds that they have nothing alive.
#pragma once

#include "platform/automation.h"
#include "platform/registry.h"

#include <filesystem>
#include <string>

namespace platform {

// Where to look when the ProgID is not registered (or its library cannot be loaded): a
// library of that file name in the program's own folder, and the class to ask it for.
struct ComponentFallback {
  std::string libraryFileName;
  Guid classId{};
};

// kClassNotRegistered when neither the registry nor the fallback leads to a loadable library.
HResult CreateObjectByProgId(Registry &registry, std::string_view progId,
                             const ComponentFallback &fallback, const Guid &iid, void **object);

// Creates an object of `classId` from the library at `libraryPath`.
HResult CreateObjectFromLibrary(const std::filesystem::path &libraryPath, const Guid &classId,
                                const Guid &iid, void **object);

// Unloads every library whose DllCanUnloadNow answers kOk; answers how many stay loaded.
int FreeUnusedLibraries();

// The folder of the running program.
std::filesystem::path ProgramFolder();

} // namespace platform
