// The mapping of federal fields to the PA return, and its reports of what
// it does not map.
#include <tuple>
#include <vector>

#include "entry/tests/pa_return_fixture.h"

namespace {

struct Row {
  const Primitives::OVImmutableFormIdentifier* form;
  int federalField;
  int stateField;
};

// Every mapped field, by host field number.
const Row kRows[] = {
    {&kFormID_FedFilerInfo, 624, 7},       {&kFormID_FedFilerInfo, 625, 8},
    {&kFormID_FedFilerInfo, 626, 9},       {&kFormID_FedFilerInfo, 536, 95},
    {&kFormID_FedFilerInfo, 766, 15},      {&kFormID_FedFilerInfo, 711, 119},
    {&kFormID_FedFilerInfo, 392, 99},      {&kFormID_FedFilerInfo, 391, 100},
    {&kFormID_FedFilerInfo, 393, 97},      {&kFormID_FedFilerInfo, 394, 98},
    {&kFormID_Fed43, 41, 2},               {&kFormID_Fed43, 42, 3},
    {&kFormID_Fed155, 41, 2},              {&kFormID_Fed155, 42, 3},
    {&kFormID_Fed183, 33, 96},             {&kFormID_Fed183, 188831, 189150},
    {&kFormID_Fed183, 155, 121},           {&kFormID_Fed183, 154, 122},
    {&kFormID_Fed183, 158, 125},           {&kFormID_Fed183, 160, 126},
    {&kFormID_Fed183, 156, 123},           {&kFormID_Fed183, 157, 124},
    {&kFormID_Fed183, 162, 127},           {&kFormID_Fed183, 164, 128},
    {&kFormID_Fed183, 69705, 56502},       {&kFormID_Fed183, 79766, 79775},
    {&kFormID_Fed183, 79767, 79776},       {&kFormID_Fed183, 79768, 79777},
    {&kFormID_Fed183, 79769, 79778},       {&kFormID_Fed183, 142796, 142850},
    {&kFormID_Fed183, 142797, 142851},     {&kFormID_Fed183, 142798, 142852},
    {&kFormID_Fed133618, 133652, 133645},  {&kFormID_Fed133618, 133653, 133646},
    {&kFormID_Fed133618, 133654, 133647},  {&kFormID_Fed131, 72481, 133723},
};

class FieldMappingTest : public PAReturnTest {
 protected:
  // Asks about (form, field); the answers start non-empty so that every
  // path must overwrite them.
  void ask(const FormId& form, const FieldId& field) {
    outForm = kFormID_PA40;
    outField = FieldId(999);
    pa->mapStateField(form, field, outForm, outField);
  }
  int reports() const { return static_cast<int>(pa->debugStateFieldCalls().size()); }
  int lastReportKind() const { return std::get<2>(pa->debugStateFieldCalls().back()); }

  FormId outForm;
  FieldId outField;
};

TEST_F(FieldMappingTest, EveryRowAnswersItsFieldAndAnEmptyForm) {
  copyOf(kFormID_PAReturnInfo);
  for (const Row& row : kRows) {
    ask(*row.form, row.federalField);
    EXPECT_EQ(outField.getNumber(), row.stateField) << row.federalField;
    EXPECT_EQ(outForm, FormId(0));
  }
  EXPECT_EQ(reports(), 0);
}

TEST_F(FieldMappingTest, WholeFormRequests) {
  const std::pair<const FormId*, const FormId*> forms[] = {
      {&kFormID_FedFilerInfo, &kFormID_PAReturnInfo},
      {&kFormID_Fed43, &kFormID_PADirectDepositDebit},
      {&kFormID_Fed155, &kFormID_PADirectDepositDebit},
      {&kFormID_Fed136, &kFormID_PAEstimatedVouchers},
      {&kFormID_Fed183, &kFormID_PAReturnInfo},
      {&kFormID_Fed133618, &kFormID_StateSummary},
      {&kFormID_Fed131, &kFormID_PAReturnInfo}};
  for (const auto& f : forms) {
    for (int number : {0, -5}) {
      ask(*f.first, number);
      EXPECT_EQ(outForm, *f.second);
      EXPECT_EQ(outField.getNumber(), 0);
    }
  }
  // One object as both the asked field and the answer.
  FieldId same(624);
  pa->mapStateField(kFormID_FedFilerInfo, same, outForm, same);
  EXPECT_EQ(outForm, kFormID_PAReturnInfo);
  EXPECT_EQ(same.getNumber(), 0);
  EXPECT_EQ(reports(), 0);
}

TEST_F(FieldMappingTest, UnmappedFieldsAndFormsAreReported) {
  ask(kFormID_Fed136, kPAReturnInfoFieldIds[1]);
  EXPECT_EQ(lastReportKind(), 1);
  for (int member = 0; member <= 6; ++member) {
    ask(kFormID_Fed133618, kFed133618FieldIds[member]);
    EXPECT_EQ(lastReportKind(), 1);
    EXPECT_EQ(outField.getNumber(), 0);
  }
  ask(kFormID_FedFilerInfo, kFedFilerInfoFieldIds[462]);  // field 25
  EXPECT_EQ(lastReportKind(), 1);
  const auto& report = pa->debugStateFieldCalls().back();
  EXPECT_EQ(std::get<0>(report), kFormID_FedFilerInfo);
  EXPECT_EQ(std::get<1>(report), 25);

  for (int number : {0, 624}) {
    ask(kFormID_FedW2, number);
    EXPECT_EQ(lastReportKind(), 0);
    EXPECT_EQ(outForm, FormId(0));
    EXPECT_EQ(outField.getNumber(), 0);
  }
  ask(FormId(92, true), 624);  // the state side's form 92 is not the filer information
  EXPECT_EQ(lastReportKind(), 0);
  EXPECT_EQ(reports(), 12);
}

TEST_F(FieldMappingTest, Fed131FieldMarksTheInformationBoxWhenTheCopyExists) {
  const FieldId& box = kPAReturnInfoFieldIds[71];
  ask(kFormID_Fed131, kFed131FieldIds[105]);
  EXPECT_EQ(outField, box);
  EXPECT_FALSE(pa->formExists(kFormID_PAReturnInfo, 1));  // nothing to mark, nothing created

  copyOf(kFormID_PAReturnInfo);
  for (int i = 0; i < 2; ++i) {
    ask(kFormID_Fed131, kFed131FieldIds[105]);
    EXPECT_EQ(outField, box);
    EXPECT_TRUE(pa->formYes(kFormID_PAReturnInfo, 1, box));
  }
}

TEST_F(FieldMappingTest, MapFormFieldGivesTheHostsAnswer) {
  uint16_t outCopy = 0;
  outField = FieldId(5);
  pa->MapFormField(kFormID_StateSummary, 3, FieldId(133645), outCopy, outField);
  EXPECT_EQ(outCopy, 3);
  EXPECT_EQ(outField, Primitives::kNullFieldID);
  ASSERT_EQ(pa->mapFormFieldCalls().size(), 1u);
  EXPECT_EQ(pa->mapFormFieldCalls()[0], std::make_tuple(32783, 3, 133645));
}

}  // namespace
