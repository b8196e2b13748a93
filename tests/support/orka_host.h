// A host of the Orka control written against the component boundary alone: it loads
// libOrka.so at run time, talks to the control by dispatch identifier and records the events
// that arrive on the worker thread.
#pragma once

#include "platform/automation.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

using Events = std::vector<std::string>;

// Mate in one with two keys, "Rg2-g8   #" and "Rh1-h8   #": the rooks on g2 (file 6, rank 1)
// and h1 (7, 0).
inline constexpr const char *kTwoRooks = "k7/8/1K6/8/8/8/6R1/7R w - - 0 1";
// Mate in two with the one key "Qa7-f2    ".
inline constexpr const char *kMateInTwo = "8/Q7/8/8/8/8/8/2k1K2R w K - 0 1";
// A mate in six searched to eight moves: unstopped it runs for minutes, far beyond any wait of
// the tests, so only a stop can end it in time (to six moves it would end by itself in seconds).
inline constexpr const char *kDeepMate = "4k3/1pp2pp1/8/b1B1pB2/rp6/p5N1/3R4/R2bK3 w Q - 0 1";
inline constexpr short kDeepMoves = 8;

// The library built beside the tests.
std::string OrkaLibraryPath();

// Every wait of the tests gives up after this, so that a broken control fails a test instead
// of hanging it.
inline constexpr std::chrono::seconds kWaitBound{30};

// A bounded wait until only the threads that were there before any task started remain: the
// worker is gone, so no event of its task can come any more.
bool WaitForNoWorker();

// Lets one thread hold another at a known point; it opens once.
struct Gate {
  std::promise<void> opened;
  std::shared_future<void> open = opened.get_future().share();
  void Open() { opened.set_value(); }
  bool Wait() const { return open.wait_for(kWaitBound) == std::future_status::ready; }
};

// The solution texts of a list of recorded events, in order.
Events SolutionsOf(const Events &events);

// An event sink that writes each event down as text ("progress 14", "solution Qf8-e7    ",
// "finished", "play progress 50", "play {...}", "play finished 0") and lets the test wait for
// one.
struct RecordingSink final : platform::IDispatch {
  static platform::ComPtr<RecordingSink> Make() {
    return platform::ComPtr<RecordingSink>::Adopt(new RecordingSink);
  }
  platform::HResult QueryInterface(const platform::Guid &iid, void **object) override;
  std::uint32_t AddRef() override { return ++refs; }
  std::uint32_t Release() override;
  platform::HResult GetIdOfName(std::string_view, platform::DispId *) override {
    return platform::kNotImplemented;
  }
  platform::HResult Invoke(platform::DispId id, platform::InvokeKind kind,
                           std::span<const platform::Variant> arguments,
                           platform::Variant *result) override;

  testing_support::Events Events();
  std::size_t Count() {
    std::lock_guard lock(mutex);
    return events.size();
  }
  // True when `event` has been recorded `times` times within the bound.
  bool WaitFor(const std::string &event, int times = 1);

  // Runs on the worker thread before the event is recorded; may throw to act as a failing host.
  std::function<void(const std::string &event)> onEvent;
  // What Invoke answers after recording; a failure code plays a host that reports an error.
  platform::HResult invokeResult = platform::kOk;
  std::atomic<std::uint32_t> refs{1};
  std::mutex mutex;
  std::condition_variable changed;
  testing_support::Events events;
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
  short Call(platform::DispId id, std::optional<short> argument = {});

  // Clear, then every square of the FEN's board as the main window sends it, with the FEN's
  // rights and the depth. Without the Clear, the empty squares are written as well, so that
  // the writes alone would set up the whole board.
  void Place(const std::string &fen, short depth, bool clear = true);
  // Mate or Defend by the side to move of the last Place; answers LSuccess.
  short Start(short stopOnFound = 0);
  short Start(const std::string &fen, short depth) {
    Place(fen, depth);
    return Start();
  }
  // Play of the first move with this solution line; answers LSuccess.
  short Play(const std::string &key, short every = 0);
  // Start with a sink of its own; waits for Finished and for the worker to be gone, and answers
  // the events of the task.
  Events Run(short stopOnFound = 0);
  Events Solve(const std::string &fen, short depth, short stopOnFound = 0) {
    Place(fen, depth);
    return Run(stopOnFound);
  }

  std::uint32_t Advise(RecordingSink &sink);
  void Unadvise(std::uint32_t cookie);

private:
  platform::ComPtr<platform::IConnectionPoint> EventPoint();

  platform::ComPtr<platform::IDispatch> control_;
  bool whiteToMove_ = true;
};

} // namespace testing_support
