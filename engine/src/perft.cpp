// Leaf counts of the legal move tree, with the search's own generator, make and take-back:
// the standard way to prove a move generator against published figures.
#include "engine/engine.h"
#include "engine/generator.h"

namespace engine {

namespace {

template <Side S> std::uint64_t CountLeaves(Position &pos, int depth);

template <Side S> struct PerftMove {
  Position &pos;
  int depth;
  std::uint64_t leaves = 0;
  void Make() { MakeMove(pos); }
  bool Visit() {
    constexpr Side other = S == Side::White ? Side::Black : Side::White;
    leaves += depth > 1 ? CountLeaves<other>(pos, depth - 1) : 1;
    UnmakeMove(pos);
    return false;
  }
};

template <Side S> std::uint64_t CountLeaves(Position &pos, int depth) {
  ++pos.ply;
  PerftMove<S> visitor{pos, depth};
  GenerateMoves<S>(pos, visitor);
  --pos.ply;
  return visitor.leaves;
}

} // namespace

std::uint64_t Perft(const Placement &placement, int depth, bool whiteToMove,
                    std::uint32_t castlingRights, std::uint64_t *movesMade) {
  Position pos;
  pos.Load(placement);
  pos.PrepareTask(depth);
  std::uint64_t leaves = 1;
  if (depth >= 1) {
    leaves = 0;
    if (pos.oneKingEach) {
      pos.rights = castlingRights;
      leaves =
          whiteToMove ? CountLeaves<Side::White>(pos, depth) : CountLeaves<Side::Black>(pos, depth);
    }
  }
  if (movesMade != nullptr)
    *movesMade = pos.nodes;
  return leaves;
}

} // namespace engine
