// DataMgmt::FormField: a handle on one field of one copy.
//
// All state lives in the copy (a share of which the handle keeps), so a
// holder of the handle may be released freely. The host gives a handle no
// other holder keeps again for another field (TaxForm::getField).
#ifndef HOST_FORM_FIELD_H_
#define HOST_FORM_FIELD_H_

#include <string>

#include "host/host_api.h"
#include "host/identifier.h"
#include "host/pointers.h"

namespace DataMgmt {

class HOST_API FormField {
 public:
  FormField(const TaxFormPtr& copy, const Primitives::OVImmutableIdentifier& field);
  virtual ~FormField();

  // A text's handle in the process-wide string pool (0 for ""), a number's
  // rounded value, 1 for a marked box and 0 otherwise.
  long getValue() const;
  std::string getValueText() const;  // ours
  Primitives::OVImmutableIdentifier getID() const { return field_; }

  void setNoEntry(bool noEntry);
  bool isCalculated() const;  // from the descriptor
  bool isTentative() const;
  void setTentative(bool tentative);  // ours, for tests
  void setOverridden(bool overridden);
  bool isOverridden() const;  // ours
  FormFieldDescPtr getFieldDesc() const;  // ours; empty for a field not in the form

 private:
  friend class TaxForm;
  // Points the handle at another field (of another copy).
  void aim(const TaxFormPtr& copy, const Primitives::OVImmutableIdentifier& field) {
    copy_ = copy;
    field_ = field;
  }

  TaxFormPtr copy_;
  Primitives::OVImmutableIdentifier field_;
};

}  // namespace DataMgmt

#endif  // HOST_FORM_FIELD_H_
