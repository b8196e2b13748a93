// The table of proven results of the fast search. For a position it keeps two bounds on the
// moves left: with mateAt or more White mates, with safeUpTo or fewer White does not. A mate
// within k is a mate within any larger k, and no mate within k means none within a smaller
// one, so a bound answers every question on its side of it.
//
// The search threads of a task share one table without locks. An entry is two words written
// one after the other, the key folded into the first with the bounds of the second; a reader
// that meets half of one write and half of another finds the key wrong and takes a miss, so
// the table never hands out a bound it was not given. A lost bound only costs time.
#pragma once

#include <atomic>
#include <climits>
#include <cstddef>
#include <cstdint>

namespace engine {

class MateTable {
public:
  static constexpr int kUnknownMate = INT_MAX; // beyond any number of moves left

  struct Bounds {
    int mateAt = kUnknownMate;
    int safeUpTo = 0;
  };

  MateTable() = default;
  MateTable(const MateTable &) = delete;
  MateTable &operator=(const MateTable &) = delete;
  ~MateTable();

  // The size the table may grow to, held to a safe share of the machine's memory; answers the
  // megabytes granted. Only address space is taken here: the table starts small and grows
  // with the results stored, so a small problem touches little memory.
  std::size_t SetLimit(std::size_t megabytes);
  std::size_t LimitMegabytes() const { return limitBytes_ >> 20; }
  std::size_t Megabytes() const;
  static std::size_t SafeMegabytes();

  // Earlier tasks' entries become the first to be replaced. Not while a task searches.
  void NewTask();

  // False on a miss.
  bool Probe(std::uint64_t key, Bounds &bounds) const;
  // Keeps the tighter of the stored and the given bound on each side.
  void Store(std::uint64_t key, const Bounds &bounds);
  // Starts fetching the entry of a position that is about to be probed.
  void Prefetch(std::uint64_t key) const {
    if (entries_ != nullptr)
      __builtin_prefetch(Bucket(key));
  }
  // Told now and then how many results a thread has stored, the table grows once it holds as
  // many as it has room for.
  void NoteStores(std::uint64_t count);

private:
  struct Entry {
    std::atomic<std::uint64_t> check; // the key folded with data
    std::atomic<std::uint64_t> data;  // mateAt (0: unknown), safeUpTo, generation
  };
  static constexpr int kWays = 4;

  void Release();
  void Grow();
  Entry *Bucket(std::uint64_t key) const {
    return &entries_[(key & mask_.load(std::memory_order_relaxed)) * kWays];
  }

  // Zeroed pages straight from the system, large pages where it gives them: the table is
  // probed at random, and every probe that misses the address cache costs a page walk.
  Entry *entries_ = nullptr;
  std::atomic<std::uint64_t> mask_{0}; // buckets in use - 1
  std::uint64_t generation_ = 0;
  void *mapping_ = nullptr;
  std::size_t mappingBytes_ = 0;
  std::size_t limitBytes_ = 0;
  // Written by every thread now and then: kept off the line that every probe reads.
  alignas(64) std::atomic<std::uint64_t> stored_{0};
  std::atomic<bool> growing_{false};
};

} // namespace engine
