#include "engine/mate_table.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <sys/mman.h>

namespace engine {

namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;

} // namespace

void MateTable::Release() {
  if (mapping_ != nullptr)
    munmap(mapping_, mappingBytes_);
  mapping_ = nullptr;
  entries_ = nullptr;
  bytes_ = 0;
}

void MateTable::Resize(std::size_t megabytes) {
  const std::size_t wanted = std::max<std::size_t>(megabytes, 1) << 20;
  std::size_t buckets = std::bit_floor(wanted / (sizeof(Entry) * kWays));
  if (entries_ != nullptr && buckets * sizeof(Entry) * kWays == bytes_)
    return;
  Release();
  // Short of memory, a smaller table still answers exactly, only less often.
  for (; buckets > 0 && entries_ == nullptr; buckets /= 2) {
    const std::size_t bytes = buckets * sizeof(Entry) * kWays;
    void *mapping = mmap(nullptr, bytes + kLargePage, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED)
      continue;
    const auto start =
        (reinterpret_cast<std::uintptr_t>(mapping) + kLargePage - 1) & ~(kLargePage - 1);
    madvise(reinterpret_cast<void *>(start), bytes, MADV_HUGEPAGE);
    mapping_ = mapping;
    mappingBytes_ = bytes + kLargePage;
    entries_ = reinterpret_cast<Entry *>(start);
    mask_ = buckets - 1;
    bytes_ = bytes;
  }
  generation_ = 0;
}

void MateTable::NewTask() {
  probes = 0;
  hits = 0;
  if (++generation_ == 0 && entries_ != nullptr) {
    std::fill(entries_, entries_ + (mask_ + 1) * kWays, Entry{});
    generation_ = 1;
  }
}

MateTable::Bounds MateTable::Probe(std::uint64_t key) {
  ++probes;
  if (entries_ == nullptr)
    return {};
  Entry *bucket = Bucket(key);
  for (int i = 0; i < kWays; ++i) {
    if (bucket[i].key == key && bucket[i].generation == generation_) {
      ++hits;
      return {bucket[i].mateAt, bucket[i].safeUpTo};
    }
  }
  return {};
}

// An entry of an earlier task goes first, then the one that cost the least to prove.
void MateTable::Store(std::uint64_t key, const Bounds &bounds) {
  if (entries_ == nullptr)
    return;
  Entry *bucket = Bucket(key);
  Entry *victim = bucket;
  int victimWorth = 0x10000;
  for (int i = 0; i < kWays; ++i) {
    Entry &entry = bucket[i];
    if (entry.generation == generation_ && entry.key == key) {
      entry.mateAt = static_cast<std::int16_t>(std::min<int>(entry.mateAt, bounds.mateAt));
      entry.safeUpTo = static_cast<std::int16_t>(std::max<int>(entry.safeUpTo, bounds.safeUpTo));
      return;
    }
    const int worth =
        entry.generation != generation_
            ? -1
            : std::max<int>(entry.safeUpTo, entry.mateAt == kUnknownMate ? 0 : entry.mateAt);
    if (worth < victimWorth) {
      victimWorth = worth;
      victim = &entry;
    }
  }
  victim->key = key;
  victim->mateAt = static_cast<std::int16_t>(bounds.mateAt);
  victim->safeUpTo = static_cast<std::int16_t>(bounds.safeUpTo);
  victim->generation = generation_;
}

} // namespace engine
