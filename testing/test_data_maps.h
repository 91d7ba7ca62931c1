// Building the name maps of the engine's test-data readers from a return's
// descriptors, reading a copy number from test data, and the one rule of
// what a field takes from a text.
#ifndef TESTING_TEST_DATA_MAPS_H_
#define TESTING_TEST_DATA_MAPS_H_

#include <cstdint>
#include <string>

#include "calc/state/test_data_types.h"
#include "host/descriptors.h"
#include "host/tax_return.h"
#include "testing/test_data_format.h"

namespace TestDataMaps {

// Adds every form of the return's description, by upper-cased developer
// name, in host order (the first form of a name stays).
void addAllForms(const DataMgmt::TaxReturn& taxReturn, StateCalculationMgmt::FormNameMap& formNames);
// Adds every field of the return's descriptor of `form` by symbolic name
// (the first field of a name stays); nothing for a form without one.
void addFormFields(const DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& form,
                   StateCalculationMgmt::FieldNameMap& fieldNames);
// Whether `field` is a field of `form` whose symbolic name is `name`: a
// name found in a map filled from several forms may belong to another one.
bool isFieldOfForm(const DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& form,
                   const DataMgmt::FieldId& field, const std::string& name);
// Reads the copy number `text` of `form` by the one rule of the test-data
// readers (TestDataFormat::readCopyNumber, against the form's copy limit):
// kStored with `copy` set, or why it names no copy (`copy` then 0).
TestDataFormat::LineProblem readCopy(const DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& form,
                                     const std::string& text, uint16_t* copy);

// The descriptor of `field` of `form` in the return; empty for none.
DataMgmt::FormFieldDescPtr fieldDescOf(const DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& form,
                                       const DataMgmt::FieldId& field);
// The traits of `field` of `form` in the return (whether the form has it,
// its kind and edit code), as its descriptor tells them, without making
// the descriptor; unknown for none.
DataMgmt::FieldTraits traitsOf(const DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& form,
                               const DataMgmt::FieldId& field);
// A field of the form that holds a number: neither a box nor a text.
bool isNumberField(const DataMgmt::FieldTraits& traits);
// Whether assignFieldFromText stores `value` in the field (kStored) or
// refuses it: a number field takes only what TestDataFormat::readAmount
// reads; a box, a text and a field the form lacks take any value.
TestDataFormat::LineProblem valueProblem(const DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& form,
                                         const DataMgmt::FieldId& field, const std::string& value);
// "DEVNAME:copy:symbolic name" of a field, for the hooks' report.
std::string fieldLabel(const DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& form, uint16_t copy,
                       const DataMgmt::FieldId& field);

}  // namespace TestDataMaps

#endif  // TESTING_TEST_DATA_MAPS_H_
