// A joinable thread whose stack is deep enough for the longest line a search can follow: the
// search recurses once per ply, and a depth near the top of its 16-bit range needs far more
// than the system's default stack.
#pragma once

#include <functional>
#include <pthread.h>

namespace platform {

class DeepThread {
public:
  static constexpr std::size_t kStackBytes = std::size_t{256} << 20;

  DeepThread() = default;
  DeepThread(const DeepThread &) = delete;
  DeepThread &operator=(const DeepThread &) = delete;
  ~DeepThread() { Join(); }

  // False when the system refuses the thread; the body then never runs.
  bool Start(std::function<void()> body);
  // Waits for the thread to end. Called on the thread itself (its owner is being destroyed
  // from within the body) it lets the thread go instead: it ends on its own.
  void Join();
  bool Started() const { return started_; }

private:
  static void *Run(void *self);

  std::function<void()> body_;
  pthread_t thread_{};
  bool started_ = false;
};

} // namespace platform
