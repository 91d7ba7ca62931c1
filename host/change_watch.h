// DataMgmt::ChangeWatch: which fields of one return a step changed (ours).
//
// From its construction the watch keeps, for each field of the return
// whose value is changed, the value the field held before its first
// change; changes() then gives the fields whose value now differs from
// that one: another kind (null, number, text, mark or No, so that null
// and 0 differ), another number or another text. A field changed and
// changed back changes nothing, so a step that clears fields and fills
// them again, as a calculation does, changes only those it fills with
// something else. Flags (protection, calculated mark, print flag) are no
// values. A copy made has null fields; every copy dropped counts as its
// fields becoming null.
//
// The watch borrows the return, which must outlive it. Watches of one
// return nest: each sees the changes made while it lives.
#ifndef HOST_CHANGE_WATCH_H_
#define HOST_CHANGE_WATCH_H_

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

#include "host/field_value.h"
#include "host/form_identifier.h"
#include "host/host_api.h"
#include "host/identifier.h"

namespace DataMgmt {

class TaxReturn;

class HOST_API ChangeWatch {
 public:
  explicit ChangeWatch(TaxReturn& watched);
  ~ChangeWatch();
  ChangeWatch(const ChangeWatch&) = delete;
  ChangeWatch& operator=(const ChangeWatch&) = delete;

  // A field that holds another value than when the watch began.
  struct Change {
    Primitives::OVImmutableFormIdentifier form;
    uint16_t copy;
    Primitives::OVImmutableIdentifier field;
  };
  // The fields changed so far, by form, copy and field number.
  std::vector<Change> changes() const;

  // Told by the return's copies before a field's value changes: `before`
  // is the value it holds until then.
  void noteBefore(const Primitives::OVImmutableFormIdentifier& form, uint16_t copy, int field,
                  const FieldValue& before);

 private:
  struct Key {
    long form;  // formKey
    uint16_t copy;
    int field;
    bool operator==(const Key& other) const {
      return form == other.form && copy == other.copy && field == other.field;
    }
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const {
      return std::hash<long>()((k.form << 32) ^ (static_cast<long>(k.copy) << 20) ^ k.field);
    }
  };

  TaxReturn& watched_;
  ChangeWatch* outer_;  // the watch of the same return begun before this one
  std::unordered_map<Key, FieldValue, KeyHash> before_;
};

}  // namespace DataMgmt

#endif  // HOST_CHANGE_WATCH_H_
