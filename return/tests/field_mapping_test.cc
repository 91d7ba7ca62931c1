// The mapping of federal fields to the PA return, and its reports of what
// it does not map.
#include <tuple>

#include "return/tests/pa_return_fixture.h"

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
  // A whole-form request (field 0 or below) answers the branch's form.
  for (int number : {0, -5}) {
    EXPECT_EQ(ask(kFormID_FedFilerInfo, number), 0);
    EXPECT_EQ(outForm, kFormID_PAReturnInfo);
  }
  EXPECT_EQ(ask(kFormID_Fed136, 0), 0);
  EXPECT_EQ(outForm, kFormID_PAEstimatedVouchers);
  FieldId same(624);  // one object as both the asked field and the answer: the whole form
  pa->mapStateField(kFormID_FedFilerInfo, same, outForm, same);
  EXPECT_TRUE(outForm == kFormID_PAReturnInfo && same.getNumber() == 0);
  EXPECT_TRUE(pa->debugStateFieldCalls().empty());
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
  for (const FormId& form : {kFormID_FedW2, FormId(92, true)}) {  // state form 92 is not the filer information
    EXPECT_EQ(ask(form, FedFilerInfo::kFirstMappedItem), 0);
    EXPECT_TRUE(lastReportKind() == 0 && outForm == FormId(0));
  }
  EXPECT_EQ(pa->debugStateFieldCalls().size(), 5u);
}

// Federal form 131's choice marks the information box, once the copy
// exists; MapFormField gives the host's answer.
TEST_F(FieldMappingTest, Fed131ChoiceAndMapFormField) {
  EXPECT_EQ(ask(kFormID_Fed131, Fed131::kStateReturnChoice), PAReturnInfo::kFederalAnsweredBox.number());
  EXPECT_FALSE(pa->formExists(kFormID_PAReturnInfo, 1)) << "nothing to mark, nothing created";
  copyOf(kFormID_PAReturnInfo);
  for (int i = 0; i < 2; ++i) {
    ask(kFormID_Fed131, Fed131::kStateReturnChoice);
    EXPECT_TRUE(pa->formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kFederalAnsweredBox));
  }
  uint16_t outCopy = 0;
  outField = FieldId(5);
  pa->MapFormField(kFormID_StateSummary, 3, StateSummary::kResidencyText, outCopy, outField);
  EXPECT_TRUE(outCopy == 3 && outField == Primitives::kNullFieldID);
  ASSERT_EQ(pa->mapFormFieldCalls().size(), 1u);
  EXPECT_EQ(pa->mapFormFieldCalls()[0], std::make_tuple(32783, 3, StateSummary::kResidencyText.number()));
}

}  // namespace
