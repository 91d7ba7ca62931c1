// A federal return, a PA return over it and the PA engine, built the way
// the host builds them, with helpers for the state allocation form (state
// form 18) and the federal figures its calculation reads.
//
// Fields are named by host field number here (byNumber on their catalogs),
// independently of the member positions the module's code uses.
#ifndef CALC_STATE_TESTS_ALLOCATION_FIXTURE_H_
#define CALC_STATE_TESTS_ALLOCATION_FIXTURE_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "entry/pa_tax_return.h"
#include "host/field_value.h"
#include "host/printer.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/tax_form.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"

// One income kind as its table is documented: host field numbers (0 for
// none) and the split rule.
struct IncomeKindExpectation {
  int federal, federal55, federal87, kind1, kind2, amount, taxpayer;
  int rule;
  int spouse;
};

// The 22 income kinds, in table order.
const IncomeKindExpectation kIncomeKindExpectations[] = {
    {80, 0, 0, 37, 38, 29, 30, 1, 31},          {81, 0, 0, 40, 41, 32, 33, 1, 34},
    {82, 0, 0, 43, 44, 35, 36, 2, 37},          {83, 286, 0, 46, 47, 38, 39, 2, 40},
    {85, 0, 0, 49, 50, 41, 42, 2, 43},          {87, 125, 0, 52, 53, 44, 45, 1, 46},
    {89, 127, 0, 55, 56, 47, 48, 1, 49},        {90, 0, 0, 58, 59, 50, 51, 2, 52},
    {91, 0, 0, 61, 62, 53, 54, 2, 55},          {92, 75, 91, 64, 65, 56, 57, 1, 58},
    {94, 129, 0, 67, 68, 59, 60, 1, 61},        {99, 0, 0, 70, 71, 62, 63, 2, 64},
    {650, 332, 0, 116, 117, 108, 109, 1, 110},  {689, 0, 0, 10504, 10505, 10498, 10499, 1, 10500},
    {690, 0, 0, 85, 86, 77, 78, 1, 79},         {414, 0, 0, 88, 89, 80, 81, 1, 82},
    {551, 251, 0, 82, 83, 74, 75, 1, 76},       {318, 0, 0, 91, 92, 83, 84, 1, 85},
    {386, 0, 0, 94, 95, 86, 87, 1, 88},         {381, 0, 0, 103, 104, 95, 96, 1, 97},
    {117, 0, 0, 106, 107, 98, 99, 1, 100},      {334, 0, 0, 109, 110, 101, 102, 1, 103},
};
const int kIncomeKindCount = 22;

class AllocationTest : public ::testing::Test {
 protected:
  typedef Primitives::OVImmutableFormIdentifier FormId;
  typedef Primitives::OVImmutableIdentifier FieldId;
  typedef DataMgmt::FieldValue FieldValue;

  // Residency choices as the information form's boxes give them.
  enum Residency { kFullYear = 1, kPartYear = 2, kNonresident = 3, kField17 = 4 };

  void SetUp() override {
    StandIn::resetAll();
    federalPtr = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn());
    federal = dynamic_cast<DataMgmt::USTaxReturn*>(federalPtr.get());
    pa.reset(new PADataMgmt::PATaxReturn(federalPtr, DataMgmt::TaxReturnDesc::pennsylvania(),
                                         Utils::StringPool::shared()));
    engine.reset(new PACalculationMgmt::PATaxReturnCalcEngine(federal, pa.get(),
                                                              TaxFormPrintMgmt::TaxFormPrinterPtr()));
  }
  void TearDown() override {
    EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0);
    EXPECT_EQ(StandIn::diagnostics().nonFiniteWrites, 0);
    engine.reset();
    pa.reset();
  }

  // Fields by host number.
  static const FieldId& alloc(int hostField) { return kState16To18FieldIds.byNumber(hostField); }
  static const FieldId& info(int hostField) { return kPAReturnInfoFieldIds.byNumber(hostField); }

  // Copy `copy` of the allocation form, created when missing.
  DataMgmt::TaxFormPtr allocPtr(uint16_t copy = 1) { return pa->getFormOrCreate(kFormID_State18, copy); }
  DataMgmt::TaxForm& allocForm(uint16_t copy = 1) { return *allocPtr(copy); }

  double value(int hostField, uint16_t copy = 1) { return allocForm(copy).getIR(alloc(hostField)); }
  bool isNull(int hostField, uint16_t copy = 1) { return allocForm(copy).isNull(alloc(hostField)); }
  bool isProtected(int hostField, uint16_t copy = 1) {
    return allocForm(copy).isProtected(alloc(hostField));
  }
  // A user's entry on the allocation form.
  void enter(int hostField, double amount, uint16_t copy = 1) {
    allocForm(copy).store(alloc(hostField), FieldValue::of(amount));
  }

  // The information form's boxes. Marking one residency box clears the
  // others, as the user's choice would.
  void setResidency(Residency residency) {
    DataMgmt::TaxForm& form = *pa->getFormOrCreate(kFormID_PAReturnInfo, 1);
    const int boxes[] = {46, 48, 47, 17};
    for (int box : boxes) form.store(info(box), FieldValue::null());
    form.store(info(boxes[residency - 1]), FieldValue::mark());
  }
  void setJoint(bool joint) {
    DataMgmt::TaxForm& form = *pa->getFormOrCreate(kFormID_PAReturnInfo, 1);
    form.store(info(joint ? 57 : 55), FieldValue::mark());
    form.store(info(joint ? 55 : 57), FieldValue::null());
  }
  // The federal return form in use: 1, 55 or 87.
  void useFederalForm(int number) {
    DataMgmt::TaxForm& form = *pa->getFormOrCreate(kFormID_PAReturnInfo, 1);
    form.store(info(53), number == 55 ? FieldValue::mark() : FieldValue::null());
    form.store(info(54), number == 87 ? FieldValue::mark() : FieldValue::null());
  }

  // Federal figures.
  void federalNumber(const FormId& form, const FieldId& field, double amount, uint16_t copy = 1) {
    federal->getFormOrCreate(form, copy)->store(field, FieldValue::of(amount));
  }
  // A federal W-2 with box-1 wages in dollars (stored in hundredths), for
  // the taxpayer or the spouse.
  void addW2(uint16_t copy, double dollars, bool spouse) {
    DataMgmt::TaxForm& w2 = *federal->getFormOrCreate(kFormID_FedW2, copy);
    w2.store(kFedW2FieldIds.byNumber(spouse ? 2 : 1), FieldValue::mark());
    w2.store(kFedW2FieldIds.byNumber(21), FieldValue::of(dollars * 100));
  }

  DataMgmt::TaxReturnPtr federalPtr;
  DataMgmt::USTaxReturn* federal = nullptr;  // the object federalPtr holds
  std::unique_ptr<PADataMgmt::PATaxReturn> pa;
  std::unique_ptr<PACalculationMgmt::PATaxReturnCalcEngine> engine;  // destroyed first
};

#endif  // CALC_STATE_TESTS_ALLOCATION_FIXTURE_H_
