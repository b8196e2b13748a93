// The play of a mate in N: for each key its threat and every Black move with White's answers
// down to mate, tries with their refutations, and set play. Every answer is proven by the same
// exact searches that find the keys; the text and JSON forms are play_writer's.
#pragma once

#include "engine/engine.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace engine {

// One move of the play. A White move's replies are every legal Black move after it; a Black
// move's replies are White's continuations that force mate in the moves left (with
// `PlayOrder::everyAnswer` off, only the shortest of them). Replies come in generation order.
struct PlayNode {
  std::array<char, 10> line{}; // as the solution list writes it, check and mate marks included
  bool white = false;
  // White moves to mate: from a White move, itself included (1: it mates), or after a Black
  // move by White's shortest answer; 0 when no mate is forced.
  short mateIn = 0;
  bool dual = false;     // White: one of two or more answers of the shortest length
  bool byThreat = false; // Black, beneath a first move: a threat's first move answers it
  bool refutes = false;  // Black: no White continuation forces mate in the moves left
  bool cut = false;      // the replies were not worked out: the document's budget ran out
  std::vector<PlayNode> replies;
};

// A key, a try, or the one first move asked for.
struct FirstMovePlay {
  PlayNode move;
  bool key = false;
  // White's moves that would mate in the fewest moves, at most N − 1, if Black could pass
  // (none when the first move checks or nothing is threatened).
  std::vector<PlayNode> threat;

  bool Checks() const { return move.line[9] == '+' || move.line[9] == '#'; }
  // Without a threat, every Black move spoils something: a waiting move.
  bool Zugzwang() const { return threat.empty() && !Checks() && !move.replies.empty(); }
};

// What a run tells its host, on the thread that runs it.
class PlayHost {
public:
  virtual void PlayProgress(short percent) = 0;
  // Black's moves as if Black were to move first, each with White's mates in N − 1 or fewer
  // (a move without one refutes); before any first move.
  virtual void SetPlayFound(const std::vector<PlayNode> &blackMoves) = 0;
  // Each key and try (or the move asked for), in generation order, once its play is complete.
  virtual void FirstMoveFound(const FirstMovePlay &play) = 0;

protected:
  ~PlayHost() = default;
};

struct PlayOrder {
  short depth = 0; // N: White moves, the first included
  std::uint32_t castlingRights = 0;
  // Polled at every node; once set the run ends without reporting anything more.
  const std::atomic<bool> *stopRequest = nullptr;
  SearchOptions search; // plain and hashMegabytes; the play is worked out on one thread
  // Empty: every key (and try). Otherwise the one legal first move whose solution line this is
  // (trailing blanks may be left off), key or not; a non-key comes with all its refutations.
  std::string_view firstMove;
  int tries = 0; // non-keys refuted by 1 to `tries` Black moves are tries
  bool setPlay = false;
  // Off: at each Black move only White's shortest answers are followed, the play a printed
  // solution shows. On: every continuation that forces mate in the moves left.
  bool everyAnswer = true;
  std::size_t maxMoves = 100000; // per document (set play, key or try); beyond, replies are cut
};

enum class PlayResult { Ran, NoKingPair, OpponentInCheck, DepthBelowOne, NoSuchMove, Stopped };

// White to move in the placement. `table` serves the accelerated search (null: one of the
// run's own, of search.hashMegabytes); the plain search uses none.
PlayResult RunPlay(const Placement &placement, const PlayOrder &order, PlayHost &host,
                   MateTable *table = nullptr);

} // namespace engine
