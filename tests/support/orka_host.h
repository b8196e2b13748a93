// A host of the Orka control written against the component boundary alone: it loads
// libOrka.so at run time, talks to the control by dispatch identifier and records the events
// that arrive on the worker thread.
#pragma once

#include "platform/automation.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace testing_support {

// The library built beside the tests.
std::string OrkaLibraryPath();

// Threads of this process now, and a bounded wait until only those that were there before any
// task started remain: the worker is gone, so the control counts as idle again.
int ThreadCount();
bool WaitForNoWorker(std::chrono::milliseconds wait = std::chrono::seconds(30));

// Lets one thread hold another at a known point; a wait gives up after a bound so that a broken
// control fails the test instead of hanging it.
class Gate {
public:
  void Open();
  bool Wait(std::chrono::milliseconds wait = std::chrono::seconds(30));

private:
  std::mutex mutex_;
  std::condition_variable opened_;
  bool open_ = false;
};

// The solution texts of a list of recorded events, in order.
std::vector<std::string> SolutionsOf(const std::vector<std::string> &events);

// An event sink that writes each event down as text ("progress 14", "solution Qf8-e7    ",
// "finished") and lets the test wait for one.
class RecordingSink final : public platform::IDispatch {
public:
  static platform::ComPtr<RecordingSink> Make();

  platform::HResult QueryInterface(const platform::Guid &iid, void **object) override;
  std::uint32_t AddRef() override;
  std::uint32_t Release() override;
  platform::HResult GetIdOfName(std::string_view, platform::DispId *) override;
  platform::HResult Invoke(platform::DispId id, platform::InvokeKind kind,
                           std::span<const platform::Variant> arguments,
                           platform::Variant *result) override;

  std::vector<std::string> Events();
  std::size_t Count();
  // True when `event` has been recorded `times` times within the wait.
  bool WaitFor(const std::string &event, int times = 1,
               std::chrono::milliseconds wait = std::chrono::seconds(30));
  // Runs on the worker thread before the event is recorded; may throw to act as a failing host.
  std::function<void(const std::string &event)> onEvent;
  // What Invoke answers after recording; a failure code plays a host that reports an error.
  platform::HResult invokeResult = platform::kOk;

private:
  RecordingSink() = default;
  std::atomic<std::uint32_t> refs_{1};
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> events_;
};

// One control created from the library, with typed access by dispatch identifier.
class OrkaHost {
public:
  OrkaHost(); // creates the control from the library beside the tests
  explicit OrkaHost(platform::ComPtr<platform::IDispatch> control);

  platform::IDispatch *control() const { return control_.Get(); }
  void Destroy() { control_.Reset(); }

  short Get(platform::DispId id);
  platform::HResult Put(platform::DispId id, const platform::Variant &value);
  void Put(platform::DispId id, short value);
  short Call(platform::DispId id);
  short Call(platform::DispId id, short argument);

  // Clear, then every square of the FEN's board as the main window sends it, with the FEN's
  // rights and the depth; answers whether the FEN has White to move.
  bool Place(const std::string &fen, short depth);
  // Place, then Mate or Defend by the side to move; answers LSuccess.
  short Start(const std::string &fen, short depth, short stopOnFound = 0);
  // Mate or Defend by the side to move of the last Place, with a sink of its own; waits for
  // Finished and for the worker to be gone, and answers the events of the task.
  std::vector<std::string> Run(short stopOnFound = 0);
  std::vector<std::string> Solve(const std::string &fen, short depth, short stopOnFound = 0);

  std::uint32_t Advise(RecordingSink &sink);
  void Unadvise(std::uint32_t cookie);

private:
  platform::ComPtr<platform::IDispatch> control_;
  bool whiteToMove_ = true;
};

} // namespace testing_support
