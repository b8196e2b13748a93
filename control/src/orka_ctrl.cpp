#include "control/orka_ctrl.h"

#include "control/orka_ids.h"
#include "control/server.h"
#include "engine/man_codes.h"

#include <algorithm>
#include <cctype>
#include <new>

namespace orka {

using namespace platform;

namespace {

// One entry of the dispatch table: a property with its accessors (no setter: read-only), or
// a method with its argument count (none or one short).
using MethodCall = short (*)(COrkaCtrl &control, short argument);
// A method with a string and a short, in this order.
using TextMethodCall = short (*)(COrkaCtrl &control, const std::string &text, short argument);

struct Member {
  std::string_view name;
  DispId id;
  short (COrkaCtrl::*get)() const = nullptr;
  void (COrkaCtrl::*put)(short) = nullptr;
  MethodCall method = nullptr;
  int arguments = 0;
  bool returnsValue = true;
  TextMethodCall textMethod = nullptr;
};

const Member kMembers[] = {
    {"cmManColor", kDispCmManColor, &COrkaCtrl::GetCmManColor, &COrkaCtrl::SetCmManColor},
    {"cmFieldX", kDispCmFieldX, &COrkaCtrl::GetCmFieldX, &COrkaCtrl::SetCmFieldX},
    {"cmFieldY", kDispCmFieldY, &COrkaCtrl::GetCmFieldY, &COrkaCtrl::SetCmFieldY},
    {"cmMan", kDispCmMan, &COrkaCtrl::GetCmMan, &COrkaCtrl::SetCmMan},
    {"cmMD", kDispCmMD, &COrkaCtrl::GetCmMD, &COrkaCtrl::SetCmMD},
    {"LSuccess", kDispLSuccess, &COrkaCtrl::GetLSuccess, nullptr},
    {"CouplingWhiteSmall", kDispCouplingWhiteSmall, &COrkaCtrl::GetCouplingWhiteSmall,
     &COrkaCtrl::SetCouplingWhiteSmall},
    {"CouplingWhiteLarge", kDispCouplingWhiteLarge, &COrkaCtrl::GetCouplingWhiteLarge,
     &COrkaCtrl::SetCouplingWhiteLarge},
    {"CouplingBlackSmall", kDispCouplingBlackSmall, &COrkaCtrl::GetCouplingBlackSmall,
     &COrkaCtrl::SetCouplingBlackSmall},
    {"CouplingBlackLarge", kDispCouplingBlackLarge, &COrkaCtrl::GetCouplingBlackLarge,
     &COrkaCtrl::SetCouplingBlackLarge},
    {"Mate", kDispMate, nullptr, nullptr, [](COrkaCtrl &c, short s) { return c.Mate(s); }, 1},
    {"Defend", kDispDefend, nullptr, nullptr, [](COrkaCtrl &c, short s) { return c.Defend(s); }, 1},
    {"Panic", kDispPanic, nullptr, nullptr, [](COrkaCtrl &c, short) { return c.Panic(); }, 0},
    {"Clear", kDispClear, nullptr, nullptr,
     [](COrkaCtrl &c, short) -> short {
       c.Clear();
       return 0;
     },
     0, false},
    {"Threads", kDispThreads, &COrkaCtrl::GetThreads, &COrkaCtrl::SetThreads},
    {"Play", kDispPlay, nullptr, nullptr, nullptr, 2, true,
     [](COrkaCtrl &c, const std::string &key, short every) { return c.Play(key, every); }},
};

const Member *FindMember(DispId id) {
  for (const Member &member : kMembers) {
    if (member.id == id)
      return &member;
  }
  return nullptr;
}

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

const Guid kPropertyPages[] = {kClsidOrkaPropPage};

} // namespace

COrkaCtrl::COrkaCtrl()
    : refs_(LiveObjects()), task_(std::make_shared<TaskSlot>()),
      solver_(std::make_shared<engine::Solver>()), sinks_(std::make_shared<EventSinks>()),
      connectionPoint_(static_cast<IDispatch &>(*this), *sinks_) {}

COrkaCtrl::~COrkaCtrl() {
  // The task is stopped first, as by Panic: after this no event of it reaches any sink.
  sinks_->Clear();
  task_->Take();
  if (lastTask_ != nullptr)
    lastTask_->Stop();
}

HResult COrkaCtrl::QueryInterface(const Guid &iid, void **object) {
  if (object == nullptr)
    return kPointer;
  if (iid == kIidUnknown || iid == kIidDispatch || iid == kIidDOrka) {
    *object = static_cast<IDispatch *>(this);
  } else if (iid == kIidConnectionPointContainer) {
    *object = static_cast<IConnectionPointContainer *>(this);
  } else if (iid == kIidOleObject) {
    *object = static_cast<IOleObject *>(this);
  } else if (iid == kIidSpecifyPropertyPages) {
    *object = static_cast<ISpecifyPropertyPages *>(this);
  } else if (iid == kIidPersistState) {
    *object = static_cast<IPersistState *>(this);
  } else {
    *object = nullptr;
    return kNoInterface;
  }
  AddRef();
  return kOk;
}

std::uint32_t COrkaCtrl::AddRef() { return refs_.Increment(); }

std::uint32_t COrkaCtrl::Release() {
  const std::uint32_t left = refs_.Decrement();
  if (left == 0)
    delete this;
  return left;
}

HResult COrkaCtrl::GetIdOfName(std::string_view name, DispId *id) {
  if (id == nullptr)
    return kPointer;
  for (const Member &member : kMembers) {
    if (SameName(member.name, name)) {
      *id = member.id;
      return kOk;
    }
  }
  *id = kUnknownDispId;
  return kUnknownName;
}

HResult COrkaCtrl::Invoke(DispId id, InvokeKind kind, std::span<const Variant> arguments,
                          Variant *result) {
  const Member *member = FindMember(id);
  if (member == nullptr)
    return kMemberNotFound;
  if (result != nullptr)
    *result = Variant();
  const bool property = member->get != nullptr;
  if (property && kind == InvokeKind::PropertyPut) {
    short value = 0;
    if (arguments.size() != 1)
      return kBadParamCount;
    if (!arguments[0].ToShort(value))
      return kTypeMismatch;
    if (member->put == nullptr)
      return kSetNotSupportedAtRuntime;
    (this->*member->put)(value);
    return kOk;
  }
  if (property) {
    if (!arguments.empty())
      return kBadParamCount;
    if (result != nullptr)
      *result = Variant::FromShort((this->*member->get)());
    return kOk;
  }
  if (kind != InvokeKind::Method)
    return kMemberNotFound;
  if (member->textMethod != nullptr) {
    short argument = 0;
    if (arguments.size() != 2)
      return kBadParamCount;
    if (arguments[0].type() != Variant::Type::String || !arguments[1].ToShort(argument))
      return kTypeMismatch;
    const short value = member->textMethod(*this, arguments[0].AsString(), argument);
    if (result != nullptr)
      *result = Variant::FromShort(value);
    return kOk;
  }
  if (static_cast<int>(arguments.size()) != member->arguments)
    return kBadParamCount;
  short argument = 0;
  if (!arguments.empty() && !arguments[0].ToShort(argument))
    return kTypeMismatch;
  const short value = member->method(*this, argument);
  if (member->returnsValue && result != nullptr)
    *result = Variant::FromShort(value);
  return kOk;
}

HResult COrkaCtrl::FindConnectionPoint(const Guid &eventInterface, IConnectionPoint **point) {
  if (point == nullptr)
    return kPointer;
  if (eventInterface != kIidDOrkaEvents && eventInterface != kIidDispatch) {
    *point = nullptr;
    return kNoConnection;
  }
  *point = &connectionPoint_;
  connectionPoint_.AddRef();
  return kOk;
}

HResult COrkaCtrl::GetUserType(std::string *name) {
  if (name == nullptr)
    return kPointer;
  *name = kControlUserType;
  return kOk;
}

HResult COrkaCtrl::GetMiscStatus(std::uint32_t *status) {
  if (status == nullptr)
    return kPointer;
  *status = kMiscStatus;
  return kOk;
}

HResult COrkaCtrl::GetPages(std::span<const Guid> *pages) {
  if (pages == nullptr)
    return kPointer;
  *pages = kPropertyPages;
  return kOk;
}

HResult COrkaCtrl::IsDirty() { return modified_ ? kOk : kFalse; }

void COrkaCtrl::SetCmMan(short value) {
  cmMan_ = value;
  if (task_->Running())
    return;
  if (cmFieldX_ < 0 || cmFieldX_ > 7 || cmFieldY_ < 0 || cmFieldY_ > 7)
    return;
  if (value < engine::kNoMan || value > engine::kBlackKing)
    return;
  position_[8 * cmFieldX_ + cmFieldY_] = value;
}

short COrkaCtrl::Coupling(std::uint32_t right) const { return (castlingRights_ & right) ? 1 : 0; }

void COrkaCtrl::SetCoupling(std::uint32_t right, short value) {
  castlingRights_ = value != 0 ? castlingRights_ | right : castlingRights_ & ~right;
  modified_ = true;
}

short COrkaCtrl::GetCouplingWhiteSmall() const { return Coupling(engine::kWhiteShort); }
void COrkaCtrl::SetCouplingWhiteSmall(short value) { SetCoupling(engine::kWhiteShort, value); }
short COrkaCtrl::GetCouplingWhiteLarge() const { return Coupling(engine::kWhiteLong); }
void COrkaCtrl::SetCouplingWhiteLarge(short value) { SetCoupling(engine::kWhiteLong, value); }
short COrkaCtrl::GetCouplingBlackSmall() const { return Coupling(engine::kBlackShort); }
void COrkaCtrl::SetCouplingBlackSmall(short value) { SetCoupling(engine::kBlackShort, value); }
short COrkaCtrl::GetCouplingBlackLarge() const { return Coupling(engine::kBlackLong); }
void COrkaCtrl::SetCouplingBlackLarge(short value) { SetCoupling(engine::kBlackLong, value); }

short COrkaCtrl::Mate(short stopOnFound) { return StartTask(engine::TaskKind::Mate, stopOnFound); }

short COrkaCtrl::Defend(short stopOnFound) {
  return StartTask(engine::TaskKind::Defend, stopOnFound);
}

short COrkaCtrl::StartTask(engine::TaskKind kind, short stopOnFound) {
  if (task_->Running()) {
    lSuccess_ = 0;
    return 1;
  }
  stopOnFound_ = stopOnFound;
  return StartWorker({kind, cmMD_, castlingRights_, stopOnFound_, position_, threads_});
}

short COrkaCtrl::Play(const std::string &key, short every) {
  if (task_->Running()) {
    lSuccess_ = 0;
    return 1;
  }
  return StartWorker({.depth = cmMD_,
                      .castlingRights = castlingRights_,
                      .position = position_,
                      .playKey = key,
                      .everyAnswer = every != 0});
}

// The task takes its inputs now: later writes are for the next task. Its worker runs only once
// this call's own bookkeeping is done, so a handler that calls back finds it complete.
short COrkaCtrl::StartWorker(const TaskRequest &request) {
  if (lastTask_ != nullptr) {
    lastTask_->Join();
    lastTask_.reset();
  }
  lastTask_ = SolverTask::Create(request, solver_, sinks_, task_);
  if (lastTask_ == nullptr) {
    lSuccess_ = 0;
    return 1;
  }
  lSuccess_ = 1;
  lastTask_->Resume();
  return 1;
}

short COrkaCtrl::Panic() {
  const std::shared_ptr<SolverTask> running = task_->Take();
  if (running == nullptr) {
    lSuccess_ = 0;
    return 1;
  }
  running->Stop();
  lSuccess_ = 1;
  return 1;
}

void COrkaCtrl::Clear() {
  position_.fill(0);
  castlingRights_ = 0;
  lSuccess_ = 1;
}

} // namespace orka
