// Where a field of the federal return lives in the PA return: the mapping
// the state layer's auditor and data-file writer ask for.
#include <cstddef>

#include "catalogs/catalog_ref.h"
#include "entry/pa_tax_return.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PADataMgmt {

namespace {

typedef Primitives::OVImmutableFormIdentifier FormId;

struct MappingRow {
  FieldRef federal;
  FieldRef state;
};

const MappingRow kFilerInfoRows[] = {
    {{CatalogId::FedFilerInfoFieldIds, 253}, {CatalogId::PAReturnInfoFieldIds, 13}},    // 624 -> 7
    {{CatalogId::FedFilerInfoFieldIds, 254}, {CatalogId::PAReturnInfoFieldIds, 14}},    // 625 -> 8
    {{CatalogId::FedFilerInfoFieldIds, 255}, {CatalogId::PAReturnInfoFieldIds, 15}},    // 626 -> 9
    {{CatalogId::FedFilerInfoFieldIds, 1700}, {CatalogId::PAReturnInfoFieldIds, 177}},  // 536 -> 95
    {{CatalogId::FedFilerInfoFieldIds, 552}, {CatalogId::PAReturnInfoFieldIds, 25}},    // 766 -> 15
    {{CatalogId::FedFilerInfoFieldIds, 563}, {CatalogId::PAReturnInfoFieldIds, 48}},    // 711 -> 119
    {{CatalogId::FedFilerInfoFieldIds, 1703}, {CatalogId::PAReturnInfoFieldIds, 181}},  // 392 -> 99
    {{CatalogId::FedFilerInfoFieldIds, 1704}, {CatalogId::PAReturnInfoFieldIds, 182}},  // 391 -> 100
    {{CatalogId::FedFilerInfoFieldIds, 1705}, {CatalogId::PAReturnInfoFieldIds, 179}},  // 393 -> 97
    {{CatalogId::FedFilerInfoFieldIds, 1706}, {CatalogId::PAReturnInfoFieldIds, 180}},  // 394 -> 98
};

// Federal forms 43 and 155 are named by the Alt catalog.
const MappingRow kDirectDepositRows[] = {
    {{CatalogId::PADirectDepositDebitAltFieldIds, 8}, {CatalogId::PADirectDepositDebitFieldIds, 1}},  // 41 -> 2
    {{CatalogId::PADirectDepositDebitAltFieldIds, 9}, {CatalogId::PADirectDepositDebitFieldIds, 2}},  // 42 -> 3
};

const MappingRow kFed183Rows[] = {
    {{CatalogId::Fed183FieldIds, 8}, {CatalogId::PAReturnInfoFieldIds, 178}},    // 33 -> 96
    {{CatalogId::Fed183FieldIds, 396}, {CatalogId::PAReturnInfoFieldIds, 50}},   // 188831 -> 189150
    {{CatalogId::Fed183FieldIds, 184}, {CatalogId::PAReturnInfoFieldIds, 51}},   // 155 -> 121
    {{CatalogId::Fed183FieldIds, 183}, {CatalogId::PAReturnInfoFieldIds, 52}},   // 154 -> 122
    {{CatalogId::Fed183FieldIds, 189}, {CatalogId::PAReturnInfoFieldIds, 55}},   // 158 -> 125
    {{CatalogId::Fed183FieldIds, 191}, {CatalogId::PAReturnInfoFieldIds, 56}},   // 160 -> 126
    {{CatalogId::Fed183FieldIds, 185}, {CatalogId::PAReturnInfoFieldIds, 53}},   // 156 -> 123
    {{CatalogId::Fed183FieldIds, 186}, {CatalogId::PAReturnInfoFieldIds, 54}},   // 157 -> 124
    {{CatalogId::Fed183FieldIds, 193}, {CatalogId::PAReturnInfoFieldIds, 57}},   // 162 -> 127
    {{CatalogId::Fed183FieldIds, 195}, {CatalogId::PAReturnInfoFieldIds, 58}},   // 164 -> 128
    {{CatalogId::Fed183FieldIds, 9}, {CatalogId::PAReturnInfoFieldIds, 183}},    // 69705 -> 56502
    {{CatalogId::Fed183FieldIds, 348}, {CatalogId::PAReturnInfoFieldIds, 65}},   // 79766 -> 79775
    {{CatalogId::Fed183FieldIds, 349}, {CatalogId::PAReturnInfoFieldIds, 66}},   // 79767 -> 79776
    {{CatalogId::Fed183FieldIds, 350}, {CatalogId::PAReturnInfoFieldIds, 67}},   // 79768 -> 79777
    {{CatalogId::Fed183FieldIds, 351}, {CatalogId::PAReturnInfoFieldIds, 68}},   // 79769 -> 79778
    {{CatalogId::Fed183FieldIds, 367}, {CatalogId::PAReturnInfoFieldIds, 74}},   // 142796 -> 142850
    {{CatalogId::Fed183FieldIds, 368}, {CatalogId::PAReturnInfoFieldIds, 75}},   // 142797 -> 142851
    {{CatalogId::Fed183FieldIds, 369}, {CatalogId::PAReturnInfoFieldIds, 76}},   // 142798 -> 142852
};

// Members 0 to 6 of the federal form have no counterpart.
const MappingRow kFed133618Rows[] = {
    {{CatalogId::Fed133618FieldIds, 7}, {CatalogId::StateSummaryFieldIds, 7}},  // 133652 -> 133645
    {{CatalogId::Fed133618FieldIds, 8}, {CatalogId::StateSummaryFieldIds, 8}},  // 133653 -> 133646
    {{CatalogId::Fed133618FieldIds, 9}, {CatalogId::StateSummaryFieldIds, 9}},  // 133654 -> 133647
};

// Asking for this field also marks the answered box on the information form.
const MappingRow kFed131Rows[] = {
    {{CatalogId::Fed131FieldIds, 105}, {CatalogId::PAReturnInfoFieldIds, 71}},  // 72481 -> 133723
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
    if (field != fieldOf(row.federal)) continue;
    if (branch->marksStateField) {
      // Only an existing copy 1 is marked; the mapping never creates one.
      DataMgmt::TaxFormPtr info = getFormUVPtr(kFormID_PAReturnInfo, 1, false);
      if (!info.isNull()) info->setX(fieldOf(row.state));
    }
    outField = fieldOf(row.state);
    return;
  }
  debugStateField(form, field, StateDataMgmt::kFieldNotMapped, __LINE__);
}

}  // namespace PADataMgmt
