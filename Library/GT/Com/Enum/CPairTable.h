#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace GT {

// Pairs (id, value) looked up either way; the last pair is always the default
// pair, which answers every miss and is not counted.
template <typename K, typename T>
class CPairTable {
public:
  using CPair = std::pair<K, T>;

  CPairTable(std::vector<CPair> const& pairs, CPair const& defaultPair) : mPairs(pairs) {
    mPairs.push_back(defaultPair);
  }
  CPairTable(CPair const* pairs, std::size_t count, CPair const& defaultPair)
      : mPairs(pairs, pairs + count) {
    mPairs.push_back(defaultPair);
  }
  virtual ~CPairTable() {}

  virtual void Initialize(std::vector<CPair> const& pairs, CPair const& defaultPair) {
    std::vector<CPair> fresh(pairs);
    fresh.push_back(defaultPair);
    mPairs.swap(fresh);
  }

  int GetCount() const { return static_cast<int>(mPairs.size()) - 1; }

  // The pair at an index from 0 to GetCount(); GetCount() is the default pair.
  CPair const& GetPair(int index) const { return mPairs[static_cast<std::size_t>(index)]; }

  int ToIndexFirst(K const& id) const {
    int const n = GetCount();
    for (int i = 0; i < n; ++i) {
      if (mPairs[static_cast<std::size_t>(i)].first == id) return i;
    }
    return n;
  }

  int ToIndexSecond(T const& value) const {
    int const n = GetCount();
    for (int i = 0; i < n; ++i) {
      if (mPairs[static_cast<std::size_t>(i)].second == value) return i;
    }
    return n;
  }

  T const& ToSecond(K const& id) const { return GetPair(ToIndexFirst(id)).second; }
  CPair const& ToFirst(T const& value) const { return GetPair(ToIndexSecond(value)); }

private:
  std::vector<CPair> mPairs;
};

}  // namespace GT
