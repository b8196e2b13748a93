// The window's side of the Orka control `cm`: typed properties and methods that call the
// control by dispatch identifier, and an event sink that hands every event to the window's
// thread in the order raised. Events of a run (a search or a play) that was stopped never
// arrive.
#pragma once

#include "platform/automation.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <span>

class SolverControl final : public QObject {
  Q_OBJECT

public:
  // Creates the control through the component layer: by its ProgID, or from the library
  // beside the program. Null with `error` set when neither works.
  static std::unique_ptr<SolverControl> Create(QString *error);
  ~SolverControl() override;

  short cmFieldX();
  void setCmFieldX(short value);
  short cmFieldY();
  void setCmFieldY(short value);
  short cmMan();
  void setCmMan(short value);
  short cmMD();
  void setCmMD(short value);
  short LSuccess();
  bool CouplingWhiteSmall();
  void setCouplingWhiteSmall(bool value);
  bool CouplingWhiteLarge();
  void setCouplingWhiteLarge(bool value);
  bool CouplingBlackSmall();
  void setCouplingBlackSmall(bool value);
  bool CouplingBlackLarge();
  void setCouplingBlackLarge(bool value);

  short Mate(short stopOnFound);
  short Defend(short stopOnFound);
  // The play of one first move, given as its solution line, of the position placed as for Mate:
  // PlayProgress, PlayFound once with the move's JSON document, PlayFinished with the result.
  // `every` 0: White's shortest answers only, as a printed solution shows them.
  short Play(const QString &key, short every);
  short Panic();
  // Whether the run the last Panic stopped had raised Finished already: its task was over, and
  // the control had nothing left to stop.
  bool EndedBeforeStop() const { return endedBeforeStop_; }
  void Clear();

signals:
  void SolutionFound(const QString &solution);
  void ProgressUpdate(short progress);
  void Finished();
  void PlayProgress(short progress);
  void PlayFound(const QString &play);
  void PlayFinished(short result);

private:
  class EventSink;
  explicit SolverControl(platform::ComPtr<platform::IDispatch> control);

  short Get(platform::DispId id);
  void Put(platform::DispId id, const platform::Variant &value);
  short Call(platform::DispId id, std::span<const platform::Variant> arguments = {});
  // Events already posted for the run before this one are dropped when they arrive.
  void NextRun() { ++run_; }
  void Deliver(std::uint64_t run, platform::DispId event, const platform::Variant &argument);

  platform::ComPtr<platform::IDispatch> control_;
  platform::ComPtr<platform::IConnectionPoint> events_;
  std::uint32_t cookie_ = 0;
  std::shared_ptr<EventSink> sink_;
  std::atomic<std::uint64_t> run_{0};
  std::atomic<std::uint64_t> finished_{0}; // the last run that raised Finished or PlayFinished
  bool endedBeforeStop_ = false;
};
