#include "control/play_events.h"

#include "control/orka_ids.h"
#include "engine/play_writer.h"

namespace orka {

using namespace platform;

namespace {

class PlayReporter final : public engine::PlayHost {
public:
  PlayReporter(EventSinks &sinks, const std::atomic<bool> &stop, short depth)
      : sinks_(sinks), stop_(stop), depth_(depth) {}

  void PlayProgress(short percent) override {
    const Variant argument = Variant::FromShort(percent);
    sinks_.Fire(kEventPlayProgress, {&argument, 1}, stop_);
  }
  void SetPlayFound(const std::vector<engine::PlayNode> &) override {}
  void FirstMoveFound(const engine::FirstMovePlay &play) override {
    const Variant argument = Variant::FromString(engine::PlayJson(play, depth_));
    sinks_.Fire(kEventPlayFound, {&argument, 1}, stop_);
  }

private:
  EventSinks &sinks_;
  const std::atomic<bool> &stop_;
  const short depth_;
};

short ResultCode(engine::PlayResult result) {
  switch (result) {
  case engine::PlayResult::NoSuchMove:
    return kPlayNoSuchMove;
  case engine::PlayResult::OpponentInCheck:
    return kPlayOpponentInCheck;
  case engine::PlayResult::DepthBelowOne:
    return kPlayDepthBelowOne;
  case engine::PlayResult::NoKingPair:
    return kPlayNoKingPair;
  default:
    return kPlayDelivered;
  }
}

} // namespace

void ReportPlay(const TaskRequest &request, EventSinks &sinks, const std::atomic<bool> &stop) {
  PlayReporter reporter(sinks, stop, request.depth);
  const engine::PlayResult result = engine::RunPlay(request.position,
                                                    {.depth = request.depth,
                                                     .castlingRights = request.castlingRights,
                                                     .stopRequest = &stop,
                                                     .firstMove = *request.playKey,
                                                     .everyAnswer = request.everyAnswer},
                                                    reporter);
  if (result == engine::PlayResult::Stopped || stop.load())
    return;
  // A run refused at once has reported nothing yet; a finished one has reported its 100.
  if (result != engine::PlayResult::Ran)
    reporter.PlayProgress(100);
  const Variant code = Variant::FromShort(ResultCode(result));
  sinks.Fire(kEventPlayFinished, {&code, 1}, stop);
}

} // namespace orka
