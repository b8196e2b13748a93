// What the library counts to decide whether it may be unloaded.
#pragma once

#include <atomic>

namespace orka {

// Objects of the library alive now (controls and property pages).
std::atomic<long> &LiveObjects();

} // namespace orka
