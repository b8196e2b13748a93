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

namespace {

int ThreadCount() {
  std::error_code error;
  const std::filesystem::directory_iterator tasks("/proc/self/task", error);
  return error ? -1 : static_cast<int>(std::distance(begin(tasks), end(tasks)));
}

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

bool WaitForNoWorker() {
  const auto until = std::chrono::steady_clock::now() + kWaitBound;
  while (ThreadCount() > IdleThreadCount()) {
    if (std::chrono::steady_clock::now() > until)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

namespace {

// Workers let go from inside a handler are joined when the library is asked whether it may be
// unloaded; asked once more at the end, none of them is left behind as a leaked thread.
class JoinLetGoWorkers : public ::testing::Environment {
  void TearDown() override {
    WaitForNoWorker();
    FreeUnusedLibraries();
  }
};

[[maybe_unused]] const auto *const kJoinLetGoWorkers =
    ::testing::AddGlobalTestEnvironment(new JoinLetGoWorkers);

} // namespace

Events SolutionsOf(const Events &events) {
  Events solutions;
  for (const std::string &event : events) {
    if (event.rfind("solution ", 0) == 0)
      solutions.push_back(event.substr(9));
  }
  return solutions;
}

HResult RecordingSink::QueryInterface(const Guid &iid, void **object) {
  const bool known = iid == kIidUnknown || iid == kIidDispatch || iid == orka::kIidDOrkaEvents;
  *object = known ? static_cast<IDispatch *>(this) : nullptr;
  if (known)
    AddRef();
  return known ? kOk : kNoInterface;
}

std::uint32_t RecordingSink::Release() {
  const std::uint32_t left = --refs;
  if (left == 0)
    delete this;
  return left;
}

HResult RecordingSink::Invoke(DispId id, InvokeKind kind, std::span<const Variant> arguments,
                              Variant *) {
  EXPECT_EQ(kind, InvokeKind::Method);
  const bool one = arguments.size() == 1;
  std::string event = "unexpected event " + std::to_string(id);
  if (id == orka::kEventProgressUpdate && one && arguments[0].type() == Variant::Type::Short)
    event = "progress " + std::to_string(arguments[0].AsShort());
  else if (id == orka::kEventSolutionFound && one && arguments[0].type() == Variant::Type::String)
    event = "solution " + arguments[0].AsString();
  else if (id == orka::kEventFinished && arguments.empty())
    event = "finished";
  else if (id == orka::kEventPlayProgress && one && arguments[0].type() == Variant::Type::Short)
    event = "play progress " + std::to_string(arguments[0].AsShort());
  else if (id == orka::kEventPlayFound && one && arguments[0].type() == Variant::Type::String)
    event = "play " + arguments[0].AsString();
  else if (id == orka::kEventPlayFinished && one && arguments[0].type() == Variant::Type::Short)
    event = "play finished " + std::to_string(arguments[0].AsShort());
  if (onEvent)
    onEvent(event);
  std::lock_guard lock(mutex);
  events.push_back(event);
  changed.notify_all();
  return invokeResult;
}

Events RecordingSink::Events() {
  std::lock_guard lock(mutex);
  return events;
}

bool RecordingSink::WaitFor(const std::string &event, int times) {
  std::unique_lock lock(mutex);
  return changed.wait_for(lock, kWaitBound,
                          [&] { return std::count(events.begin(), events.end(), event) >= times; });
}

OrkaHost::OrkaHost() {
  IdleThreadCount(); // taken before this host can have started a worker
  EXPECT_EQ(CreateObjectFromLibrary(OrkaLibraryPath(), orka::kClsidOrka, kIidDispatch,
                                    control_.ReceiveVoid()),
            kOk);
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

short OrkaHost::Call(DispId id, std::optional<short> argument) {
  const Variant value = Variant::FromShort(argument.value_or(0));
  const std::span<const Variant> arguments(&value, argument ? 1 : 0);
  Variant result;
  EXPECT_EQ(control_->Invoke(id, InvokeKind::Method, arguments, &result), kOk) << "call " << id;
  return result.AsShort();
}

void OrkaHost::Place(const std::string &fen, short depth, bool clear) {
  problem::FenPosition position;
  std::string error;
  EXPECT_TRUE(problem::ParseFen(fen, position, error)) << error;
  if (clear)
    Call(orka::kDispClear);
  for (int n = 0; n < 64; ++n) {
    Put(orka::kDispCmFieldX, static_cast<short>(n / 8));
    Put(orka::kDispCmFieldY, static_cast<short>(n % 8));
    if (position.board[n] != 0 || !clear)
      Put(orka::kDispCmMan, static_cast<short>(position.board[n]));
  }
  // The FEN's rights K, Q, k and q, in the order of the couplings' identifiers.
  const std::uint32_t rights[] = {2, 1, 8, 4};
  for (DispId i = 0; i < 4; ++i) {
    if (position.castlingRights & rights[i]) {
      EXPECT_EQ(Put(orka::kDispCouplingWhiteSmall + i, Variant::FromBool(true)), kOk);
    }
  }
  Put(orka::kDispCmMD, depth);
  whiteToMove_ = position.whiteToMove;
}

short OrkaHost::Play(const std::string &key, short every) {
  const Variant arguments[] = {Variant::FromString(key), Variant::FromShort(every)};
  Variant result;
  EXPECT_EQ(control_->Invoke(orka::kDispPlay, InvokeKind::Method, arguments, &result), kOk);
  EXPECT_EQ(result.AsShort(), 1);
  return Get(orka::kDispLSuccess);
}

short OrkaHost::Start(short stopOnFound) {
  EXPECT_EQ(Call(whiteToMove_ ? orka::kDispMate : orka::kDispDefend, stopOnFound), 1);
  return Get(orka::kDispLSuccess);
}

Events OrkaHost::Run(short stopOnFound) {
  const auto sink = RecordingSink::Make();
  const std::uint32_t cookie = Advise(*sink);
  EXPECT_EQ(Start(stopOnFound), 1);
  EXPECT_TRUE(sink->WaitFor("finished"));
  EXPECT_TRUE(WaitForNoWorker());
  Unadvise(cookie);
  return sink->Events();
}

ComPtr<IConnectionPoint> OrkaHost::EventPoint() {
  const auto container =
      QueryInterfaceAs<IConnectionPointContainer>(control_.Get(), kIidConnectionPointContainer);
  ComPtr<IConnectionPoint> point;
  EXPECT_TRUE(container);
  EXPECT_EQ(container->FindConnectionPoint(orka::kIidDOrkaEvents, point.Receive()), kOk);
  return point;
}

std::uint32_t OrkaHost::Advise(RecordingSink &sink) {
  std::uint32_t cookie = 0;
  EXPECT_EQ(EventPoint()->Advise(&sink, &cookie), kOk);
  return cookie;
}

void OrkaHost::Unadvise(std::uint32_t cookie) { EXPECT_EQ(EventPoint()->Unadvise(cookie), kOk); }

} // namespace testing_support
