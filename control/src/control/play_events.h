// Play as a task of the control: the play of one first move worked out on the worker, with its
// events (see orka_ids.h).
#pragma once

#include "control/event_sinks.h"
#include "control/solver_task.h"

#include <atomic>

namespace orka {

// Ends with PlayFinished unless `stop` was set; then nothing more is delivered.
void ReportPlay(const TaskRequest &request, EventSinks &sinks, const std::atomic<bool> &stop);

} // namespace orka
