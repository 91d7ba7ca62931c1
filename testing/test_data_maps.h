// Building the name maps of the engine's test-data readers from a return's
// descriptors, and reading a copy number from test data.
#ifndef TESTING_TEST_DATA_MAPS_H_
#define TESTING_TEST_DATA_MAPS_H_

#include <cstdint>
#include <string>

#include "calc/state/test_data_types.h"
#include "host/tax_return.h"

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
// The copy number of a decimal text (leading blanks and a sign allowed,
// text after the number ignored). Text that is no number, and a number
// outside 0..65535, give 0, which names no copy: a large number never
// wraps round to another copy.
uint16_t copyNumberOf(const std::string& text);

}  // namespace TestDataMaps

#endif  // TESTING_TEST_DATA_MAPS_H_
