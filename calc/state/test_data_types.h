// Name maps, the relation record and the field-group reference shared by
// the engine's test-data readers.
//
// FormNameMap: upper-cased developer name of a form -> its form id.
// FieldNameMap: a field's symbolic name (case as the descriptor gives it)
// -> its field id. Both keep the first value inserted for a key. Each
// reader builds its own maps for one run.
#ifndef CALC_STATE_TEST_DATA_TYPES_H_
#define CALC_STATE_TEST_DATA_TYPES_H_

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "host/form_identifier.h"
#include "host/identifier.h"

namespace StateCalculationMgmt {

typedef std::map<std::string, Primitives::OVImmutableFormIdentifier> FormNameMap;
typedef std::map<std::string, Primitives::OVImmutableIdentifier> FieldNameMap;

// One FIELD element of a relations file: an input (TYPE "Input" or
// "InputOverride") or an output whose value is the expected one. Missing
// names leave the empty form or field id.
struct FieldRelation {
  FieldRelation(const Primitives::OVImmutableFormIdentifier& form, uint16_t copy,
                const Primitives::OVImmutableIdentifier& field, const std::string& value,
                const std::string& type)
      : form(form), copy(copy), field(field), value(value), type(type) {}

  Primitives::OVImmutableFormIdentifier form;
  uint16_t copy;
  Primitives::OVImmutableIdentifier field;
  std::string value;
  std::string type;
};

// One FIELDREF element of a field-group file, its attributes as written
// (a missing attribute is ""): the form's developer name, the copy ("*"
// for every copy), the field's symbolic name and the new value.
struct FieldGroupRef {
  std::string form;
  std::string copy;
  std::string field;
  std::string value;
};
typedef std::vector<FieldGroupRef> FieldGroupRefList;

}  // namespace StateCalculationMgmt

#endif  // CALC_STATE_TEST_DATA_TYPES_H_
