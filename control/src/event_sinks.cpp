#include "control/event_sinks.h"

namespace orka {

using namespace platform;

std::uint32_t EventSinks::Add(ComPtr<IDispatch> sink) {
  std::lock_guard lock(mutex_);
  const std::uint32_t cookie = nextCookie_++;
  entries_.push_back({cookie, std::move(sink)});
  return cookie;
}

bool EventSinks::Remove(std::uint32_t cookie) {
  ComPtr<IDispatch> removed; // released outside the lock: a sink may call back in
  std::lock_guard lock(mutex_);
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->cookie == cookie) {
      removed = std::move(it->sink);
      entries_.erase(it);
      return true;
    }
  }
  return false;
}

void EventSinks::Clear() {
  std::vector<Entry> removed;
  std::lock_guard lock(mutex_);
  removed.swap(entries_);
}

void EventSinks::Fire(DispId event, std::span<const Variant> arguments,
                      const std::atomic<bool> &stop) {
  // A handler may advise, unadvise or destroy the control: deliver from a copy.
  std::vector<Entry> targets;
  {
    std::lock_guard lock(mutex_);
    targets = entries_;
  }
  for (const Entry &target : targets) {
    if (stop.load())
      return;
    try {
      target.sink->Invoke(event, InvokeKind::Method, arguments, nullptr);
    } catch (...) {
      // One failing host must not keep the others from the event or stop the task.
    }
  }
}

HResult EventConnectionPoint::QueryInterface(const Guid &iid, void **object) {
  if (object == nullptr)
    return kPointer;
  if (iid == kIidUnknown || iid == kIidConnectionPoint) {
    *object = static_cast<IConnectionPoint *>(this);
    AddRef();
    return kOk;
  }
  *object = nullptr;
  return kNoInterface;
}

HResult EventConnectionPoint::Advise(IDispatch *sink, std::uint32_t *cookie) {
  if (sink == nullptr || cookie == nullptr)
    return kPointer;
  sink->AddRef();
  *cookie = sinks_.Add(ComPtr<IDispatch>::Adopt(sink));
  return kOk;
}

HResult EventConnectionPoint::Unadvise(std::uint32_t cookie) {
  return sinks_.Remove(cookie) ? kOk : kNoConnection;
}

} // namespace orka
