// The mapping of federal fields to the PA return, and its reports of what
// it does not map.
#include <tuple>

#include "entry/tests/pa_return_fixture.h"

namespace {

class FieldMappingTest : public PAReturnTest {
 protected:
  // Asks about (form, field); the answers start non-empty so that every
  // path must overwrite them. Gives the answer's field number.
  int ask(const FormId& form, const FieldId& field) {
    outForm = kFormID_PA40;
    outField = FieldId(999);
    pa->mapStateField(form, field, outForm, outField);
    return outField.getNumber();
  }
  int reports() const { return static_cast<int>(pa->debugStateFieldCalls().size()); }
  int lastReportKind() const { return std::get<2>(pa->debugStateFieldCalls().back()); }

  FormId outForm;
  FieldId outField;
};

TEST_F(FieldMappingTest, FieldsAnswerTheirStateFieldAndWholeFormsTheirStateForm) {
  EXPECT_EQ(ask(kFormID_Fed155, PADirectDepositDebitAlt::kFederalBankItemTwo),
            PADirectDepositDebit::kBankItemTwo.number());
  EXPECT_EQ(outForm, FormId(0));
  EXPECT_EQ(ask(kFormID_Fed133618, Fed133618::kNetIncome), StateSummary::kNonresidentNetTax.number());
  EXPECT_EQ(ask(kFormID_Fed183, Fed183::kEighthMappedAnswer), PAReturnInfo::kTransferItemThree.number());
  const std::pair<const FormId*, const FormId*> forms[] = {
      {&kFormID_FedFilerInfo, &kFormID_PAReturnInfo},   {&kFormID_Fed43, &kFormID_PADirectDepositDebit},
      {&kFormID_Fed155, &kFormID_PADirectDepositDebit}, {&kFormID_Fed136, &kFormID_PAEstimatedVouchers},
      {&kFormID_Fed183, &kFormID_PAReturnInfo},         {&kFormID_Fed133618, &kFormID_StateSummary},
      {&kFormID_Fed131, &kFormID_PAReturnInfo}};
  for (const auto& f : forms) {
    for (int number : {0, -5}) {
      EXPECT_EQ(ask(*f.first, number), 0);
      EXPECT_EQ(outForm, *f.second);
    }
  }
  FieldId same(624);  // one object as both the asked field and the answer: the whole form
  pa->mapStateField(kFormID_FedFilerInfo, same, outForm, same);
  EXPECT_EQ(outForm, kFormID_PAReturnInfo);
  EXPECT_EQ(same.getNumber(), 0);
  EXPECT_EQ(reports(), 0);
}

// Unmapped fields are reported with kind 1 (the filing-status code the
// data-file writer asks about among them), unknown forms with kind 0.
TEST_F(FieldMappingTest, UnmappedFieldsAndFormsAreReported) {
  ask(kFormID_Fed136, PAReturnInfo::kFilingStatusNumber);
  EXPECT_EQ(lastReportKind(), 1);
  EXPECT_EQ(ask(kFormID_Fed133618, FieldId(133651)), 0);  // host field of the last member without counterpart
  EXPECT_EQ(lastReportKind(), 1);
  EXPECT_EQ(ask(kFormID_FedFilerInfo, FedFilerInfo::kFilingStatusCode), 0);
  EXPECT_EQ(std::get<1>(pa->debugStateFieldCalls().back()), FedFilerInfo::kFilingStatusCode.number());
  for (const FormId& form :
       {kFormID_FedW2, FormId(92, true)}) {  // state form 92 is not the filer information
    EXPECT_EQ(ask(form, FedFilerInfo::kFirstMappedItem), 0);
    EXPECT_EQ(lastReportKind(), 0);
    EXPECT_EQ(outForm, FormId(0));
  }
  EXPECT_EQ(reports(), 5);
}

TEST_F(FieldMappingTest, Fed131FieldMarksTheInformationBoxWhenTheCopyExists) {
  EXPECT_EQ(ask(kFormID_Fed131, Fed131::kStateReturnChoice), PAReturnInfo::kFederalAnsweredBox.number());
  EXPECT_FALSE(pa->formExists(kFormID_PAReturnInfo, 1)) << "nothing to mark, nothing created";
  copyOf(kFormID_PAReturnInfo);
  for (int i = 0; i < 2; ++i) {
    ask(kFormID_Fed131, Fed131::kStateReturnChoice);
    EXPECT_TRUE(pa->formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kFederalAnsweredBox));
  }
}

TEST_F(FieldMappingTest, MapFormFieldGivesTheHostsAnswer) {
  uint16_t outCopy = 0;
  outField = FieldId(5);
  pa->MapFormField(kFormID_StateSummary, 3, StateSummary::kResidencyText, outCopy, outField);
  EXPECT_EQ(outCopy, 3);
  EXPECT_EQ(outField, Primitives::kNullFieldID);
  ASSERT_EQ(pa->mapFormFieldCalls().size(), 1u);
  EXPECT_EQ(pa->mapFormFieldCalls()[0], std::make_tuple(32783, 3, StateSummary::kResidencyText.number()));
}

}  // namespace
