#ifndef PA_HOST_FIELD_PLACES_H_
#define PA_HOST_FIELD_PLACES_H_

#include <cstddef>
#include <cstdint>

#include "host/field_number_table.h"

namespace DataMgmt {

// The places 0, 1, 2, ... that field numbers take in a list, in the order
// they were added: a form's fields by number, for its field list. Like
// FieldSlots, a lookup is one probe of a FieldNumberTable; unlike it,
// there are no values beside the places, so a list of hundreds of fields
// costs one small table. The table is at most three quarters full;
// nothing is removed.
class FieldPlaces {
 public:
  // The place of `number`; -1 when it has none.
  int find(int number) const { return table_.at(number); }

  // Gives `number` the next place; false, changing nothing, when it has one.
  bool add(int number) {
    if ((count_ + 1) * 4 > table_.places() * 3) table_.grow();
    FieldNumberTable::Place* place = table_.placeOf(number);
    if (place->at != FieldNumberTable::kEmpty) return false;
    *place = FieldNumberTable::Place{number, static_cast<int32_t>(count_++)};
    return true;
  }

  // Makes room for `count` places in all, so that adding them moves nothing.
  void reserve(std::size_t count) {
    const std::size_t size = table_.placesFor(count, 3, 4);
    if (size != table_.places()) table_.rebuild(size);
  }

  std::size_t size() const { return count_; }

 private:
  FieldNumberTable table_;
  std::size_t count_ = 0;
};

}  // namespace DataMgmt

#endif  // PA_HOST_FIELD_PLACES_H_
