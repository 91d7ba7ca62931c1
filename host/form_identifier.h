// Primitives::OVImmutableFormIdentifier: a host form identifier.
//
// A host form number and a side flag: true for a form of the state return,
// false for a form of the federal return. The same number may name one
// form on each side, so equality compares both. Number 0 means no form (or
// the whole return where an operation says so).
#ifndef HOST_FORM_IDENTIFIER_H_
#define HOST_FORM_IDENTIFIER_H_

#include "host/host_api.h"

namespace Primitives {

class HOST_API OVImmutableFormIdentifier {
 public:
  OVImmutableFormIdentifier() : number_(0), state_(false) {}
  OVImmutableFormIdentifier(int number, bool isState) : number_(number), state_(isState) {}
  // A number alone names a form of the federal return.
  explicit OVImmutableFormIdentifier(int number) : number_(number), state_(false) {}
  OVImmutableFormIdentifier(const OVImmutableFormIdentifier&) = default;
  virtual ~OVImmutableFormIdentifier();

  OVImmutableFormIdentifier& operator=(const OVImmutableFormIdentifier&) = default;

  int getNumber() const { return number_; }
  bool isStateForm() const { return state_; }
  bool isValid() const { return number_ > 0; }

 private:
  int number_;
  bool state_;
};

inline bool operator==(const OVImmutableFormIdentifier& a, const OVImmutableFormIdentifier& b) {
  return a.getNumber() == b.getNumber() && a.isStateForm() == b.isStateForm();
}
inline bool operator!=(const OVImmutableFormIdentifier& a, const OVImmutableFormIdentifier& b) {
  return !(a == b);
}
// Orders by number, then federal before state; for map keys.
inline bool operator<(const OVImmutableFormIdentifier& a, const OVImmutableFormIdentifier& b) {
  if (a.getNumber() != b.getNumber()) return a.getNumber() < b.getNumber();
  return a.isStateForm() < b.isStateForm();
}

}  // namespace Primitives

#endif  // HOST_FORM_IDENTIFIER_H_
