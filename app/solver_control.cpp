#include "app/solver_control.h"

#include "control/orka_ids.h"
#include "platform/component.h"
#include "platform/registry.h"

#include <QMetaObject>
#include <QPointer>

using namespace platform;

// Runs on the control's worker thread: it only posts. The worker must never wait for the
// window's thread, which may itself be waiting in Panic for the worker to end.
class SolverControl::EventSink final : public IDispatch {
public:
  explicit EventSink(SolverControl *owner) : owner_(owner) {}

  HResult QueryInterface(const Guid &iid, void **object) override {
    if (iid == kIidUnknown || iid == kIidDispatch || iid == orka::kIidDOrkaEvents) {
      *object = static_cast<IDispatch *>(this);
      return kOk;
    }
    *object = nullptr;
    return kNoInterface;
  }
  // The sink lives as long as its owner, which unadvises it before going.
  std::uint32_t AddRef() override { return 2; }
  std::uint32_t Release() override { return 1; }
  HResult GetIdOfName(std::string_view, DispId *) override { return kNotImplemented; }

  HResult Invoke(DispId id, InvokeKind, std::span<const Variant> arguments, Variant *) override {
    const std::uint64_t run = owner_->run_.load();
    if (id == orka::kEventFinished || id == orka::kEventPlayFinished)
      owner_->finished_.store(run);
    const Variant argument = arguments.empty() ? Variant() : arguments[0];
    QPointer<SolverControl> owner(owner_);
    QMetaObject::invokeMethod(
        owner_,
        [owner, run, id, argument] {
          if (owner)
            owner->Deliver(run, id, argument);
        },
        Qt::QueuedConnection);
    return kOk;
  }

private:
  SolverControl *const owner_;
};

std::unique_ptr<SolverControl> SolverControl::Create(QString *error) {
  Registry registry;
  ComPtr<IDispatch> control;
  const HResult created = CreateObjectByProgId(
      registry, orka::kControlProgId, {std::string(orka::kLibraryFileName), orka::kClsidOrka},
      kIidDispatch, control.ReceiveVoid());
  if (Failed(created)) {
    if (error != nullptr) {
      *error = QStringLiteral("The solver library %1 could not be loaded from %2 (error 0x%3).")
                   .arg(QString::fromUtf8(orka::kLibraryFileName.data(),
                                          static_cast<int>(orka::kLibraryFileName.size())),
                        QString::fromStdString(ProgramFolder().string()),
                        QString::number(static_cast<std::uint32_t>(created), 16).toUpper());
    }
    return nullptr;
  }
  return std::unique_ptr<SolverControl>(new SolverControl(std::move(control)));
}

SolverControl::SolverControl(ComPtr<IDispatch> control)
    : control_(std::move(control)), sink_(std::make_shared<EventSink>(this)) {
  const auto container =
      QueryInterfaceAs<IConnectionPointContainer>(control_.Get(), kIidConnectionPointContainer);
  if (container &&
      Succeeded(container->FindConnectionPoint(orka::kIidDOrkaEvents, events_.Receive()))) {
    events_->Advise(sink_.get(), &cookie_);
  }
}

SolverControl::~SolverControl() {
  NextRun();
  if (events_)
    events_->Unadvise(cookie_);
  events_.Reset();
  // Releasing the control stops a running task and waits for its worker, so no event can
  // reach the sink after this.
  control_.Reset();
}

short SolverControl::Get(DispId id) {
  Variant result;
  control_->Invoke(id, InvokeKind::PropertyGet, {}, &result);
  short value = 0;
  result.ToShort(value);
  return value;
}

void SolverControl::Put(DispId id, const Variant &value) {
  control_->Invoke(id, InvokeKind::PropertyPut, {&value, 1}, nullptr);
}

short SolverControl::Call(DispId id, std::span<const Variant> arguments) {
  Variant result;
  control_->Invoke(id, InvokeKind::Method, arguments, &result);
  short value = 0;
  result.ToShort(value);
  return value;
}

short SolverControl::cmFieldX() { return Get(orka::kDispCmFieldX); }
void SolverControl::setCmFieldX(short value) {
  Put(orka::kDispCmFieldX, Variant::FromShort(value));
}
short SolverControl::cmFieldY() { return Get(orka::kDispCmFieldY); }
void SolverControl::setCmFieldY(short value) {
  Put(orka::kDispCmFieldY, Variant::FromShort(value));
}
short SolverControl::cmMan() { return Get(orka::kDispCmMan); }
void SolverControl::setCmMan(short value) { Put(orka::kDispCmMan, Variant::FromShort(value)); }
short SolverControl::cmMD() { return Get(orka::kDispCmMD); }
void SolverControl::setCmMD(short value) { Put(orka::kDispCmMD, Variant::FromShort(value)); }
short SolverControl::LSuccess() { return Get(orka::kDispLSuccess); }
bool SolverControl::CouplingWhiteSmall() { return Get(orka::kDispCouplingWhiteSmall) != 0; }
void SolverControl::setCouplingWhiteSmall(bool value) {
  Put(orka::kDispCouplingWhiteSmall, Variant::FromBool(value));
}
bool SolverControl::CouplingWhiteLarge() { return Get(orka::kDispCouplingWhiteLarge) != 0; }
void SolverControl::setCouplingWhiteLarge(bool value) {
  Put(orka::kDispCouplingWhiteLarge, Variant::FromBool(value));
}
bool SolverControl::CouplingBlackSmall() { return Get(orka::kDispCouplingBlackSmall) != 0; }
void SolverControl::setCouplingBlackSmall(bool value) {
  Put(orka::kDispCouplingBlackSmall, Variant::FromBool(value));
}
bool SolverControl::CouplingBlackLarge() { return Get(orka::kDispCouplingBlackLarge) != 0; }
void SolverControl::setCouplingBlackLarge(bool value) {
  Put(orka::kDispCouplingBlackLarge, Variant::FromBool(value));
}

short SolverControl::Mate(short stopOnFound) {
  NextRun();
  const Variant argument = Variant::FromShort(stopOnFound);
  return Call(orka::kDispMate, {&argument, 1});
}

short SolverControl::Defend(short stopOnFound) {
  NextRun();
  const Variant argument = Variant::FromShort(stopOnFound);
  return Call(orka::kDispDefend, {&argument, 1});
}

short SolverControl::Play(const QString &key, short every) {
  NextRun();
  const Variant arguments[] = {Variant::FromString(key.toStdString()), Variant::FromShort(every)};
  return Call(orka::kDispPlay, arguments);
}

short SolverControl::Panic() {
  const short result = Call(orka::kDispPanic);
  // The worker has ended: whatever it posted before is of a stopped run.
  endedBeforeStop_ = finished_.load() == run_.load();
  NextRun();
  return result;
}

void SolverControl::Clear() { Call(orka::kDispClear); }

void SolverControl::Deliver(std::uint64_t run, DispId event, const Variant &argument) {
  if (run != run_.load())
    return;
  switch (event) {
  case orka::kEventSolutionFound:
    emit SolutionFound(QString::fromStdString(argument.AsString()));
    break;
  case orka::kEventProgressUpdate:
    emit ProgressUpdate(argument.AsShort());
    break;
  case orka::kEventFinished:
    emit Finished();
    break;
  case orka::kEventPlayProgress:
    emit PlayProgress(argument.AsShort());
    break;
  case orka::kEventPlayFound:
    emit PlayFound(QString::fromStdString(argument.AsString()));
    break;
  case orka::kEventPlayFinished:
    emit PlayFinished(argument.AsShort());
    break;
  default:
    break;
  }
}
