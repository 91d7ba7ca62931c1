#ifndef PA_HOST_FIELD_SLOTS_H_
#define PA_HOST_FIELD_SLOTS_H_

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace DataMgmt {

// A form copy's stored fields by field number. Reads far outnumber writes
// in a calculation, so a lookup is one multiply and a short linear probe
// in a power-of-two table of numbers and positions, with no division and
// no node to chase. Slots live in one vector: a slot reference is good
// until the next slot is made. Nothing is ever removed; a missing number
// is a null result from find().
template <class Slot>
class FieldSlots {
 public:
  Slot* find(int number) {
    const int32_t at = positionOf(number);
    return at < 0 ? nullptr : &slots_[static_cast<std::size_t>(at)].second;
  }
  const Slot* find(int number) const { return const_cast<FieldSlots*>(this)->find(number); }

  // The slot of `number`, made empty when missing; second is true when made.
  std::pair<Slot*, bool> tryEmplace(int number) {
    if (Slot* found = find(number)) return {found, false};
    if ((slots_.size() + 1) * 2 > table_.size()) grow();
    slots_.emplace_back(number, Slot());
    place(number, static_cast<int32_t>(slots_.size() - 1));
    return {&slots_.back().second, true};
  }

  // Makes room for `count` slots in all, so that making them moves nothing.
  void reserve(std::size_t count) {
    slots_.reserve(count);
    std::size_t size = table_.empty() ? 16 : table_.size();
    while (count * 2 > size) size *= 2;
    if (size != table_.size()) rebuild(size);
  }

  // Every stored slot as (number, slot), in the order they were made.
  const std::vector<std::pair<int, Slot>>& all() const { return slots_; }
  std::size_t size() const { return slots_.size(); }
  std::size_t capacity() const { return slots_.capacity(); }  // slots made without moving any

 private:
  static constexpr int32_t kEmpty = -1;

  std::size_t home(int number) const {
    // Fibonacci hashing: the top bits of the product index the table.
    return static_cast<std::size_t>((static_cast<uint32_t>(number) * 2654435769u) >> shift_);
  }

  int32_t positionOf(int number) const {
    if (table_.empty()) return kEmpty;
    const std::size_t mask = table_.size() - 1;
    for (std::size_t i = home(number);; i = (i + 1) & mask) {
      const Place& place = table_[i];
      if (place.at == kEmpty || place.number == number) return place.at;
    }
  }

  void place(int number, int32_t at) {
    const std::size_t mask = table_.size() - 1;
    std::size_t i = home(number);
    while (table_[i].at != kEmpty) i = (i + 1) & mask;
    table_[i] = Place{number, at};
  }

  // Doubles the table (at least 16 places) and places every slot again;
  // the table stays at most half full, so every probe ends at an empty place.
  void grow() { rebuild(table_.empty() ? 16 : table_.size() * 2); }

  // Makes a table of `size` places (a power of two above twice the slots)
  // and places every slot again.
  void rebuild(std::size_t size) {
    table_.assign(size, Place{0, kEmpty});
    unsigned bits = 0;
    while ((std::size_t{1} << bits) < size) ++bits;
    shift_ = 32 - bits;
    for (std::size_t at = 0; at < slots_.size(); ++at) place(slots_[at].first, static_cast<int32_t>(at));
  }

  // A place of the table: a field number and its position in slots_.
  struct Place {
    int number;
    int32_t at;
  };

  std::vector<std::pair<int, Slot>> slots_;
  std::vector<Place> table_;  // at is kEmpty where the place is free
  unsigned shift_ = 32;
};

}  // namespace DataMgmt

#endif  // PA_HOST_FIELD_SLOTS_H_
