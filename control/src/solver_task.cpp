#include "control/solver_task.h"

#include "control/orka_ids.h"
#include "control/play_events.h"

namespace orka {

using namespace platform;

namespace {

std::atomic<long> liveWorkers{0};

class EventReporter final : public engine::TaskHost {
public:
  EventReporter(EventSinks &sinks, const std::atomic<bool> &stop, short stopOnFound)
      : sinks_(sinks), stop_(stop), stopOnFound_(stopOnFound) {}

  void ProgressUpdate(short progress) override {
    const Variant argument = Variant::FromShort(progress);
    sinks_.Fire(kEventProgressUpdate, {&argument, 1}, stop_);
  }
  void SolutionFound(std::string_view solution) override {
    const Variant argument = Variant::FromString(std::string(solution));
    sinks_.Fire(kEventSolutionFound, {&argument, 1}, stop_);
  }
  void Finished() override { sinks_.Fire(kEventFinished, {}, stop_); }
  bool StopOnFound() const override { return stopOnFound_ != 0; }

private:
  EventSinks &sinks_;
  const std::atomic<bool> &stop_;
  const short stopOnFound_;
};

} // namespace

bool TaskSlot::Running() {
  std::lock_guard lock(mutex_);
  return current_ != nullptr;
}

void TaskSlot::Set(std::shared_ptr<SolverTask> task) {
  std::lock_guard lock(mutex_);
  current_ = std::move(task);
}

std::shared_ptr<SolverTask> TaskSlot::Take() {
  std::lock_guard lock(mutex_);
  return std::move(current_);
}

void TaskSlot::ClearIf(const SolverTask *task) {
  std::shared_ptr<SolverTask> ended; // dropped outside the lock
  std::lock_guard lock(mutex_);
  if (current_.get() == task)
    ended = std::move(current_);
}

long LiveWorkers() { return liveWorkers.load(); }

SolverTask::SolverTask(const TaskRequest &request, std::shared_ptr<engine::Solver> solver,
                       std::shared_ptr<EventSinks> sinks, std::shared_ptr<TaskSlot> slot)
    : request_(request), solver_(std::move(solver)), sinks_(std::move(sinks)),
      slot_(std::move(slot)) {}

std::shared_ptr<SolverTask> SolverTask::Create(const TaskRequest &request,
                                               std::shared_ptr<engine::Solver> solver,
                                               std::shared_ptr<EventSinks> sinks,
                                               std::shared_ptr<TaskSlot> slot) {
  auto task = std::make_shared<SolverTask>(request, std::move(solver), std::move(sinks), slot);
  // The slot is set before the worker may run, so that the worker can always clear it.
  slot->Set(task);
  // The worker keeps its task alive even if the control goes away while it runs.
  if (!task->thread_.Create([running = task]() mutable {
        running->Run();
        running.reset();
      })) {
    slot->ClearIf(task.get());
    return nullptr;
  }
  task->counted_ = true;
  ++liveWorkers;
  return task;
}

// The worker counts until it is joined, or, when the task goes with its own worker, until the
// thread let go has ended (the library asks the platform for those). A count taken down by
// the worker itself would leave it a few instructions of library code to run unseen.
SolverTask::~SolverTask() {
  thread_.Join();
  if (counted_)
    --liveWorkers;
}

void SolverTask::Run() {
  if (request_.playKey) {
    ReportPlay(request_, *sinks_, stop_);
  } else {
    EventReporter reporter(*sinks_, stop_, request_.stopOnFound);
    // A worker let go from inside an event may still be leaving its search on the same
    // solver: the solver has this one wait for it.
    solver_->RunTask(request_.kind, request_.position,
                     {.depth = request_.depth,
                      .castlingRights = request_.castlingRights,
                      .stopRequest = &stop_,
                      .search = {.threads = request_.threads}},
                     reporter);
  }
  // Idle only now, after every receiver of Finished has returned.
  slot_->ClearIf(this);
}

void SolverTask::Stop() {
  stop_ = true;
  thread_.Join();
}

void SolverTask::Join() { thread_.Join(); }

} // namespace orka
