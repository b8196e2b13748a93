// One Mate or Defend task of a control: its worker thread, its stop request and its reports.
#pragma once

#include "control/event_sinks.h"
#include "engine/engine.h"
#include "platform/deep_thread.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace orka {

class SolverTask;

// The control's task thread field: set exactly while a task runs. The worker clears it at its
// end, the host's thread when it stops the task; whoever comes second finds it empty.
class TaskSlot {
public:
  bool Running();
  void Set(std::shared_ptr<SolverTask> task);
  std::shared_ptr<SolverTask> Take();
  void ClearIf(const SolverTask *task);

private:
  std::mutex mutex_;
  std::shared_ptr<SolverTask> current_;
};

struct TaskRequest {
  engine::TaskKind kind = engine::TaskKind::Mate;
  short depth = 0;
  std::uint32_t castlingRights = 0;
  short stopOnFound = 0;
  engine::Placement position{};
  short threads = 0; // search threads; 0 or less: every core
  // Set for Play: the first move whose play the worker works out instead of the task.
  std::optional<std::string> playKey;
  bool everyAnswer = false;
};

class SolverTask {
public:
  // Sets the slot, then creates the worker suspended; on failure the slot is empty again and
  // null comes back. Nothing runs before Resume.
  static std::shared_ptr<SolverTask> Create(const TaskRequest &request,
                                            std::shared_ptr<engine::Solver> solver,
                                            std::shared_ptr<EventSinks> sinks,
                                            std::shared_ptr<TaskSlot> slot);
  void Resume() { thread_.Resume(); }

  // Asks the search to stop and no further event to be delivered, then waits for the worker;
  // from the worker itself (an event handler) it only asks.
  void Stop();
  // Waits for a worker that has ended by itself (or lets it go when called on it).
  void Join();

  SolverTask(const TaskRequest &request, std::shared_ptr<engine::Solver> solver,
             std::shared_ptr<EventSinks> sinks, std::shared_ptr<TaskSlot> slot);
  ~SolverTask();
  SolverTask(const SolverTask &) = delete;
  SolverTask &operator=(const SolverTask &) = delete;

private:
  void Run();

  const TaskRequest request_;
  const std::shared_ptr<engine::Solver> solver_;
  const std::shared_ptr<EventSinks> sinks_;
  const std::shared_ptr<TaskSlot> slot_;
  std::atomic<bool> stop_{false};
  platform::DeepThread thread_;
  bool counted_ = false; // among the live workers
};

// Workers not yet joined; with the threads let go that have not yet ended, what keeps the
// library loaded.
long LiveWorkers();

} // namespace orka
