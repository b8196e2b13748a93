// A joinable thread whose stack is deep enough for the longest line a search can follow: the
// search recurses once per ply, and a depth near the top of its 16-bit range needs far more
// than the system's default stack.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <pthread.h>

namespace platform {

class DeepThread {
public:
  static constexpr std::size_t kStackBytes = std::size_t{256} << 20;

  DeepThread() = default;
  DeepThread(const DeepThread &) = delete;
  DeepThread &operator=(const DeepThread &) = delete;
  ~DeepThread() { Join(); }

  // Creates the thread suspended: the body runs only after Resume, so the creator can finish
  // its own bookkeeping first. False when the system refuses the thread.
  bool Create(std::function<void()> body);
  void Resume();
  bool Start(std::function<void()> body) {
    if (!Create(std::move(body)))
      return false;
    Resume();
    return true;
  }
  // Waits for the thread to end; a thread never resumed ends without running its body. Called
  // on the thread itself (its owner is being destroyed or stopped from within the body) it
  // lets the thread go instead, which then ends on its own.
  void Join();

  // Threads let go that may still be running: the code they run must stay loaded. Threads
  // that have ended meanwhile are joined here and no longer counted.
  static std::size_t RunningLetGo();

private:
  static void *Run(void *self);

  std::function<void()> body_;
  pthread_t thread_{};
  std::atomic<bool> started_{false};
  std::mutex mutex_;
  std::condition_variable resumed_;
  enum class State { Suspended, Running, Cancelled } state_ = State::Suspended;
};

} // namespace platform
