// The sinks advised on the control's event connection point, and the delivery of one event to
// all of them. Shared between the control and its running task, so that a control destroyed
// from inside an event handler leaves the worker something valid to return to.
#pragma once

#include "platform/automation.h"

#include <atomic>
#include <mutex>
#include <span>
#include <vector>

namespace orka {

class EventSinks {
public:
  std::uint32_t Add(platform::ComPtr<platform::IDispatch> sink);
  bool Remove(std::uint32_t cookie);
  void Clear();

  // Invokes the event on every sink in advise order, synchronously on the calling thread. A
  // sink that fails or throws is passed over; once `stop` is set no further sink is called.
  void Fire(platform::DispId event, std::span<const platform::Variant> arguments,
            const std::atomic<bool> &stop);

private:
  struct Entry {
    std::uint32_t cookie;
    platform::ComPtr<platform::IDispatch> sink;
  };
  std::mutex mutex_;
  std::vector<Entry> entries_;
  std::uint32_t nextCookie_ = 1;
};

// The connection point a host finds on the control; its lifetime is the control's.
class EventConnectionPoint final : public platform::IConnectionPoint {
public:
  EventConnectionPoint(platform::IUnknown &owner, EventSinks &sinks)
      : owner_(owner), sinks_(sinks) {}

  platform::HResult QueryInterface(const platform::Guid &iid, void **object) override;
  std::uint32_t AddRef() override { return owner_.AddRef(); }
  std::uint32_t Release() override { return owner_.Release(); }
  platform::HResult Advise(platform::IDispatch *sink, std::uint32_t *cookie) override;
  platform::HResult Unadvise(std::uint32_t cookie) override;

private:
  platform::IUnknown &owner_;
  EventSinks &sinks_;
};

} // namespace orka
