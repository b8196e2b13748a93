// Leaf counts of the legal move tree, with the search's own generator, make and take-back:
// the standard way to prove a move generator against published figures.
#include "engine/engine.h"
#include "engine/generator.h"

namespace engine {

namespace {

template <Side S> std::uint64_t CountLeaves(int depth);

template <Side S> struct PerftMove {
  int depth;
  std::uint64_t leaves = 0;
  void Make() { MakeMove(); }
  bool Visit() {
    constexpr Side other = S == Side::White ? Side::Black : Side::White;
    leaves += depth > 1 ? CountLeaves<other>(depth - 1) : 1;
    UnmakeMove();
    return false;
  }
};

template <Side S> std::uint64_t CountLeaves(int depth) {
  ++state.ply;
  PerftMove<S> visitor{depth};
  GenerateMoves<S>(visitor);
  --state.ply;
  return visitor.leaves;
}

} // namespace

std::uint64_t Perft(int depth, bool whiteToMove, std::uint32_t castlingRights) {
  PrepareTask(depth);
  if (depth < 1)
    return 1;
  if (!state.oneKingEach)
    return 0;
  state.rights = castlingRights;
  return whiteToMove ? CountLeaves<Side::White>(depth) : CountLeaves<Side::Black>(depth);
}

} // namespace engine
