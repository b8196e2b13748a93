// WhiteMates and BlackEscapes, and the roots of the Mate and Defend tasks above them.
#include "engine/search.h"
#include "engine/engine.h"
#include "engine/fast_search.h"
#include "engine/generator.h"

namespace engine {

namespace {

struct MatingMove {
  void Make() { MakeMove(); }
  bool Visit() {
    const bool escapes = BlackEscapes();
    UnmakeMove();
    return !escapes;
  }
};

struct EscapingReply {
  bool anyLegal = false;
  void Make() { MakeMove(); }
  bool Visit() {
    const bool mated = WhiteMates();
    UnmakeMove();
    anyLegal = true;
    return !mated;
  }
};

} // namespace

bool WhiteMates() {
  // A stop answers "no mate" here and "escape" below, so nothing unproven becomes a solution.
  if (StopRequested())
    return false;
  ++state.ply;
  state.ply->flags = 0;
  const int movesLeft = state.movesLeft;
  state.movesLeft = movesLeft - 1;
  bool mates = false;
  if (movesLeft > 1) {
    MatingMove visitor;
    mates = GenerateMoves<Side::White>(visitor);
  }
  state.movesLeft = movesLeft;
  --state.ply;
  return mates;
}

bool BlackEscapes() {
  if (StopRequested())
    return true;
  ++state.ply;
  state.ply->flags = 0;
  EscapingReply visitor;
  MoveGenerator<Side::Black, EscapingReply> replies(visitor);
  const bool escaped = replies.Run();
  --state.ply;
  if (escaped)
    return true;
  // No legal reply: stalemate is an escape, checkmate is not.
  return !visitor.anyLegal && !replies.InCheck();
}

namespace {

// The first level of a task: MakeRootMove reports progress for every first move made, legal
// or not; the solving pass reports each solution the moment it is proven.
template <Side S> struct RootMove {
  // Every first move is made and reported, legal or not, so none may be passed over unmade.
  static constexpr bool reportsEveryMove = true;

  TaskHost &host;
  bool solving;
  const SearchOptions &search;
  NodeKey rootKey;
  std::uint32_t rootRights;
  int legalMoves = 0;
  bool endedOnFound = false;

  bool Solves() {
    constexpr bool white = S == Side::White;
    if (search.plain)
      return white ? !BlackEscapes() : !WhiteMates();
    const NodeKey child = ChildKey(white, rootKey, rootRights);
    return white ? !FastBlackEscapes(state.movesLeft, child)
                 : !FastWhiteMates(state.movesLeft, child);
  }

  void Make() {
    MakeMove();
    state.arrivingMan = *state.ply->to;
    if (state.progressStep != 0 && !StopRequested()) {
      host.ProgressUpdate(static_cast<short>(state.progressStep * state.rootMoveCount / 100));
    }
    ++state.rootMoveCount;
  }

  bool Visit() {
    ++legalMoves;
    const bool solution = Solves();
    UnmakeMove();
    if (StopRequested())
      return true;
    if (!solving || !solution)
      return false;
    const SolutionLine line = BuildSolutionLine();
    if (StopRequested())
      return true;
    host.SolutionFound(std::string_view(line.data(), line.size()));
    if (!host.StopOnFound())
      return false;
    host.Finished();
    endedOnFound = true;
    return true;
  }
};

template <Side S>
TaskResult RootTask(std::uint32_t castlingRights, TaskHost &host, const SearchOptions &search) {
  constexpr bool white = S == Side::White;
  if (!state.oneKingEach)
    return TaskResult::NoKingPair;
  state.rights = castlingRights;
  state.ply = state.plyStack.data() + 1;
  if (white ? BlackKingAttacked() : WhiteKingAttacked())
    return TaskResult::OpponentInCheck;
  const int depth = state.movesLeft;
  if (depth < 1)
    return TaskResult::DepthBelowOne;

  if (!search.plain)
    PrepareFastSearch(search.hashMegabytes);
  const NodeKey rootKey = PositionKey(!white);
  const std::uint32_t rootRights = state.rights;

  // Counting pass: how many first moves there are, for the progress step.
  state.movesLeft = 1;
  state.progressStep = 0;
  state.rootMoveCount = 0;
  RootMove<S> counting{host, false, search, rootKey, rootRights};
  GenerateMoves<S>(counting);
  if (StopRequested())
    return TaskResult::Stopped;
  state.movesLeft = depth;
  if (state.rootMoveCount != 0)
    state.progressStep = 10000 / state.rootMoveCount;

  state.rootMoveCount = 0;
  RootMove<S> solving{host, true, search, rootKey, rootRights};

  GenerateMoves<S>(solving);
  if (solving.endedOnFound)
    return TaskResult::EndedOnFound;
  if (StopRequested())
    return TaskResult::Stopped;
  state.ply = state.plyStack.data();
  if (counting.legalMoves + solving.legalMoves > 0)
    return TaskResult::Ran;
  const bool inCheck = white ? WhiteKingAttacked() : BlackKingAttacked();
  return inCheck ? TaskResult::Mated : TaskResult::Stalemate;
}

} // namespace

TaskResult MateTask(std::uint32_t castlingRights, TaskHost &host, const SearchOptions &search) {
  return RootTask<Side::White>(castlingRights, host, search);
}

TaskResult DefenceTask(std::uint32_t castlingRights, TaskHost &host, const SearchOptions &search) {
  return RootTask<Side::Black>(castlingRights, host, search);
}

TableStatistics LastTaskTableStatistics() {
  const MateTable &table = FastSearchTable();
  return {table.probes, table.hits};
}

TaskResult RunTask(TaskKind kind, const TaskOrder &order, TaskHost &host) {
  PrepareTask(order.depth);
  if (order.stopRequest != nullptr)
    state.stopRequest = order.stopRequest;
  const TaskResult result = kind == TaskKind::Mate
                                ? MateTask(order.castlingRights, host, order.search)
                                : DefenceTask(order.castlingRights, host, order.search);

  if (result == TaskResult::EndedOnFound || result == TaskResult::Stopped)
    return result;
  if (StopRequested())
    return TaskResult::Stopped;
  if (result == TaskResult::Stalemate)
    host.SolutionFound(">> STALEMT");
  if (result == TaskResult::OpponentInCheck)
    host.SolutionFound(">> CHECKMT");
  host.ProgressUpdate(100);
  host.Finished();
  return result;
}

} // namespace engine
