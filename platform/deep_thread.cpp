#include "platform/deep_thread.h"

namespace platform {

bool DeepThread::Start(std::function<void()> body) {
  if (started_)
    return false;
  body_ = std::move(body);
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0)
    return false;
  // Stack pages are committed only when touched, so the reservation costs address space only.
  const bool sized = pthread_attr_setstacksize(&attributes, kStackBytes) == 0;
  started_ = sized && pthread_create(&thread_, &attributes, &DeepThread::Run, this) == 0;
  pthread_attr_destroy(&attributes);
  if (!started_)
    body_ = nullptr; // it may hold references that would otherwise never go
  return started_;
}

void DeepThread::Join() {
  if (!started_)
    return;
  pthread_join(thread_, nullptr);
  started_ = false;
}

void *DeepThread::Run(void *self) {
  static_cast<DeepThread *>(self)->body_();
  return nullptr;
}

} // namespace platform
