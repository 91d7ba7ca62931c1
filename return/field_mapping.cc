// Where a field of the federal return lives in the PA return: the mapping
// the state layer's auditor and data-file writer ask for.
#include <cstddef>

#include "catalogs/any_named_field.h"
#include "catalogs/fields/fields.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "return/pa_tax_return.h"

namespace PADataMgmt {

namespace {

typedef Primitives::OVImmutableFormIdentifier FormId;

struct MappingRow {
  AnyNamedField federal;
  AnyNamedField state;
};

const MappingRow kFilerInfoRows[] = {
    {FedFilerInfo::kFirstMappedItem, PAReturnInfo::kMappedFilerItemOne},
    {FedFilerInfo::kSecondMappedItem, PAReturnInfo::kMappedFilerItemTwo},
    {FedFilerInfo::kThirdMappedItem, PAReturnInfo::kMappedFilerItemThree},
    {FedFilerInfo::kDirectDepositBox, PAReturnInfo::kDirectDepositYesBox},
    {FedFilerInfo::kMappedCodeItem, PAReturnInfo::kFilingChoiceFirstBox},
    {FedFilerInfo::kTaxpayerPin, PAReturnInfo::kTaxpayerPin},
    {FedFilerInfo::kRoutingNumber, PAReturnInfo::kDepositRoutingNumber},
    {FedFilerInfo::kAccountNumber, PAReturnInfo::kDepositAccountNumber},
    {FedFilerInfo::kCheckingAccountBox, PAReturnInfo::kDepositCheckingBox},
    {FedFilerInfo::kSavingsAccountBox, PAReturnInfo::kDepositSavingsBox},
};

// Federal forms 43 and 155 are named by the Alt catalog.
const MappingRow kDirectDepositRows[] = {
    {PADirectDepositDebitAlt::kFederalBankItemOne, PADirectDepositDebit::kBankItemOne},
    {PADirectDepositDebitAlt::kFederalBankItemTwo, PADirectDepositDebit::kBankItemTwo},
};

const MappingRow kFed183Rows[] = {
    {Fed183::kDepositAnswerBox, PAReturnInfo::kDepositUseFederalBankBox},
    {Fed183::kOtherAccountBox, PAReturnInfo::kDebitUseFederalBankBox},
    {Fed183::kDirectDebitBox, PAReturnInfo::kDebitPaymentBox},
    {Fed183::kPayByVoucherBox, PAReturnInfo::kVoucherPaymentBox},
    {Fed183::kDebitRoutingNumber, PAReturnInfo::kDebitRoutingNumber},
    {Fed183::kDebitAccountNumber, PAReturnInfo::kDebitAccountNumber},
    {Fed183::kDebitCheckingBox, PAReturnInfo::kDebitCheckingBox},
    {Fed183::kDebitSavingsBox, PAReturnInfo::kDebitSavingsBox},
    {Fed183::kDebitAmount, PAReturnInfo::kDebitAmount},
    {Fed183::kDebitDate, PAReturnInfo::kDebitDate},
    {Fed183::kFirstMappedAnswer, PAReturnInfo::kMappedEFileItemE},
    {Fed183::kSecondMappedAnswer, PAReturnInfo::kMappedEFileItemA},
    {Fed183::kThirdMappedAnswer, PAReturnInfo::kMappedEFileItemB},
    {Fed183::kFourthMappedAnswer, PAReturnInfo::kMappedEFileItemC},
    {Fed183::kFifthMappedAnswer, PAReturnInfo::kMappedEFileItemD},
    {Fed183::kSixthMappedAnswer, PAReturnInfo::kTransferItemOne},
    {Fed183::kSeventhMappedAnswer, PAReturnInfo::kTransferItemTwo},
    {Fed183::kEighthMappedAnswer, PAReturnInfo::kTransferItemThree},
};

// The federal form's other fields have no counterpart.
const MappingRow kFed133618Rows[] = {
    {Fed133618::kResidency, StateSummary::kResidencyText},
    {Fed133618::kStateIncome, StateSummary::kNonresidentIncome},
    {Fed133618::kNetIncome, StateSummary::kNonresidentNetTax},
};

// Asking for this field also marks the answered box on the information form.
const MappingRow kFed131Rows[] = {
    {Fed131::kStateReturnChoice, PAReturnInfo::kFederalAnsweredBox},
};

struct MappingBranch {
  const FormId* federalForm;
  const FormId* alsoFederalForm;  // null when the branch serves one form
  const FormId* stateForm;        // the answer for the form as a whole
  const MappingRow* rows;
  std::size_t rowCount;
  bool marksStateField;  // a matched row also marks its state field
};

template <std::size_t N>
constexpr std::size_t countOf(const MappingRow (&)[N]) {
  return N;
}

// Tested in order; the first branch whose form matches decides.
const MappingBranch kBranches[] = {
    {&kFormID_FedFilerInfo, nullptr, &kFormID_PAReturnInfo, kFilerInfoRows,
     countOf(kFilerInfoRows), false},
    {&kFormID_Fed43, &kFormID_Fed155, &kFormID_PADirectDepositDebit, kDirectDepositRows,
     countOf(kDirectDepositRows), false},
    {&kFormID_Fed136, nullptr, &kFormID_PAEstimatedVouchers, nullptr, 0, false},
    {&kFormID_Fed183, nullptr, &kFormID_PAReturnInfo, kFed183Rows, countOf(kFed183Rows), false},
    {&kFormID_Fed133618, nullptr, &kFormID_StateSummary, kFed133618Rows, countOf(kFed133618Rows),
     false},
    {&kFormID_Fed131, nullptr, &kFormID_PAReturnInfo, kFed131Rows, countOf(kFed131Rows), true},
};

const MappingBranch* findBranch(const FormId& form) {
  for (const MappingBranch& branch : kBranches) {
    if (form == *branch.federalForm) return &branch;
    if (branch.alsoFederalForm != nullptr && form == *branch.alsoFederalForm) return &branch;
  }
  return nullptr;
}

}  // namespace

void PATaxReturn::MapFormField(const FormId& form, uint16_t copy, FieldId field,
                               uint16_t& outCopy, FieldId& outField) const {
  StateDataMgmt::StateTaxReturn::MapFormField(form, copy, field, outCopy, outField);
}

void PATaxReturn::mapStateField(const FormId& form, const FieldId& field, FormId& outForm,
                                FieldId& outField) {
  // The empty answers are set first, so a caller that passes one object as
  // `field` and `outField` always asks about the whole form.
  outField = FieldId(0);
  outForm = FormId(0);

  const MappingBranch* branch = findBranch(form);
  if (branch == nullptr) {
    debugStateField(form, field, StateDataMgmt::kFormNotMapped, __LINE__);
    return;
  }
  if (field.getNumber() <= 0) {
    outForm = *branch->stateForm;
    return;
  }
  for (std::size_t i = 0; i < branch->rowCount; ++i) {
    const MappingRow& row = branch->rows[i];
    if (field != row.federal.id()) continue;
    if (branch->marksStateField) {
      // Only an existing copy 1 is marked; the mapping never creates one.
      DataMgmt::TaxFormPtr info = getFormUVPtr(kFormID_PAReturnInfo, 1, false);
      if (!info.isNull()) info->setX(row.state);
    }
    outField = row.state;
    return;
  }
  debugStateField(form, field, StateDataMgmt::kFieldNotMapped, __LINE__);
}

}  // namespace PADataMgmt
