// A PA return over a federal return, built the way the host builds them,
// with helpers to write fixture values on copy 1 of either side.
#ifndef RETURN_TESTS_PA_RETURN_FIXTURE_H_
#define RETURN_TESTS_PA_RETURN_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "catalogs/fields/fields.h"
#include "host/field_value.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/tax_form.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"
#include "return/pa_tax_return.h"

class PAReturnTest : public ::testing::Test {
 protected:
  typedef Primitives::OVImmutableFormIdentifier FormId;
  typedef Primitives::OVImmutableIdentifier FieldId;

  void SetUp() override { freshReturns(); }
  // Every field the module or a fixture wrote belongs to its form.
  void TearDown() override { EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0); }

  // New, empty returns (a table-driven test starts each case with these).
  void freshReturns() {
    TearDown();
    StandIn::resetAll();
    pa.reset();
    federalPtr = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn());
    pa.reset(new PADataMgmt::PATaxReturn(federalPtr, DataMgmt::TaxReturnDesc::pennsylvania(),
                                         Utils::StringPool::shared()));
  }
  // Copy 1 of `form` on the return of its side, created when missing.
  DataMgmt::TaxForm& copyOf(const FormId& form) {
    DataMgmt::TaxReturn& taxReturn = form.isStateForm() ? static_cast<DataMgmt::TaxReturn&>(*pa) : *federalPtr;
    return *taxReturn.getFormOrCreate(form, 1);
  }
  void mark(const FormId& form, const FieldId& field) { copyOf(form).store(field, DataMgmt::FieldValue::mark()); }
  void number(const FormId& form, const FieldId& field, double value) {
    copyOf(form).store(field, DataMgmt::FieldValue::of(value));
  }
  void text(const FormId& form, const FieldId& field, const std::string& value) {
    copyOf(form).store(field, DataMgmt::FieldValue::ofText(value));
  }

  DataMgmt::TaxReturnPtr federalPtr;
  std::unique_ptr<PADataMgmt::PATaxReturn> pa;  // destroyed first
};

#endif  // RETURN_TESTS_PA_RETURN_FIXTURE_H_
