// The root of a task: every first move in generation order, each reported before it is
// searched (legal or not) and, when it is a key or defence, the moment it is proven.
//
// With several threads the first moves are handed out in generation order; a thread that finds
// none left joins one still being searched, and the threads share the table of proven results.
// Whatever thread settles a first move, the answer is the same, and the reports go out on the
// task's own thread in generation order once everything before them is settled: the very
// reports one thread gives.
#include "engine/engine.h"

#include "engine/fast_search.h"
#include "engine/generator.h"
#include "engine/mate_table.h"
#include "engine/search.h"
#include "platform/deep_thread.h"

#include <condition_variable>
#include <memory>
#include <thread>
#include <vector>

namespace engine {

namespace {

// A first move as the generator makes it, to be found again on another thread's board.
struct FirstMoveId {
  int from;
  int to;
  std::uint32_t flags; // as generated, before making it added a capture
  CellCode kind;       // of the man on the start square then: a promoting pawn's new kind
  bool legal = false;
};

// Counts the first moves and their legality, in generation order.
template <Side S> struct FirstMoveList {
  // Every first move is made and reported, legal or not, so none may be passed over unmade.
  static constexpr bool reportsEveryMove = true;
  Position &pos;
  std::vector<FirstMoveId> &moves;

  void Make() {
    const PlyRecord &p = *pos.ply;
    moves.push_back({IndexOf(p.from), IndexOf(p.to), p.flags, *p.from & kKindMask});
    MakeMove(pos);
  }
  bool Visit() {
    moves.back().legal = true;
    UnmakeMove(pos);
    return false;
  }
};

// What became of a first move. `ended` stops every search on it: set when a thread has settled
// it, and for all of them when the task ends.
struct FirstMoveOutcome {
  std::atomic<bool> ended{false};
  std::atomic<bool> settled{false}; // won by the one thread that writes the answer
  std::atomic<bool> known{false};   // the answer below may be read
  std::atomic<bool> claimed{false}; // a thread has taken it as its own
  std::atomic<int> searchers{0};
  bool solves = false;
  SolutionLine line{};
};

template <Side S> class RootSearch {
  static constexpr bool kWhite = S == Side::White;

public:
  RootSearch(const Placement &placement, const TaskOrder &order, MateTable *table, int threads)
      : placement_(placement), order_(order),
        stop_(order.stopRequest != nullptr ? order.stopRequest : &SearchContext::kNeverStop),
        table_(table) {
    // The task's own context counts the first moves; with more threads, each has its own.
    for (int t = 0; t < (threads > 1 ? threads + 1 : 1); ++t) {
      auto &ctx = *contexts_.emplace_back(std::make_unique<SearchContext>());
      ctx.table = table;
      ctx.stopRequest = stop_;
      if (threads > 1)
        ctx.busy = &busy_;
    }
  }

  TaskResult Run(TaskHost &host) {
    SearchContext &main = *contexts_[0];
    PrepareRoot(main);
    Position &pos = main.position;
    if (!pos.oneKingEach)
      return TaskResult::NoKingPair;
    if (kWhite ? BlackKingAttacked(pos) : WhiteKingAttacked(pos))
      return TaskResult::OpponentInCheck;
    if (order_.depth < 1)
      return TaskResult::DepthBelowOne;
    rootKey_ = PositionKey(pos, !kWhite);
    rootRights_ = pos.rights;

    FirstMoveList<S> list{pos, moves_};
    GenerateMoves<S>(pos, list);
    outcomes_ = std::make_unique<FirstMoveOutcome[]>(moves_.size());
    int legalMoves = 0;
    for (std::size_t i = 0; i < moves_.size(); ++i) {
      legalMoves += moves_[i].legal;
      if (!moves_[i].legal)
        outcomes_[i].ended = true;
    }

    const TaskResult reported = Report(host);
    EndAll();
    for (auto &worker : workers_)
      worker->Join();
    if (reported != TaskResult::Ran)
      return reported;
    if (legalMoves > 0)
      return TaskResult::Ran;
    pos.ply = pos.plyStack.data();
    const bool inCheck = kWhite ? WhiteKingAttacked(pos) : BlackKingAttacked(pos);
    return inCheck ? TaskResult::Mated : TaskResult::Stalemate;
  }

  std::uint64_t Nodes() const {
    std::uint64_t nodes = 0;
    for (const auto &ctx : contexts_)
      nodes += ctx->position.nodes;
    return nodes;
  }
  TableStatistics Table() const {
    TableStatistics statistics;
    for (const auto &ctx : contexts_) {
      statistics.probes += ctx->probes;
      statistics.hits += ctx->hits;
    }
    return statistics;
  }

private:
  // Finds the first move of `id` again on the context's board, makes it, searches it and takes
  // it back.
  struct FirstMove {
    static constexpr bool reportsEveryMove = true;
    RootSearch &root;
    SearchContext &ctx;
    const FirstMoveId &id;
    bool searched = false;
    bool solves = false;
    CellCode arriving = 0;
    SolutionLine line{};

    bool Wants(const CellCode *from, const CellCode *to, std::uint32_t flags) const {
      return IndexOf(from) == id.from && IndexOf(to) == id.to && flags == id.flags &&
             (*from & kKindMask) == id.kind;
    }
    void Make() {
      MakeMove(ctx.position);
      arriving = *ctx.position.ply->to;
    }
    bool Visit() {
      solves = root.Solves(ctx);
      UnmakeMove(ctx.position);
      if (solves)
        line = BuildSolutionLine(ctx.position, arriving);
      searched = true;
      return true;
    }
  };

  void PrepareRoot(SearchContext &ctx) {
    ctx.Prepare(placement_, order_.depth);
    ctx.position.rights = order_.castlingRights;
    ctx.position.ply = ctx.position.plyStack.data() + 1;
  }

  bool Solves(SearchContext &ctx) {
    const int depth = order_.depth;
    if (table_ == nullptr)
      return kWhite ? !BlackEscapes(ctx) : !WhiteMates(ctx);
    const NodeKey child = ChildKey(ctx.position, kWhite, rootKey_, rootRights_);
    return kWhite ? !FastBlackEscapes(ctx, depth, child) : !FastWhiteMates(ctx, depth, child);
  }

  void Search(SearchContext &ctx, std::size_t index) {
    FirstMoveOutcome &outcome = outcomes_[index];
    ++outcome.searchers;
    ctx.rootMoveEnded = &outcome.ended;
    FirstMove visitor{*this, ctx, moves_[index]};
    GenerateMoves<S>(ctx.position, visitor);
    ctx.rootMoveEnded = &SearchContext::kNeverStop;
    --outcome.searchers;
    // An answer found after the move was ended may be one a stopped search made up.
    if (!visitor.searched || outcome.ended || stop_->load(std::memory_order_relaxed))
      return;
    if (outcome.settled.exchange(true))
      return;
    outcome.solves = visitor.solves;
    outcome.line = visitor.line;
    outcome.known.store(true, std::memory_order_release);
    outcome.ended = true;
    { std::lock_guard lock(mutex_); }
    settledOne_.notify_all();
  }

  // The next first move nobody has taken, from the thread's cursor on; else the one being
  // searched by the fewest threads (with the table, several threads on one move help each
  // other). Each thread starts at its own share of the list and walks on from there: a thread
  // gains most from the table when the moves it searches one after the other are neighbours,
  // and neighbours searched at the same time by two threads would prove the same positions
  // twice.
  std::size_t NextMove(std::size_t &cursor) {
    const std::size_t count = moves_.size();
    for (std::size_t k = 0; k < count; ++k, cursor = (cursor + 1) % count) {
      if (!outcomes_[cursor].ended && !outcomes_[cursor].claimed.exchange(true))
        return cursor;
    }
    if (table_ == nullptr)
      return count;
    std::size_t best = count;
    for (std::size_t i = 0; i < count; ++i) {
      if (!outcomes_[i].ended &&
          (best == count || outcomes_[i].searchers < outcomes_[best].searchers))
        best = i;
    }
    return best;
  }

  void Work(SearchContext &ctx, std::size_t cursor) {
    PrepareRoot(ctx);
    while (!stop_->load(std::memory_order_relaxed)) {
      const std::size_t index = NextMove(cursor);
      if (index == moves_.size())
        return;
      Search(ctx, index);
    }
  }

  // Threads the system refuses are done without: the task's own thread searches when alone.
  void StartWorkers() {
    for (std::size_t t = 1; t < contexts_.size(); ++t) {
      auto worker = std::make_unique<platform::DeepThread>();
      const std::size_t share = (t - 1) * moves_.size() / (contexts_.size() - 1);
      if (!worker->Start([this, &ctx = *contexts_[t], share] { Work(ctx, share); }))
        return;
      workers_.push_back(std::move(worker));
    }
  }

  // Waits for the answer on the first move, or searches it here when alone.
  bool Await(std::size_t index) {
    FirstMoveOutcome &outcome = outcomes_[index];
    if (workers_.empty()) {
      Search(*contexts_[0], index);
    } else {
      std::unique_lock lock(mutex_);
      while (!outcome.known.load(std::memory_order_acquire) &&
             !stop_->load(std::memory_order_relaxed)) {
        // The host's stop request comes without a notice.
        settledOne_.wait_for(lock, std::chrono::milliseconds(10));
      }
    }
    return outcome.known.load(std::memory_order_acquire);
  }

  TaskResult Report(TaskHost &host) {
    if (stop_->load(std::memory_order_relaxed))
      return TaskResult::Stopped;
    const std::size_t count = moves_.size();
    const int progressStep = count != 0 ? static_cast<int>(10000 / count) : 0;
    StartWorkers();
    for (std::size_t i = 0; i < count; ++i) {
      if (stop_->load(std::memory_order_relaxed))
        return TaskResult::Stopped;
      host.ProgressUpdate(static_cast<short>(progressStep * static_cast<int>(i) / 100));
      if (!moves_[i].legal)
        continue;
      if (!Await(i) || stop_->load(std::memory_order_relaxed))
        return TaskResult::Stopped;
      if (!outcomes_[i].solves)
        continue;
      const SolutionLine &line = outcomes_[i].line;
      host.SolutionFound(std::string_view(line.data(), line.size()));
      if (host.StopOnFound()) {
        host.Finished();
        return TaskResult::EndedOnFound;
      }
    }
    return TaskResult::Ran;
  }

  // Ends every search still going on.
  void EndAll() {
    for (std::size_t i = 0; outcomes_ != nullptr && i < moves_.size(); ++i)
      outcomes_[i].ended = true;
  }

  const Placement &placement_;
  const TaskOrder &order_;
  const std::atomic<bool> *const stop_;
  MateTable *const table_;
  std::vector<std::unique_ptr<SearchContext>> contexts_; // the task's own, then the workers'
  BusyMarks busy_;
  NodeKey rootKey_{};
  std::uint32_t rootRights_ = 0;
  std::vector<FirstMoveId> moves_;
  std::unique_ptr<FirstMoveOutcome[]> outcomes_;
  std::vector<std::unique_ptr<platform::DeepThread>> workers_;
  std::mutex mutex_;
  std::condition_variable settledOne_;
};

template <Side S>
TaskResult RunRoot(const Placement &placement, const TaskOrder &order, MateTable *table,
                   int threads, TaskHost &host, std::uint64_t &nodes, TableStatistics &lookups) {
  RootSearch<S> root(placement, order, table, threads);
  const TaskResult result = root.Run(host);
  nodes = root.Nodes();
  lookups = root.Table();
  return result;
}

} // namespace

std::size_t SafeTableMegabytes() { return MateTable::SafeMegabytes(); }

Solver::Solver() : results_(std::make_unique<MateTable>()) {}
Solver::~Solver() = default;

std::size_t Solver::TableLimitMegabytes() const { return results_->LimitMegabytes(); }

int HardwareThreads() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

TaskResult Solver::RunTask(TaskKind kind, const Placement &placement, const TaskOrder &order,
                           TaskHost &host) {
  std::lock_guard lock(running_);
  MateTable *table = nullptr;
  if (!order.search.plain) {
    results_->SetLimit(static_cast<std::size_t>(std::max(order.search.hashMegabytes, 1)));
    results_->NewTask();
    table = results_.get();
  }
  const int threads = order.search.threads > 0 ? order.search.threads : HardwareThreads();
  const TaskResult result =
      kind == TaskKind::Mate
          ? RunRoot<Side::White>(placement, order, table, threads, host, nodes_, table_)
          : RunRoot<Side::Black>(placement, order, table, threads, host, nodes_, table_);

  const bool stopped =
      order.stopRequest != nullptr && order.stopRequest->load(std::memory_order_relaxed);
  if (result == TaskResult::EndedOnFound || result == TaskResult::Stopped)
    return result;
  if (stopped)
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
