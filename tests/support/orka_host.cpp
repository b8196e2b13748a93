#include "tests/support/orka_host.h"

#include "control/orka_ids.h"
#include "platform/component.h"
#include "problem/fen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <thread>

namespace testing_support {

using namespace platform;

std::string OrkaLibraryPath() { return (ProgramFolder() / orka::kLibraryFileName).string(); }

int ThreadCount() {
  std::error_code error;
  const std::filesystem::directory_iterator tasks("/proc/self/task", error);
  return error ? -1 : static_cast<int>(std::distance(begin(tasks), end(tasks)));
}

namespace {

// Threads a sanitizer starts with the first thread of the program count as part of the
// process: start and end one thread before taking the count.
int IdleThreadCount() {
  static const int idle = [] {
    std::thread([] {}).join();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return ThreadCount();
  }();
  return idle;
}

} // namespace

bool WaitForNoWorker(std::chrono::milliseconds wait) {
  const int idle = IdleThreadCount();
  const auto until = std::chrono::steady_clock::now() + wait;
  while (ThreadCount() > idle) {
    if (std::chrono::steady_clock::now() > until)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

void Gate::Open() {
  std::lock_guard lock(mutex_);
  open_ = true;
  opened_.notify_all();
}

bool Gate::Wait(std::chrono::milliseconds wait) {
  std::unique_lock lock(mutex_);
  return opened_.wait_for(lock, wait, [&] { return open_; });
}

std::vector<std::string> SolutionsOf(const std::vector<std::string> &events) {
  std::vector<std::string> solutions;
  for (const std::string &event : events) {
    if (event.rfind("solution ", 0) == 0)
      solutions.push_back(event.substr(9));
  }
  return solutions;
}

ComPtr<RecordingSink> RecordingSink::Make() {
  return ComPtr<RecordingSink>::Adopt(new RecordingSink);
}

HResult RecordingSink::QueryInterface(const Guid &iid, void **object) {
  if (iid == kIidUnknown || iid == kIidDispatch || iid == orka::kIidDOrkaEvents) {
    *object = static_cast<IDispatch *>(this);
    AddRef();
    return kOk;
  }
  *object = nullptr;
  return kNoInterface;
}

std::uint32_t RecordingSink::AddRef() { return ++refs_; }

std::uint32_t RecordingSink::Release() {
  const std::uint32_t left = --refs_;
  if (left == 0)
    delete this;
  return left;
}

HResult RecordingSink::GetIdOfName(std::string_view, DispId *) { return kNotImplemented; }

HResult RecordingSink::Invoke(DispId id, InvokeKind kind, std::span<const Variant> arguments,
                              Variant *) {
  EXPECT_EQ(kind, InvokeKind::Method);
  std::string event;
  if (id == orka::kEventProgressUpdate && arguments.size() == 1 &&
      arguments[0].type() == Variant::Type::Short) {
    event = "progress " + std::to_string(arguments[0].AsShort());
  } else if (id == orka::kEventSolutionFound && arguments.size() == 1 &&
             arguments[0].type() == Variant::Type::String) {
    event = "solution " + arguments[0].AsString();
  } else if (id == orka::kEventFinished && arguments.empty()) {
    event = "finished";
  } else {
    event = "unexpected event " + std::to_string(id);
  }
  if (onEvent)
    onEvent(event);
  std::lock_guard lock(mutex_);
  events_.push_back(event);
  changed_.notify_all();
  return invokeResult;
}

std::vector<std::string> RecordingSink::Events() {
  std::lock_guard lock(mutex_);
  return events_;
}

std::size_t RecordingSink::Count() {
  std::lock_guard lock(mutex_);
  return events_.size();
}

bool RecordingSink::WaitFor(const std::string &event, int times, std::chrono::milliseconds wait) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(
      lock, wait, [&] { return std::count(events_.begin(), events_.end(), event) >= times; });
}

OrkaHost::OrkaHost() {
  IdleThreadCount(); // taken before this host can have started a worker
  const HResult created = CreateObjectFromLibrary(OrkaLibraryPath(), orka::kClsidOrka, kIidDispatch,
                                                  control_.ReceiveVoid());
  EXPECT_EQ(created, kOk);
}

OrkaHost::OrkaHost(ComPtr<IDispatch> control) : control_(std::move(control)) { IdleThreadCount(); }

short OrkaHost::Get(DispId id) {
  Variant result;
  EXPECT_EQ(control_->Invoke(id, InvokeKind::PropertyGet, {}, &result), kOk) << "get " << id;
  EXPECT_EQ(result.type(), Variant::Type::Short);
  return result.AsShort();
}

HResult OrkaHost::Put(DispId id, const Variant &value) {
  return control_->Invoke(id, InvokeKind::PropertyPut, {&value, 1}, nullptr);
}

void OrkaHost::Put(DispId id, short value) {
  EXPECT_EQ(Put(id, Variant::FromShort(value)), kOk) << "put " << id;
}

short OrkaHost::Call(DispId id) {
  Variant result;
  EXPECT_EQ(control_->Invoke(id, InvokeKind::Method, {}, &result), kOk) << "call " << id;
  return result.AsShort();
}

short OrkaHost::Call(DispId id, short argument) {
  const Variant value = Variant::FromShort(argument);
  Variant result;
  EXPECT_EQ(control_->Invoke(id, InvokeKind::Method, {&value, 1}, &result), kOk) << "call " << id;
  return result.AsShort();
}

bool OrkaHost::Place(const std::string &fen, short depth) {
  problem::FenPosition position;
  std::string error;
  EXPECT_TRUE(problem::ParseFen(fen, position, error)) << error;
  Call(orka::kDispClear);
  for (int n = 0; n < 64; ++n) {
    Put(orka::kDispCmFieldX, static_cast<short>(n / 8));
    Put(orka::kDispCmFieldY, static_cast<short>(n % 8));
    if (position.board[n] != 0)
      Put(orka::kDispCmMan, static_cast<short>(position.board[n]));
  }
  const struct {
    std::uint32_t right;
    DispId id;
  } rights[] = {{2, orka::kDispCouplingWhiteSmall},
                {1, orka::kDispCouplingWhiteLarge},
                {8, orka::kDispCouplingBlackSmall},
                {4, orka::kDispCouplingBlackLarge}};
  for (const auto &r : rights) {
    if (position.castlingRights & r.right) {
      EXPECT_EQ(Put(r.id, Variant::FromBool(true)), kOk);
    }
  }
  Put(orka::kDispCmMD, depth);
  whiteToMove_ = position.whiteToMove;
  return position.whiteToMove;
}

short OrkaHost::Start(const std::string &fen, short depth, short stopOnFound) {
  const bool white = Place(fen, depth);
  EXPECT_EQ(Call(white ? orka::kDispMate : orka::kDispDefend, stopOnFound), 1);
  return Get(orka::kDispLSuccess);
}

std::vector<std::string> OrkaHost::Run(short stopOnFound) {
  const auto sink = RecordingSink::Make();
  const std::uint32_t cookie = Advise(*sink);
  EXPECT_EQ(Call(whiteToMove_ ? orka::kDispMate : orka::kDispDefend, stopOnFound), 1);
  EXPECT_EQ(Get(orka::kDispLSuccess), 1);
  EXPECT_TRUE(sink->WaitFor("finished"));
  EXPECT_TRUE(WaitForNoWorker());
  Unadvise(cookie);
  return sink->Events();
}

std::vector<std::string> OrkaHost::Solve(const std::string &fen, short depth, short stopOnFound) {
  Place(fen, depth);
  return Run(stopOnFound);
}

std::uint32_t OrkaHost::Advise(RecordingSink &sink) {
  const auto container =
      QueryInterfaceAs<IConnectionPointContainer>(control_.Get(), kIidConnectionPointContainer);
  EXPECT_TRUE(container);
  ComPtr<IConnectionPoint> point;
  EXPECT_EQ(container->FindConnectionPoint(orka::kIidDOrkaEvents, point.Receive()), kOk);
  std::uint32_t cookie = 0;
  EXPECT_EQ(point->Advise(&sink, &cookie), kOk);
  return cookie;
}

void OrkaHost::Unadvise(std::uint32_t cookie) {
  const auto container =
      QueryInterfaceAs<IConnectionPointContainer>(control_.Get(), kIidConnectionPointContainer);
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(container->FindConnectionPoint(orka::kIidDOrkaEvents, point.Receive()), kOk);
  EXPECT_EQ(point->Unadvise(cookie), kOk);
}

} // namespace testing_support
