#ifndef PA_HOST_FIELD_PLACES_H_
#define PA_HOST_FIELD_PLACES_H_

#include <cstddef>
#include <cstdint>
#include <vector>

namespace DataMgmt {

// The places 0, 1, 2, ... that field numbers take in a list, in the order
// they were added: a form's fields by number, for its field list. Like
// FieldSlots, a lookup is one multiply and a short linear probe; unlike
// it, there are no values beside the places, so a list of hundreds of
// fields costs one small table. The table is at most three quarters full;
// nothing is removed.
class FieldPlaces {
 public:
  // The place of `number`; -1 when it has none.
  int find(int number) const {
    if (table_.empty()) return kEmpty;
    const std::size_t mask = table_.size() - 1;
    for (std::size_t i = home(number);; i = (i + 1) & mask) {
      const Place& place = table_[i];
      if (place.at == kEmpty || place.number == number) return place.at;
    }
  }

  // Gives `number` the next place; false, changing nothing, when it has one.
  bool add(int number) {
    if ((count_ + 1) * 4 > table_.size() * 3) rebuild(table_.empty() ? 16 : table_.size() * 2);
    const std::size_t mask = table_.size() - 1;
    std::size_t i = home(number);
    for (; table_[i].at != kEmpty; i = (i + 1) & mask) {
      if (table_[i].number == number) return false;
    }
    table_[i] = Place{number, static_cast<int32_t>(count_++)};
    return true;
  }

  // Makes room for `count` places in all, so that adding them moves nothing.
  void reserve(std::size_t count) {
    std::size_t size = table_.empty() ? 16 : table_.size();
    while (count * 4 > size * 3) size *= 2;
    if (size != table_.size()) rebuild(size);
  }

  std::size_t size() const { return count_; }

 private:
  static constexpr int32_t kEmpty = -1;
  struct Place {
    int number;
    int32_t at;
  };

  std::size_t home(int number) const {
    // Fibonacci hashing: the top bits of the product index the table.
    return static_cast<std::size_t>((static_cast<uint32_t>(number) * 2654435769u) >> shift_);
  }

  // A table of `size` places (a power of two) holding every place again.
  void rebuild(std::size_t size) {
    std::vector<Place> old(size, Place{0, kEmpty});
    old.swap(table_);
    unsigned bits = 0;
    while ((std::size_t{1} << bits) < size) ++bits;
    shift_ = 32 - bits;
    const std::size_t mask = size - 1;
    for (const Place& place : old) {
      if (place.at == kEmpty) continue;
      std::size_t i = home(place.number);
      while (table_[i].at != kEmpty) i = (i + 1) & mask;
      table_[i] = place;
    }
  }

  std::vector<Place> table_;
  std::size_t count_ = 0;
  unsigned shift_ = 32;
};

}  // namespace DataMgmt

#endif  // PA_HOST_FIELD_PLACES_H_
