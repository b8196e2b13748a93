// COrkaCtrl: the solver published as a control. Hosts set up a position square by square
// through 16-bit properties, start Mate or Defend and receive the events of the task, all by
// dispatch identifier.
#pragma once

#include "control/event_sinks.h"
#include "control/solver_task.h"
#include "platform/automation.h"

#include <array>
#include <atomic>
#include <memory>

namespace orka {

class COrkaCtrl final : public platform::IDispatch,
                        public platform::IConnectionPointContainer,
                        public platform::IOleObject,
                        public platform::ISpecifyPropertyPages,
                        public platform::IPersistState {
public:
  platform::HResult QueryInterface(const platform::Guid &iid, void **object) override;
  std::uint32_t AddRef() override;
  std::uint32_t Release() override;

  platform::HResult GetIdOfName(std::string_view name, platform::DispId *id) override;
  platform::HResult Invoke(platform::DispId id, platform::InvokeKind kind,
                           std::span<const platform::Variant> arguments,
                           platform::Variant *result) override;

  platform::HResult FindConnectionPoint(const platform::Guid &eventInterface,
                                        platform::IConnectionPoint **point) override;
  platform::HResult GetUserType(std::string *name) override;
  platform::HResult GetMiscStatus(std::uint32_t *status) override;
  platform::HResult GetPages(std::span<const platform::Guid> *pages) override;
  platform::HResult IsDirty() override;

  // The members of _DOrka, as the dispatch table calls them.
  short GetCmManColor() const { return cmManColor_; }
  void SetCmManColor(short value) { cmManColor_ = value; }
  short GetCmFieldX() const { return cmFieldX_; }
  void SetCmFieldX(short value) { cmFieldX_ = value; }
  short GetCmFieldY() const { return cmFieldY_; }
  void SetCmFieldY(short value) { cmFieldY_ = value; }
  short GetCmMan() const { return cmMan_; }
  void SetCmMan(short value);
  short GetCmMD() const { return cmMD_; }
  void SetCmMD(short value) { cmMD_ = value; }
  short GetLSuccess() const { return lSuccess_; }
  short GetCouplingWhiteSmall() const;
  void SetCouplingWhiteSmall(short value);
  short GetCouplingWhiteLarge() const;
  void SetCouplingWhiteLarge(short value);
  short GetCouplingBlackSmall() const;
  void SetCouplingBlackSmall(short value);
  short GetCouplingBlackLarge() const;
  void SetCouplingBlackLarge(short value);
  // Added beyond the original members: how many threads search, 0 (the default) for every
  // core. The reports are the same whatever it says.
  short GetThreads() const { return threads_; }
  void SetThreads(short value) { threads_ = value; }
  short Mate(short stopOnFound);
  short Defend(short stopOnFound);
  // Added too: the play of one first move on the worker, as a task (see orka_ids.h).
  short Play(const std::string &key, short every);
  short Panic();
  void Clear();

private:
  friend platform::HResult platform::CreateInstance<COrkaCtrl>(const platform::Guid &, void **);
  COrkaCtrl();
  ~COrkaCtrl();

  short StartTask(engine::TaskKind kind, short stopOnFound);
  short StartWorker(const TaskRequest &request);
  short Coupling(std::uint32_t right) const;
  void SetCoupling(std::uint32_t right, short value);

  platform::RefCount refs_;
  // Also written by a handler that calls Panic or Mate on the worker thread.
  std::atomic<short> lSuccess_{0};
  short stopOnFound_ = 0;
  std::uint32_t castlingRights_ = 0;
  const std::shared_ptr<TaskSlot> task_; // the task thread field: set while a task runs
  short cmManColor_ = 0;
  short cmFieldX_ = 0;
  short cmFieldY_ = 0;
  short cmMan_ = 0;
  short cmMD_ = 0;

  short threads_ = 0;

  // The position as placed, handed to the engine by the worker when a task starts.
  engine::Placement position_{};
  // Keeps the table of proven results from one task to the next; the control's own.
  const std::shared_ptr<engine::Solver> solver_;
  bool modified_ = false;
  std::shared_ptr<SolverTask> lastTask_; // joined before the next one starts
  const std::shared_ptr<EventSinks> sinks_;
  EventConnectionPoint connectionPoint_;
};

} // namespace orka
