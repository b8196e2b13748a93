#include "platform/deep_thread.h"

#include <vector>

namespace platform {

namespace {

// The threads let go by Join on themselves, until they are found ended. A thread knows it has
// left its last instruction only once another thread can join it, so that is what is asked.
struct LetGo {
  std::mutex mutex;
  std::vector<pthread_t> threads;
};

LetGo &LetGoThreads() {
  static LetGo *const letGo = new LetGo; // outlives static destructors: threads may still end
  return *letGo;
}

} // namespace

bool DeepThread::Create(std::function<void()> body) {
  if (started_)
    return false;
  // An ended thread that was let go keeps its deep stack until it is joined.
  RunningLetGo();
  body_ = std::move(body);
  state_ = State::Suspended;
  pthread_attr_t attributes;
  bool created = false;
  if (pthread_attr_init(&attributes) == 0) {
    // Stack pages are committed only when touched: the reservation costs address space only.
    created = pthread_attr_setstacksize(&attributes, kStackBytes) == 0 &&
              pthread_create(&thread_, &attributes, &DeepThread::Run, this) == 0;
    pthread_attr_destroy(&attributes);
  }
  if (!created) {
    body_ = nullptr; // it may hold references that would otherwise never go
    return false;
  }
  started_ = true;
  return true;
}

void DeepThread::Resume() {
  std::lock_guard lock(mutex_);
  if (state_ == State::Suspended)
    state_ = State::Running;
  resumed_.notify_all();
}

void DeepThread::Join() {
  if (!started_.exchange(false))
    return;
  {
    std::lock_guard lock(mutex_);
    if (state_ == State::Suspended)
      state_ = State::Cancelled;
    resumed_.notify_all();
  }
  if (pthread_equal(pthread_self(), thread_)) {
    LetGo &letGo = LetGoThreads();
    std::lock_guard lock(letGo.mutex);
    letGo.threads.push_back(thread_);
  } else {
    pthread_join(thread_, nullptr);
  }
}

std::size_t DeepThread::RunningLetGo() {
  LetGo &letGo = LetGoThreads();
  std::lock_guard lock(letGo.mutex);
  std::erase_if(letGo.threads,
                [](pthread_t thread) { return pthread_tryjoin_np(thread, nullptr) == 0; });
  return letGo.threads.size();
}

void *DeepThread::Run(void *self) {
  auto *thread = static_cast<DeepThread *>(self);
  std::function<void()> body;
  {
    std::unique_lock lock(thread->mutex_);
    thread->resumed_.wait(lock, [thread] { return thread->state_ != State::Suspended; });
    body = std::move(thread->body_);
    if (thread->state_ == State::Cancelled)
      return nullptr;
  }
  // The body may own the last reference to this object: nothing of it is touched from here on.
  body();
  return nullptr;
}

} // namespace platform
