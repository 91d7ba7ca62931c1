// A PA return over a federal return, built the way the host builds them,
// with helpers to write fixture values.
#ifndef ENTRY_TESTS_PA_RETURN_FIXTURE_H_
#define ENTRY_TESTS_PA_RETURN_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "catalogs/fields/fields.h"
#include "entry/pa_tax_return.h"
#include "host/field_value.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/tax_form.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"

class PAReturnTest : public ::testing::Test {
 protected:
  typedef Primitives::OVImmutableFormIdentifier FormId;
  typedef Primitives::OVImmutableIdentifier FieldId;

  void SetUp() override { freshReturns(); }
  // Every field the module or a fixture wrote belongs to its form.
  void TearDown() override { EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0); }

  // New, empty returns (a table-driven test starts each case with these).
  void freshReturns() {
    EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0);
    StandIn::resetAll();
    pa.reset();
    federalPtr = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn());
    pa.reset(new PADataMgmt::PATaxReturn(federalPtr, DataMgmt::TaxReturnDesc::pennsylvania(),
                                         Utils::StringPool::shared()));
  }
  // Copy `copy` of `form` on the return of its side, created when missing.
  DataMgmt::TaxForm& copyOf(const FormId& form, uint16_t copy = 1) {
    DataMgmt::TaxReturn& taxReturn =
        form.isStateForm() ? static_cast<DataMgmt::TaxReturn&>(*pa) : *federalPtr;
    return *taxReturn.getFormOrCreate(form, copy);
  }
  void put(const FormId& form, const FieldId& field, const DataMgmt::FieldValue& value, uint16_t copy = 1) {
    copyOf(form, copy).store(field, value);
  }
  void mark(const FormId& form, const FieldId& field) { put(form, field, DataMgmt::FieldValue::mark()); }
  void number(const FormId& form, const FieldId& field, double value, uint16_t copy = 1) {
    put(form, field, DataMgmt::FieldValue::of(value), copy);
  }
  void text(const FormId& form, const FieldId& field, const std::string& value, uint16_t copy = 1) {
    put(form, field, DataMgmt::FieldValue::ofText(value), copy);
  }

  DataMgmt::TaxReturnPtr federalPtr;
  std::unique_ptr<PADataMgmt::PATaxReturn> pa;  // destroyed first
};

#endif  // ENTRY_TESTS_PA_RETURN_FIXTURE_H_
