#ifndef PA_HOST_FIELD_NUMBER_TABLE_H_
#define PA_HOST_FIELD_NUMBER_TABLE_H_

#include <cstddef>
#include <cstdint>
#include <vector>

namespace DataMgmt {

// The open-addressed table under FieldSlots and FieldPlaces: field numbers
// to small whole numbers (positions, or marks below kEmpty of the owner's
// own), in a power-of-two table of places. A lookup is one multiply
// (Fibonacci hashing) and a short linear probe, with no division and no
// node to chase. The owner decides when the table grows; it must keep it
// at most three quarters full, so that every probe ends at a free place.
// Nothing is ever removed.
class FieldNumberTable {
 public:
  static constexpr int32_t kEmpty = -1;  // a free place

  // A place: a field number and what the owner keeps for it.
  struct Place {
    int number;
    int32_t at;
  };

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

  // What the table keeps for `number`; kEmpty when nothing.
  int32_t at(int number) const {
    const Place* place = const_cast<FieldNumberTable*>(this)->placeOf(number);
    return place == nullptr ? kEmpty : place->at;
  }

  std::size_t places() const { return table_.size(); }

  // The number of places for `taken` places in use at most `numerator` /
  // `denominator` full: the present number (at least 16), doubled as often
  // as needed.
  std::size_t placesFor(std::size_t taken, std::size_t numerator, std::size_t denominator) const {
    std::size_t size = table_.empty() ? 16 : table_.size();
    while (taken * denominator > size * numerator) size *= 2;
    return size;
  }

  // Doubles the table (16 places when there is none).
  void grow() { rebuild(table_.empty() ? 16 : table_.size() * 2); }

  // Makes a table of `size` places (a power of two) and places every
  // taken place again.
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

 private:
  std::size_t home(int number) const {
    return static_cast<std::size_t>((static_cast<uint32_t>(number) * 2654435769u) >> shift_);
  }

  std::vector<Place> table_;
  unsigned shift_ = 32;
};

}  // namespace DataMgmt

#endif  // PA_HOST_FIELD_NUMBER_TABLE_H_
