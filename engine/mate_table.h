// The table of proven results of the fast search. For a position it keeps two bounds on the
// moves left: with mateAt or more White mates, with safeUpTo or fewer White does not. A mate
// within k is a mate within any larger k, and no mate within k means none within a smaller
// one, so a bound answers every question on its side of it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace engine {

class MateTable {
public:
  static constexpr int kUnknownMate = 0x7FFF;

  struct Bounds {
    int mateAt = kUnknownMate;
    int safeUpTo = 0;
  };

  // Sized once; a task only makes the entries of earlier tasks stale.
  void Resize(std::size_t megabytes);
  void NewTask();
  std::size_t Megabytes() const { return bytes_ >> 20; }

  Bounds Probe(std::uint64_t key);
  // Starts fetching the entry of a position that is about to be probed.
  void Prefetch(std::uint64_t key) const {
    if (entries_ != nullptr)
      __builtin_prefetch(&entries_[(key & mask_) * kWays]);
  }

  // Keeps the tighter of the stored and the given bound on each side.
  void Store(std::uint64_t key, const Bounds &bounds);

  std::uint64_t probes = 0;
  std::uint64_t hits = 0;

private:
  struct Entry {
    std::uint64_t key;
    std::int16_t mateAt;
    std::int16_t safeUpTo;
    std::uint16_t generation;
    std::uint16_t unused;
  };
  static constexpr int kWays = 4;

  Entry *Bucket(std::uint64_t key) { return &entries_[(key & mask_) * kWays]; }

  // Zeroed pages straight from the system, large pages where it gives them: the table is
  // probed at random, and every probe that misses the address cache costs a page walk.
  void Release();
  Entry *entries_ = nullptr;
  void *mapping_ = nullptr;
  std::size_t mappingBytes_ = 0;
  std::uint64_t mask_ = 0;
  std::size_t bytes_ = 0;
  std::uint16_t generation_ = 0;
};

} // namespace engine
