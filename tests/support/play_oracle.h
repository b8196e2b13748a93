// Checks the play of a solution move by move against the plain search, which it asks for
// everything itself: the legal moves of each side, which White moves mate in how many, the
// threat after a pass. A failure names the line of play where it happened.
#pragma once

#include "engine/play.h"
#include "engine/search_context.h"
#include "engine/sides.h"
#include "problem/fen.h"

#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// Everything a run of the play reports.
struct RecordedPlay : engine::PlayHost {
  engine::PlayResult result = engine::PlayResult::Ran;
  std::vector<short> progress;
  std::optional<std::vector<engine::PlayNode>> setPlay;
  std::vector<engine::FirstMovePlay> firstMoves;

  void PlayProgress(short percent) override { progress.push_back(percent); }
  void SetPlayFound(const std::vector<engine::PlayNode> &blackMoves) override {
    setPlay = blackMoves;
  }
  void FirstMoveFound(const engine::FirstMovePlay &play) override { firstMoves.push_back(play); }
};

// The play of the FEN's position (White to move); the order's rights come from the FEN.
RecordedPlay Play(const std::string &fen, engine::PlayOrder order);

// Runs the play with tries and set play and checks all of it against the plain search: the
// keys and tries found, and every document move by move. False when the position was refused
// because Black stands in check.
bool CheckPlay(const std::string &fen, int moves, bool everyAnswer, int tries);

// CheckPlay on `positions` seeded random positions of a mate in `moves` that have keys, tries
// or set play, printed and whole by turns; answers how many had keys.
int CheckRandomPlays(unsigned seed, int moves, int positions);

class PlayOracle {
public:
  PlayOracle(const problem::FenPosition &position, int moves, bool everyAnswer);

  // What the plain search says of the first moves, as solution lines: the keys, and the tries
  // refuted by 1 to `tries` Black moves.
  std::vector<std::string> Keys();
  std::vector<std::string> Tries(int tries);

  void CheckFirstMove(const engine::FirstMovePlay &play);
  void CheckSetPlay(const std::vector<engine::PlayNode> &blackMoves);

private:
  template <engine::Side S, class OnMove> std::vector<std::string> EachMove(OnMove &&onMove);
  template <engine::Side S, class OnMove> void AtMove(const std::string &line, OnMove &&onMove);
  bool WhiteMatesIn(int moves);
  bool MatedIn(int moves);
  int ShortestMate(int most); // White to move; 0 for none within `most`
  int Refutations();          // after a first move
  void CheckWhite(const engine::PlayNode &white, int left, const std::string &path);
  void CheckBlack(const engine::PlayNode &black, int left, const std::string &path);
  std::vector<std::string> ThreatUci(const engine::FirstMovePlay &play, const std::string &path);

  engine::SearchContext ctx_;
  engine::Position &pos_;
  const int moves_;
  bool everyAnswer_; // the threat has only its shortest mates
};

} // namespace testing_support
