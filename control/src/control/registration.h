// The registry entries of the library: the type library OrkaLib 1.0 with its interfaces, the
// control class and the property page class with their ProgIDs.
#pragma once

#include "platform/automation.h"
#include "platform/registry.h"

#include <string>

namespace orka {

// Writes the type library's entries, then both classes'; stops at the first step that fails
// and answers which kind failed (kSelfRegTypeLib, kSelfRegClass). Nothing is rolled back.
platform::HResult RegisterServer(platform::Registry &registry, const std::string &libraryPath);
// Removes them in the same order; entries already gone are no failure.
platform::HResult UnregisterServer(platform::Registry &registry);

} // namespace orka
