#include "cli/task_run.h"

#include "engine/man_codes.h"
#include "platform/deep_thread.h"

#include <condition_variable>
#include <mutex>

namespace cli {

namespace {

class ForwardingHost : public engine::TaskHost {
public:
  ForwardingHost(const TaskRequest &request, TaskOutcome &outcome)
      : request_(request), outcome_(outcome) {}

  void ProgressUpdate(short progress) override {
    if (request_.onProgress)
      request_.onProgress(progress);
  }
  void SolutionFound(std::string_view solution) override {
    outcome_.solutions.emplace_back(solution);
    if (request_.onSolution)
      request_.onSolution(solution);
  }
  void Finished() override {}
  bool StopOnFound() const override { return request_.stopOnFirst; }

private:
  const TaskRequest &request_;
  TaskOutcome &outcome_;
};

} // namespace

TaskOutcome RunTask(const TaskRequest &request) {
  TaskOutcome outcome;
  std::atomic<bool> ownStop{false};
  std::atomic<bool> &stop = request.stopRequest != nullptr ? *request.stopRequest : ownStop;
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;

  engine::Solver ownSolver;
  engine::Solver &solver = request.solver != nullptr ? *request.solver : ownSolver;
  ForwardingHost host(request, outcome);
  const engine::TaskOrder order{.depth = request.depth,
                                .castlingRights = request.position.castlingRights,
                                .stopRequest = &stop,
                                .search = request.search};
  const auto start = std::chrono::steady_clock::now();
  platform::DeepThread worker;
  outcome.started = worker.Start([&] {
    outcome.result = solver.RunTask(request.kind, request.position.board, order, host);
    std::lock_guard lock(mutex);
    finished = true;
    done.notify_all();
  });
  if (!outcome.started)
    return outcome;
  {
    std::unique_lock lock(mutex);
    if (request.timeLimit.count() > 0) {
      const auto deadline = start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                        request.timeLimit);
      if (!done.wait_until(lock, deadline, [&] { return finished; })) {
        outcome.timedOut = true;
        stop = true;
      }
    }
  }
  worker.Join();
  outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  outcome.nodes = solver.NodeCount();
  if (!request.search.plain)
    outcome.table = solver.LastTaskTableStatistics();

  return outcome;
}

} // namespace cli
