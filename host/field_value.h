// DataMgmt::FieldValue: what the stand-in stores for one field of one copy.
//
// A value is exactly one of null, a number (a double, stored unrounded), a
// text, the mark (a checked box or a "yes") or an explicit No. Four flags
// sit beside it: protected (user entry only), overridden (module writes
// are skipped while set), tentative and no-entry. A field never stored
// reads as a null value with no flags.
#ifndef HOST_FIELD_VALUE_H_
#define HOST_FIELD_VALUE_H_

#include <string>

namespace DataMgmt {

struct FieldValue {
  enum Kind : unsigned char { kNull, kNumber, kText, kMark, kNo };

  // The members run from the widest to the narrowest: a copy holds one
  // value a field, and the fewer bytes each takes, the more of them a
  // calculation finds in its caches.
  double number = 0.0;
  std::string text;
  Kind kind = kNull;
  bool isProtected = false;
  bool overridden = false;
  bool tentative = false;
  bool noEntry = false;

  static FieldValue null() { return FieldValue(); }
  static FieldValue of(double n) {
    FieldValue v;
    v.kind = kNumber;
    v.number = n;
    return v;
  }
  static FieldValue ofText(const std::string& t) {
    FieldValue v;
    v.kind = kText;
    v.text = t;
    return v;
  }
  static FieldValue mark() {
    FieldValue v;
    v.kind = kMark;
    return v;
  }
  static FieldValue no() {
    FieldValue v;
    v.kind = kNo;
    return v;
  }
};

}  // namespace DataMgmt

#endif  // HOST_FIELD_VALUE_H_
