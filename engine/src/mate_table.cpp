#include "engine/mate_table.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

namespace engine {

namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;
constexpr std::size_t kBucketBytes = 64;
constexpr std::size_t kFirstBytes = kLargePage; // one large page: all a small problem needs
constexpr int kGrowthShift = 2;                 // four times larger at each step

constexpr int kMateShift = 0, kSafeShift = 16, kGenerationShift = 32;

std::uint64_t Pack(const MateTable::Bounds &bounds, std::uint64_t generation) {
  const std::uint64_t mate =
      bounds.mateAt == MateTable::kUnknownMate ? 0 : static_cast<std::uint16_t>(bounds.mateAt);
  return mate << kMateShift |
         std::uint64_t{static_cast<std::uint16_t>(bounds.safeUpTo)} << kSafeShift |
         generation << kGenerationShift;
}

MateTable::Bounds Unpack(std::uint64_t data) {
  const int mate = static_cast<int>(data >> kMateShift & 0xFFFF);
  return {mate == 0 ? MateTable::kUnknownMate : mate,
          static_cast<int>(data >> kSafeShift & 0xFFFF)};
}

std::uint64_t GenerationOf(std::uint64_t data) { return data >> kGenerationShift & 0xFFFF; }

} // namespace

MateTable::~MateTable() { Release(); }

void MateTable::Release() {
  if (mapping_ != nullptr)
    munmap(mapping_, mappingBytes_);
  mapping_ = nullptr;
  entries_ = nullptr;
  limitBytes_ = 0;
}

std::size_t MateTable::SafeMegabytes() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0)
    return 1024;
  // Half the memory: the rest is the system's and the other programs'.
  return static_cast<std::size_t>(pages) / 2 * static_cast<std::size_t>(pageSize) >> 20;
}

std::size_t MateTable::SetLimit(std::size_t megabytes) {
  const std::size_t granted = std::clamp<std::size_t>(megabytes, 2, SafeMegabytes());
  const std::size_t bytes = std::bit_floor(granted << 20);
  if (bytes == limitBytes_)
    return granted;
  Release();
  // Address space only; a page is committed when it is first written.
  const std::size_t mappingBytes = bytes + kLargePage;
  void *mapping = mmap(nullptr, mappingBytes, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (mapping == MAP_FAILED)
    return 0;
  const auto start =
      (reinterpret_cast<std::uintptr_t>(mapping) + kLargePage - 1) & ~(kLargePage - 1);
  madvise(reinterpret_cast<void *>(start), bytes, MADV_HUGEPAGE);
  mapping_ = mapping;
  mappingBytes_ = mappingBytes;
  entries_ = reinterpret_cast<Entry *>(start);
  limitBytes_ = bytes;
  mask_ = std::min(kFirstBytes, bytes) / kBucketBytes - 1;
  stored_ = 0;
  generation_ = 0;
  return granted;
}

std::size_t MateTable::Megabytes() const { return (mask_ + 1) * kBucketBytes >> 20; }

void MateTable::NewTask() {
  stored_ = 0;
  if (++generation_ > 0xFFFF) {
    // Old entries would pass for new ones: forget them all.
    if (entries_ != nullptr)
      std::memset(static_cast<void *>(entries_), 0, (mask_ + 1) * kBucketBytes);
    generation_ = 1;
  }
}

bool MateTable::Probe(std::uint64_t key, Bounds &bounds) const {
  if (entries_ == nullptr)
    return false;
  const Entry *bucket = Bucket(key);
  for (int i = 0; i < kWays; ++i) {
    const std::uint64_t data = bucket[i].data.load(std::memory_order_relaxed);
    const std::uint64_t check = bucket[i].check.load(std::memory_order_relaxed);
    if ((check ^ data) == key && GenerationOf(data) == generation_) {
      bounds = Unpack(data);
      return true;
    }
  }
  return false;
}

// An entry of an earlier task goes first, then the one that cost the least to prove: the
// larger of its two bounds, read straight off the packed word, where an unknown mate is 0.
void MateTable::Store(std::uint64_t key, const Bounds &bounds) {
  if (entries_ == nullptr)
    return;
  Entry *bucket = Bucket(key);
  Entry *victim = bucket;
  std::uint64_t victimWorth = ~std::uint64_t{0};
  Bounds kept = bounds;
  for (int i = 0; i < kWays; ++i) {
    Entry &entry = bucket[i];
    const std::uint64_t data = entry.data.load(std::memory_order_relaxed);
    const bool current = GenerationOf(data) == generation_;
    if (current && (entry.check.load(std::memory_order_relaxed) ^ data) == key) {
      const Bounds stored = Unpack(data);
      kept.mateAt = std::min(stored.mateAt, bounds.mateAt);
      kept.safeUpTo = std::max(stored.safeUpTo, bounds.safeUpTo);
      victim = &entry;
      break;
    }
    const std::uint64_t worth =
        current ? 1 + std::max(data >> kMateShift & 0xFFFF, data >> kSafeShift & 0xFFFF) : 0;
    if (worth < victimWorth) {
      victimWorth = worth;
      victim = &entry;
    }
  }
  const std::uint64_t data = Pack(kept, generation_);
  victim->data.store(data, std::memory_order_relaxed);
  victim->check.store(key ^ data, std::memory_order_relaxed);
}

void MateTable::NoteStores(std::uint64_t count) {
  const std::uint64_t stored = stored_.fetch_add(count, std::memory_order_relaxed) + count;
  const std::uint64_t buckets = mask_.load(std::memory_order_relaxed) + 1;
  if (stored < buckets * kWays || buckets * kBucketBytes >= limitBytes_)
    return;
  if (growing_.exchange(true, std::memory_order_acquire))
    return; // another thread grows it
  Grow();
  stored_ = 0;
  growing_.store(false, std::memory_order_release);
}

// Moves each entry of the current task to its bucket in the larger table; the other threads
// go on meanwhile and may lose a result or miss one, never find a wrong one.
void MateTable::Grow() {
  const std::uint64_t oldBuckets = mask_ + 1;
  const std::uint64_t newBuckets =
      std::min<std::uint64_t>(oldBuckets << kGrowthShift, limitBytes_ / kBucketBytes);
  const std::uint64_t newMask = newBuckets - 1;
  for (std::uint64_t b = 0; b < oldBuckets; ++b) {
    for (int i = 0; i < kWays; ++i) {
      Entry &entry = entries_[b * kWays + i];
      const std::uint64_t data = entry.data.load(std::memory_order_relaxed);
      if (GenerationOf(data) != generation_)
        continue;
      // Copied as read: a pair torn by another thread's write stays a miss where it lands.
      const std::uint64_t check = entry.check.load(std::memory_order_relaxed);
      const std::uint64_t key = check ^ data;
      if ((key & newMask) == b)
        continue;
      Entry *to = &entries_[(key & newMask) * kWays];
      while (GenerationOf(to->data.load(std::memory_order_relaxed)) == generation_ &&
             to != &entries_[(key & newMask) * kWays] + (kWays - 1))
        ++to;
      to->data.store(data, std::memory_order_relaxed);
      to->check.store(check, std::memory_order_relaxed);
      entry.data.store(0, std::memory_order_relaxed);
      entry.check.store(0, std::memory_order_relaxed);
    }
  }
  mask_.store(newMask, std::memory_order_relaxed);
}

} // namespace engine
