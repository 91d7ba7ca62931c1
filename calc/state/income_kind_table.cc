// The income-kind table of the federal wage pull.
//
// The rows are kept as data: for each income kind, the member positions of
// its fields in their catalogs (host field numbers in the comments). They
// are resolved into identifiers when the first engine is constructed, once
// the catalogs exist.
#include <cstdint>

#include "calc/state/income_kind_table.h"
#include "calc/state/state_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"

namespace StateCalculationMgmt {
namespace {

const int kNoField = -1;  // the form has no field for the kind

// Member positions: federal in FedReturnFieldIds, federal55 in
// Fed55FieldIds, federal87 in Fed87FieldIds, kind1/kind2 in
// IncomeKindTableFieldIds, amount/taxpayer in State16To18FieldIds.
struct IncomeKindSource {
  int federal, federal55, federal87, kind1, kind2, amount, taxpayer;
  uint8_t rule;
};

// Host fields per row: federal / form 55 / form 87; kind fields; F, T.
const IncomeKindSource kIncomeKinds[] = {
    {594, kNoField, kNoField, 36, 37, 28, 29, kSplitCapped},     // 80; 37, 38; 29, 30
    {595, kNoField, kNoField, 39, 40, 31, 32, kSplitCapped},     // 81; 40, 41; 32, 33
    {596, kNoField, kNoField, 42, 43, 34, 35, kSplitUncapped},   // 82; 43, 44; 35, 36
    {600, 175, kNoField, 45, 46, 37, 38, kSplitUncapped},        // 83 / 286; 46, 47; 38, 39
    {602, kNoField, kNoField, 48, 49, 40, 41, kSplitUncapped},   // 85; 49, 50; 41, 42
    {437, 178, kNoField, 51, 52, 43, 44, kSplitCapped},          // 87 / 125; 52, 53; 44, 45
    {439, 181, kNoField, 54, 55, 46, 47, kSplitCapped},          // 89 / 127; 55, 56; 47, 48
    {605, kNoField, kNoField, 57, 58, 49, 50, kSplitUncapped},   // 90; 58, 59; 50, 51
    {606, kNoField, kNoField, 60, 61, 52, 53, kSplitUncapped},   // 91; 61, 62; 53, 54
    {609, 195, 85, 63, 64, 55, 56, kSplitCapped},                // 92 / 75 / 91; 64, 65; 56, 57
    {455, 198, kNoField, 66, 67, 58, 59, kSplitCapped},          // 94 / 129; 67, 68; 59, 60
    {612, kNoField, kNoField, 69, 70, 61, 62, kSplitUncapped},   // 99; 70, 71; 62, 63
    {614, 200, kNoField, 75, 76, 67, 68, kSplitCapped},          // 650 / 332; 116, 117; 108, 109
    {615, kNoField, kNoField, 78, 79, 70, 71, kSplitCapped},     // 689; 10504, 10505; 10498, 10499
    {616, kNoField, kNoField, 81, 82, 73, 74, kSplitCapped},     // 690; 85, 86; 77, 78
    {618, kNoField, kNoField, 84, 85, 76, 77, kSplitCapped},     // 414; 88, 89; 80, 81
    {642, 216, kNoField, 111, 112, 103, 104, kSplitCapped},      // 551 / 251; 82, 83; 74, 75
    {619, kNoField, kNoField, 87, 88, 79, 80, kSplitCapped},     // 318; 91, 92; 83, 84
    {621, kNoField, kNoField, 96, 97, 88, 89, kSplitCapped},     // 386; 94, 95; 86, 87
    {622, kNoField, kNoField, 99, 100, 91, 92, kSplitCapped},    // 381; 103, 104; 95, 96
    {624, kNoField, kNoField, 102, 103, 94, 95, kSplitCapped},   // 117; 106, 107; 98, 99
    {654, kNoField, kNoField, 120, 121, 112, 113, kSplitCapped}, // 334; 109, 110; 101, 102
};
static_assert(sizeof kIncomeKinds / sizeof kIncomeKinds[0] < kIncomeKindTableSize,
              "the table must end with a default row");

template <class Catalog>
Primitives::OVImmutableIdentifier fieldAt(const Catalog& catalog, int member) {
  return member == kNoField ? Primitives::OVImmutableIdentifier(0) : catalog[member];
}

// The shared rows; default rows until the first engine fills them.
IncomeKindRow gIncomeKindRows[kIncomeKindTableSize];

}  // namespace

const IncomeKindRow* StateTaxReturnCalcEngine::incomeKindTable = nullptr;

void StateTaxReturnCalcEngine::buildIncomeKindTable() {
  if (incomeKindTable != nullptr) return;
  int row = 0;
  for (const IncomeKindSource& kind : kIncomeKinds) {
    gIncomeKindRows[row++] = IncomeKindRow(
        fieldAt(kFedReturnFieldIds, kind.federal), fieldAt(kFed55FieldIds, kind.federal55),
        fieldAt(kFed87FieldIds, kind.federal87), fieldAt(kIncomeKindTableFieldIds, kind.kind1),
        fieldAt(kIncomeKindTableFieldIds, kind.kind2), fieldAt(kState16To18FieldIds, kind.amount),
        fieldAt(kState16To18FieldIds, kind.taxpayer), kind.rule);
  }
  incomeKindTable = gIncomeKindRows;
}

}  // namespace StateCalculationMgmt
