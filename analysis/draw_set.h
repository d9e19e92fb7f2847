// A set of draws as a bitset over their positions in issue order (position
// i is the draw with idx i + 1). A set may hold fewer words than the history
// has draws; the missing words read as empty, so a set that only grows when a
// draw joins it needs no work when other draws are appended.
#ifndef ZEPHYRSTAT_ANALYSIS_DRAW_SET_H_
#define ZEPHYRSTAT_ANALYSIS_DRAW_SET_H_

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zs {

class DrawSet {
 public:
  static constexpr size_t kWordBits = 64;

  bool Contains(size_t draw) const {
    const size_t word = draw / kWordBits;
    return word < words_.size() && (words_[word] >> (draw % kWordBits) & 1) != 0;
  }
  uint64_t Word(size_t word) const { return word < words_.size() ? words_[word] : 0; }
  size_t WordCount() const { return words_.size(); }
  const uint64_t* Words() const { return words_.data(); }
  bool Empty() const { return words_.empty(); }

  void Add(size_t draw) {
    const size_t word = draw / kWordBits;
    if (word >= words_.size()) words_.resize(word + 1, 0);
    words_[word] |= uint64_t{1} << (draw % kWordBits);
  }
  // Removes `draw`, dropping trailing empty words so Empty() stays exact.
  void Remove(size_t draw) {
    const size_t word = draw / kWordBits;
    if (word >= words_.size()) return;
    words_[word] &= ~(uint64_t{1} << (draw % kWordBits));
    while (!words_.empty() && words_.back() == 0) words_.pop_back();
  }

  // For building a whole set at once, word by word in ascending order, then
  // DropEmptyTail(): room for `count` words, then each word's bits (empty
  // words in between are filled in). Precondition: word >= WordCount().
  void ReserveWords(size_t count) { words_.reserve(count); }
  void PutWord(size_t word, uint64_t bits) {
    words_.resize(word, 0);
    words_.push_back(bits);
  }
  // Drops trailing empty words; gives back their memory when that is more
  // than a quarter of the set (a copy), as a set that stopped early does.
  void DropEmptyTail() {
    while (!words_.empty() && words_.back() == 0) words_.pop_back();
    if (words_.capacity() - words_.size() > words_.capacity() / 4) words_.shrink_to_fit();
  }

  size_t MemoryBytes() const { return words_.capacity() * sizeof(uint64_t); }
  void ShrinkToFit() { words_.shrink_to_fit(); }

 private:
  std::vector<uint64_t> words_;
};

// The word mask of draw positions [begin, end) inside word `word`.
inline uint64_t RangeMask(size_t word, size_t begin, size_t end) {
  const size_t first = word * DrawSet::kWordBits;
  const size_t last = first + DrawSet::kWordBits;
  if (end <= first || begin >= last) return 0;
  uint64_t mask = ~uint64_t{0};
  if (begin > first) mask &= ~uint64_t{0} << (begin - first);
  if (end < last) mask &= ~(~uint64_t{0} << (end - first));
  return mask;
}

// Calls visit(position) for every set bit of `bits`, the word at `word`.
template <typename Visit>
void ForEachBit(uint64_t bits, size_t word, Visit&& visit) {
  while (bits != 0) {
    visit(word * DrawSet::kWordBits + static_cast<size_t>(__builtin_ctzll(bits)));
    bits &= bits - 1;
  }
}

}  // namespace zs

#endif  // ZEPHYRSTAT_ANALYSIS_DRAW_SET_H_
