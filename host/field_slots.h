#ifndef PA_HOST_FIELD_SLOTS_H_
#define PA_HOST_FIELD_SLOTS_H_

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "host/field_number_table.h"

namespace DataMgmt {

// A form copy's stored fields by field number. Reads far outnumber writes
// in a calculation, so a lookup is one probe of a FieldNumberTable of
// numbers and positions, kept at most half full. Slots live in one vector: a slot reference is good
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
    if ((used() + 1) * 2 > table_.places()) table_.grow();
    *table_.placeOf(number) = Place{number, kNoted};
    ++notes_;
  }

  // The slot of `number`, made empty when missing; second is true when made.
  std::pair<Slot*, bool> tryEmplace(int number) {
    Place* place = table_.placeOf(number);
    if (place != nullptr && place->at >= 0) return {&slots_[static_cast<std::size_t>(place->at)].second, false};
    if (place != nullptr && place->at == kNoted) {
      --notes_;  // the note's place takes the slot
    } else {
      if ((used() + 1) * 2 > table_.places()) table_.grow();
      place = table_.placeOf(number);
      place->number = number;
    }
    slots_.emplace_back(number, Slot());
    place->at = static_cast<int32_t>(slots_.size() - 1);
    return {&slots_.back().second, true};
  }

  // Makes room for `count` slots in all, so that making them moves nothing.
  void reserve(std::size_t count) {
    slots_.reserve(count);
    const std::size_t size = table_.placesFor(count + notes_, 1, 2);
    if (size != table_.places()) table_.rebuild(size);
  }

  // Every stored slot as (number, slot), in the order they were made.
  const std::vector<std::pair<int, Slot>>& all() const { return slots_; }
  std::size_t size() const { return slots_.size(); }
  std::size_t capacity() const { return slots_.capacity(); }  // slots made without moving any

 private:
  typedef FieldNumberTable::Place Place;
  static constexpr int32_t kEmpty = FieldNumberTable::kEmpty;
  static constexpr int32_t kNoted = -2;  // a number noted without a slot

  std::size_t used() const { return slots_.size() + notes_; }  // places taken

  // The position of `number`'s slot in slots_, kNoted or kEmpty.
  int32_t positionOf(int number) const { return table_.at(number); }

  std::vector<std::pair<int, Slot>> slots_;
  FieldNumberTable table_;
  std::size_t notes_ = 0;  // numbers noted without a slot
};

}  // namespace DataMgmt

#endif  // PA_HOST_FIELD_SLOTS_H_
