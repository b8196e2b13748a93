#include "platform/deep_thread.h"

namespace platform {

bool DeepThread::Create(std::function<void()> body) {
  if (started_)
    return false;
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
    pthread_detach(thread_);
  } else {
    pthread_join(thread_, nullptr);
  }
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
