// Several fields of one form copy in one line: texts written as a user
// enters them, amounts expected, fields expected null. A failure names the
// host field number.
#ifndef CALC_PA_SCHEDULES_TESTS_FORM_FIELDS_H_
#define CALC_PA_SCHEDULES_TESTS_FORM_FIELDS_H_

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "host/field_value.h"
#include "host/identifier.h"
#include "host/tax_form.h"

inline void enterTexts(DataMgmt::TaxForm& form,
                       std::initializer_list<std::pair<Primitives::OVImmutableIdentifier, const char*>> texts) {
  for (const auto& t : texts) form.store(t.first, DataMgmt::FieldValue::ofText(t.second));
}

inline void expectAmounts(const DataMgmt::TaxForm& form,
                          std::initializer_list<std::pair<Primitives::OVImmutableIdentifier, double>> expected) {
  for (const auto& e : expected) EXPECT_DOUBLE_EQ(e.second, form.getIR(e.first)) << "field " << e.first.getNumber();
}

inline void expectNull(const DataMgmt::TaxForm& form, std::initializer_list<Primitives::OVImmutableIdentifier> fields) {
  for (const auto& f : fields) EXPECT_TRUE(form.isNull(f)) << "field " << f.getNumber();
}

#endif  // CALC_PA_SCHEDULES_TESTS_FORM_FIELDS_H_
