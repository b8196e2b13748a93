// The play beneath a first move, built move by move on one position. Every node asks one of
// two questions of the exact searches (the accelerated one with the run's table, or the plain
// one): "White to move: mate in k?" and "Black to move: is White mating within k?", so
// everything listed is proven and nothing that answers is missing.
#include "engine/play.h"

#include "engine/fast_search.h"
#include "engine/generator.h"
#include "engine/search.h"
#include "engine/zobrist.h"

#include <algorithm>
#include <optional>

namespace engine {

namespace {

// What the generator says of a move before it is made; making it may add a capture.
constexpr std::uint32_t kMoveKinds =
    kDoubleStep | kEnPassant | kPromotion | kShortCastling | kLongCastling;

// A move as the generator makes it, to be found again: the first move asked for on a second
// pass, a threat's first move after each Black reply. Castling goes by its rook's move.
struct MoveId {
  int from;
  int to;
  std::uint32_t flags;
  CellCode kind; // of the man that moves; a promoting pawn's new kind
  bool operator==(const MoveId &) const = default;
};

MoveId BeforeMaking(const CellCode *from, const CellCode *to, std::uint32_t flags) {
  return {IndexOf(from), IndexOf(to), flags & kMoveKinds, *from & kKindMask};
}

MoveId OnTheBoard(const PlyRecord &p) {
  return {IndexOf(p.from), IndexOf(p.to), p.flags & kMoveKinds, *p.to & kKindMask};
}

using MoveIds = std::vector<MoveId>;

struct ListedMove {
  MoveId id;
  std::array<char, 10> line;
};

std::string_view WithoutTrailingBlanks(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == text.npos ? std::string_view() : text.substr(0, end + 1);
}

class PlayBuilder {
public:
  PlayBuilder(SearchContext &ctx, const PlayOrder &order, PlayHost &host)
      : ctx_(ctx), pos_(ctx.position), order_(order), host_(host), depth_(order.depth) {}

  PlayResult Run() {
    if (!pos_.oneKingEach)
      return PlayResult::NoKingPair;
    if (BlackKingAttacked(pos_))
      return PlayResult::OpponentInCheck;
    if (depth_ < 1)
      return PlayResult::DepthBelowOne;
    // The position a task starts from; record 0 stands for the move before it.
    ++pos_.ply;
    const NodeKey whiteFirst = PositionKey(pos_, false);
    const NodeKey blackFirst = PositionKey(pos_, true);
    --pos_.ply;

    std::vector<ListedMove> firstMoves = ListFirstMoves(whiteFirst);
    if (!order_.firstMove.empty()) {
      const auto asked = std::find_if(firstMoves.begin(), firstMoves.end(), [&](const auto &m) {
        return WithoutTrailingBlanks({m.line.data(), m.line.size()}) ==
               WithoutTrailingBlanks(order_.firstMove);
      });
      if (asked == firstMoves.end())
        return PlayResult::NoSuchMove;
      firstMoves = {*asked};
    }
    units_ = static_cast<int>(firstMoves.size()) + (order_.setPlay ? 1 : 0);
    if (order_.setPlay) {
      std::vector<PlayNode> setPlay = SetPlay(blackFirst);
      if (Stopped())
        return PlayResult::Stopped;
      host_.SetPlayFound(setPlay);
      UnitDone();
    }
    for (const ListedMove &first : firstMoves) {
      const std::optional<FirstMovePlay> play = FirstMove(first.id, whiteFirst);
      if (Stopped())
        return PlayResult::Stopped;
      if (play)
        host_.FirstMoveFound(*play);
      UnitDone();
    }
    host_.PlayProgress(100);
    return PlayResult::Ran;
  }

private:
  bool Stopped() const { return ctx_.StopRequested(); }
  bool OverBudget() const { return moves_ >= order_.maxMoves; }

  // White to move: can White mate in at most `moves` moves?
  bool WhiteMatesIn(int moves, const NodeKey &key) {
    if (ctx_.table != nullptr)
      return FastWhiteMates(ctx_, moves + 1, key);
    pos_.movesLeft = moves + 1;
    return WhiteMates(ctx_);
  }
  // Black to move: does White mate in at most `moves` more moves whatever Black does? With
  // none left: is Black checkmated?
  bool MatedIn(int moves, const NodeKey &key) {
    if (ctx_.table != nullptr)
      return !FastBlackEscapes(ctx_, moves + 1, key);
    pos_.movesLeft = moves + 1;
    return !BlackEscapes(ctx_);
  }

  // Visits the legal moves of side S at the next record (only those of `only` when given),
  // each on the board with its key; the nodes that `build` keeps come back with their texts,
  // in generation order.
  template <Side S, class Build> struct MoveVisitor {
    PlayBuilder &builder;
    const NodeKey &key;
    const MoveIds *only;
    Build &build;
    std::uint32_t rights; // the side's rights when the level began
    std::vector<PlayNode> nodes;

    bool Wants(const CellCode *from, const CellCode *to, std::uint32_t flags) const {
      return only == nullptr ||
             std::find(only->begin(), only->end(), BeforeMaking(from, to, flags)) != only->end();
    }
    void Make() { MakeMove(builder.pos_); }
    bool Visit() {
      Position &pos = builder.pos_;
      const CellCode arriving = *pos.ply->to;
      const MoveId id = OnTheBoard(*pos.ply);
      const NodeKey child = ChildKey(pos, S == Side::White, key, rights);
      PlayNode node;
      node.white = S == Side::White;
      const bool keep = build(node, child, id);
      UnmakeMove(pos);
      if (keep) {
        node.line = BuildSolutionLine(pos, arriving);
        nodes.push_back(std::move(node));
        ++builder.moves_;
      }
      return builder.Stopped();
    }
  };

  template <Side S, class Build>
  std::vector<PlayNode> Moves(const NodeKey &key, const MoveIds *only, Build &&build) {
    ++pos_.ply;
    pos_.ply->flags = 0;
    MoveVisitor<S, Build> visitor{*this, key, only, build, pos_.rights, {}};
    GenerateMoves<S>(pos_, visitor);
    --pos_.ply;
    return std::move(visitor.nodes);
  }

  template <Side S> int LegalMoves(const NodeKey &key) {
    int count = 0;
    Moves<S>(key, nullptr, [&](PlayNode &, const NodeKey &, const MoveId &) {
      ++count;
      return false;
    });
    return count;
  }

  std::vector<ListedMove> ListFirstMoves(const NodeKey &key) {
    std::vector<ListedMove> listed;
    MoveIds ids;
    const auto nodes = Moves<Side::White>(key, nullptr, [&](PlayNode &, const NodeKey &, auto id) {
      ids.push_back(id);
      return true;
    });
    moves_ = 0;
    for (std::size_t i = 0; i < nodes.size(); ++i)
      listed.push_back({ids[i], nodes[i].line});
    return listed;
  }

  // Black has just moved (or passed): White's continuations that force mate within `left`
  // moves, or with `shortestOnly` only those of the fewest moves. Their ids go to `ids`.
  void WhiteAnswers(PlayNode &black, int left, const NodeKey &key, bool shortestOnly,
                    MoveIds *ids = nullptr) {
    int shortest = 1;
    while (shortest <= left && !WhiteMatesIn(shortest, key) && !Stopped())
      ++shortest;
    if (shortest > left || Stopped()) {
      black.refutes = true;
      return;
    }
    black.mateIn = static_cast<short>(shortest);
    if (OverBudget()) {
      black.cut = true;
      return;
    }
    const int budget = shortestOnly ? shortest : left;
    black.replies = Moves<Side::White>(key, nullptr, [&](PlayNode &white, auto child, auto id) {
      if (!MatedIn(budget - 1, child))
        return false;
      BlackReplies(white, budget - 1, child);
      if (ids != nullptr)
        ids->push_back(id);
      return true;
    });
    const auto quickest = std::count_if(black.replies.begin(), black.replies.end(),
                                        [&](const PlayNode &w) { return w.mateIn == shortest; });
    for (PlayNode &white : black.replies)
      white.dual = quickest > 1 && white.mateIn == shortest;
  }

  // White has just moved: every legal Black move with White's answers in `left` moves. Under a
  // first move, `threat` marks the replies its first moves answer, and `progress` counts them.
  void BlackReplies(PlayNode &white, int left, const NodeKey &key, const MoveIds *threat = nullptr,
                    bool progress = false) {
    if (OverBudget()) {
      white.cut = true;
      int more = 0;
      while (more < left && !MatedIn(more, key))
        ++more;
      white.mateIn = static_cast<short>(more + 1);
      return;
    }
    const int replies = progress ? LegalMoves<Side::Black>(key) : 0;
    int done = 0;
    white.replies = Moves<Side::Black>(key, nullptr, [&](PlayNode &black, auto child, auto) {
      WhiteAnswers(black, left, child, !order_.everyAnswer);
      if (threat != nullptr && !black.refutes)
        black.byThreat = AnsweredBy(*threat, left, child);
      if (progress)
        Advance(++done, replies);
      return true;
    });
    if (white.replies.empty()) {
      white.mateIn = BlackKingAttacked(pos_) ? 1 : 0;
      return;
    }
    // As long as Black's best defence lasts; nothing when one refutes.
    int longest = 0;
    for (const PlayNode &black : white.replies) {
      if (black.refutes)
        return;
      longest = std::max<int>(longest, black.mateIn);
    }
    white.mateIn = static_cast<short>(longest + 1);
  }

  // After a Black reply: does one of the threat's first moves still force mate in time?
  bool AnsweredBy(const MoveIds &threat, int left, const NodeKey &key) {
    bool answered = false;
    Moves<Side::White>(key, &threat, [&](PlayNode &, auto child, auto) {
      answered = answered || MatedIn(left - 1, child);
      return false;
    });
    return answered;
  }

  // White's shortest mates after the first move on the board, were Black to pass.
  std::vector<PlayNode> Threat(const NodeKey &key, MoveIds &ids) {
    NodeKey passed{key.hash ^ BlackToMoveKey(), -1};
    if (key.enPassantFile >= 0)
      passed.hash ^= EnPassantKey(key.enPassantFile);
    ++pos_.ply;
    *pos_.ply = PlyRecord{}; // the pass: no move, nothing to take in passing
    PlayNode pass;
    WhiteAnswers(pass, depth_ - 1, passed, true, &ids);
    --pos_.ply;
    return std::move(pass.replies);
  }

  // Refutations of the first move on the board, counted up to `limit`.
  int Refutations(const NodeKey &key, int limit) {
    int count = 0;
    Moves<Side::Black>(key, nullptr, [&](PlayNode &, auto child, auto) {
      if (count < limit && !WhiteMatesIn(depth_ - 1, child))
        ++count;
      return false;
    });
    return count;
  }

  std::optional<FirstMovePlay> FirstMove(const MoveId &id, const NodeKey &key) {
    const bool asked = !order_.firstMove.empty();
    std::optional<FirstMovePlay> play;
    const MoveIds only{id};
    auto nodes = Moves<Side::White>(key, &only, [&](PlayNode &move, auto child, auto) {
      const bool isKey = MatedIn(depth_ - 1, child);
      if (!isKey && !asked) {
        const int refutations = Refutations(child, order_.tries + 1);
        if (refutations == 0 || refutations > order_.tries)
          return false;
      }
      moves_ = 0;
      play.emplace();
      play->key = isKey;
      MoveIds threat;
      if (!BlackKingAttacked(pos_) && LegalMoves<Side::Black>(child) > 0)
        play->threat = Threat(child, threat);
      BlackReplies(move, depth_ - 1, child, &threat, true);
      return true;
    });
    if (play)
      play->move = std::move(nodes.front());
    return play;
  }

  // Black cannot move first while White stands in check: then there is no set play.
  std::vector<PlayNode> SetPlay(const NodeKey &key) {
    moves_ = 0;
    if (WhiteKingAttacked(pos_))
      return {};
    return Moves<Side::Black>(key, nullptr, [&](PlayNode &black, auto child, auto) {
      WhiteAnswers(black, depth_ - 1, child, !order_.everyAnswer);
      return true;
    });
  }

  // Progress within the current unit (the set play or one first move): `done` of `of`.
  void Advance(int done, int of) {
    const int percent = (100 * unitsDone_ + 100 * done / std::max(of, 1)) / std::max(units_, 1);
    if (percent > percent_ && percent < 100) {
      percent_ = percent;
      host_.PlayProgress(static_cast<short>(percent));
    }
  }

  void UnitDone() {
    ++unitsDone_;
    Advance(0, 1);
  }

  SearchContext &ctx_;
  Position &pos_;
  const PlayOrder &order_;
  PlayHost &host_;
  const int depth_;
  std::size_t moves_ = 0; // nodes of the current document
  int units_ = 0;
  int unitsDone_ = 0;
  int percent_ = 0;
};

} // namespace

PlayResult RunPlay(const Placement &placement, const PlayOrder &order, PlayHost &host,
                   MateTable *table) {
  MateTable own;
  if (!order.search.plain && table == nullptr) {
    own.SetLimit(static_cast<std::size_t>(std::max(order.search.hashMegabytes, 1)));
    own.NewTask();
    table = &own;
  }
  SearchContext ctx;
  ctx.table = order.search.plain ? nullptr : table;
  if (order.stopRequest != nullptr)
    ctx.stopRequest = order.stopRequest;
  ctx.Prepare(placement, order.depth);
  ctx.position.rights = order.castlingRights;
  return PlayBuilder(ctx, order, host).Run();
}

} // namespace engine
