// Primitives::OVImmutableIdentifier: a host field identifier.
//
// Wraps the host field number of one field. A number of 0 or less names no
// field; host operations read such an identifier as missing (0, "" or
// false) and ignore writes to it. The number means something only together
// with a form.
#ifndef HOST_IDENTIFIER_H_
#define HOST_IDENTIFIER_H_

#include <ostream>

#include "host/host_api.h"

namespace Primitives {

class HOST_API OVImmutableIdentifier {
 public:
  OVImmutableIdentifier() : number_(0) {}
  OVImmutableIdentifier(int number) : number_(number) {}  // NOLINT: implicit by design
  OVImmutableIdentifier(const OVImmutableIdentifier&) = default;
  virtual ~OVImmutableIdentifier();

  OVImmutableIdentifier& operator=(const OVImmutableIdentifier&) = default;
  OVImmutableIdentifier& operator=(int number) {
    number_ = number;
    return *this;
  }

  bool operator==(const OVImmutableIdentifier& o) const { return number_ == o.number_; }
  bool operator!=(const OVImmutableIdentifier& o) const { return number_ != o.number_; }
  bool operator>(const OVImmutableIdentifier& o) const { return number_ > o.number_; }
  bool operator<(const OVImmutableIdentifier& o) const { return number_ < o.number_; }

  // True when the identifier names a field (number > 0).
  bool isValid() const { return number_ > 0; }
  int getNumber() const { return number_; }

 private:
  int number_;
};

// Writes the field number in decimal.
HOST_API std::ostream& operator<<(std::ostream& out, const OVImmutableIdentifier& id);

// The identifier that names no field (number 0). It also ends the lists of
// identifier pointers that variadic host primitives take.
HOST_API extern const OVImmutableIdentifier kNullFieldID;

}  // namespace Primitives

#endif  // HOST_IDENTIFIER_H_
