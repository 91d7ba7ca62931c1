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
//
// A number may also be noted without a slot (note()): the table remembers
// it, so that a caller who learnt something lasting about a field it never
// stores (that its form has it) finds that out with the same one probe the
// next time. A noted number takes a slot when one is made for it.
template <class Slot>
class FieldSlots {
 public:
  Slot* find(int number) {
    const int32_t at = positionOf(number);
    return at < 0 ? nullptr : &slots_[static_cast<std::size_t>(at)].second;
  }
  const Slot* find(int number) const { return const_cast<FieldSlots*>(this)->find(number); }
  // The same, telling in `*noted` whether a number without a slot was noted.
  const Slot* find(int number, bool* noted) const {
    const int32_t at = positionOf(number);
    *noted = at == kNoted;
    return at < 0 ? nullptr : &slots_[static_cast<std::size_t>(at)].second;
  }

  // Notes `number` without making a slot; nothing changes when it has a
  // slot or a note already.
  void note(int number) {
    if (positionOf(number) != kEmpty) return;
    if ((used() + 1) * 2 > table_.size()) grow();
    *placeOf(number) = Place{number, kNoted};
    ++notes_;
  }

  // The slot of `number`, made empty when missing; second is true when made.
  std::pair<Slot*, bool> tryEmplace(int number) {
    Place* place = placeOf(number);
    if (place != nullptr && place->at >= 0) return {&slots_[static_cast<std::size_t>(place->at)].second, false};
    if (place != nullptr && place->at == kNoted) {
      --notes_;  // the note's place takes the slot
    } else {
      if ((used() + 1) * 2 > table_.size()) grow();
      place = placeOf(number);
      place->number = number;
    }
    slots_.emplace_back(number, Slot());
    place->at = static_cast<int32_t>(slots_.size() - 1);
    return {&slots_.back().second, true};
  }

  // Makes room for `count` slots in all, so that making them moves nothing.
  void reserve(std::size_t count) {
    slots_.reserve(count);
    std::size_t size = table_.empty() ? 16 : table_.size();
    while ((count + notes_) * 2 > size) size *= 2;
    if (size != table_.size()) rebuild(size);
  }

  // Every stored slot as (number, slot), in the order they were made.
  const std::vector<std::pair<int, Slot>>& all() const { return slots_; }
  std::size_t size() const { return slots_.size(); }
  std::size_t capacity() const { return slots_.capacity(); }  // slots made without moving any

 private:
  static constexpr int32_t kEmpty = -1;
  static constexpr int32_t kNoted = -2;

  // A place of the table: a field number and its position in slots_
  // (kEmpty where the place is free, kNoted for a note).
  struct Place {
    int number;
    int32_t at;
  };

  std::size_t used() const { return slots_.size() + notes_; }  // places taken

  std::size_t home(int number) const {
    // Fibonacci hashing: the top bits of the product index the table.
    return static_cast<std::size_t>((static_cast<uint32_t>(number) * 2654435769u) >> shift_);
  }

  // The place holding `number`, or the free place that ends its probe;
  // null while there is no table.
  Place* placeOf(int number) {
    if (table_.empty()) return nullptr;
    const std::size_t mask = table_.size() - 1;
    for (std::size_t i = home(number);; i = (i + 1) & mask) {
      Place& place = table_[i];
      if (place.at == kEmpty || place.number == number) return &place;
    }
  }

  int32_t positionOf(int number) const {
    const Place* place = const_cast<FieldSlots*>(this)->placeOf(number);
    return place == nullptr ? kEmpty : place->at;
  }

  // Doubles the table (at least 16 places) and places every slot and note
  // again; the table stays at most half full, so every probe ends at an
  // empty place.
  void grow() { rebuild(table_.empty() ? 16 : table_.size() * 2); }

  // Makes a table of `size` places (a power of two above twice the places
  // taken) and places every slot and note again.
  void rebuild(std::size_t size) {
    std::vector<Place> old(size, Place{0, kEmpty});
    old.swap(table_);
    unsigned bits = 0;
    while ((std::size_t{1} << bits) < size) ++bits;
    shift_ = 32 - bits;
    for (const Place& place : old) {
      if (place.at != kEmpty) *placeOf(place.number) = place;
    }
  }

  std::vector<std::pair<int, Slot>> slots_;
  std::vector<Place> table_;
  std::size_t notes_ = 0;  // numbers noted without a slot
  unsigned shift_ = 32;
};

}  // namespace DataMgmt

#endif  // PA_HOST_FIELD_SLOTS_H_
