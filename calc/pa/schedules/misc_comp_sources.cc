// The source rows of the miscellaneous-compensation worksheet (state form
// 187): before the calculation order runs, every federal Form 1099-MISC,
// Form 1099-R and form-57 amount that reaches the PA return gets one row,
// named by a reference "form/copy" ("57/kind" for form 57). The worksheet
// calculation reads each reference back and fills the rest of its row.
//
// Rows are numbered across all sources by one counter: row n lies in
// worksheet copy (n - 1) / 20 + 1 at row (n - 1) % 20. A row whose source
// changes (a federal copy before it deleted or added) keeps nothing of the
// source it stood for: its columns are emptied, and the worksheet fills
// them afresh for the new one. The entries of a return just loaded (no
// references yet) are taken for the sources the rows come to stand for.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "host/tax_form.h"
#include "host/tax_return.h"
#include "identifiers/form_ids.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

namespace {

const int kRowsPerCopy = PAMiscCompWorksheet::kRowSourceReference.rows();
const int kMaxCopyNumber = 65535;

// One test that makes a Form 1099-MISC copy a candidate: the code field
// holds `code`, and, when `needsPositiveAmount`, the amount it qualifies is
// above 0. Tested in table order; the first that holds is enough.
struct MiscCandidateTest {
  NamedField<Fed1099MiscFieldIds> amount;
  NamedField<Fed1099MiscFieldIds> code;
  const char* codeText;
  bool needsPositiveAmount;
};

const MiscCandidateTest kMiscCandidateTests[] = {
    {Fed1099Misc::kOtherIncome, Fed1099Misc::kOtherIncomeCode, "1", true},
    {Fed1099Misc::kOtherIncome, Fed1099Misc::kOtherIncomeCode, "2", false},
    {Fed1099Misc::kNonemployeeCompensation, Fed1099Misc::kNonemployeeCompensationCode, "1", true},
    {Fed1099Misc::kNonemployeeCompensation, Fed1099Misc::kNonemployeeCompensationCode, "2", false},
};

// The form-57 amount behind each kind: 1 jury duty pay, 2 fiduciary fees.
const NamedField<Fed57FieldIds> kFed57KindAmounts[] = {Fed57::kJuryDutyPay, Fed57::kFiduciaryFees};

const auto& kReferences = PAMiscCompWorksheet::kRowSourceReference;

// A row's source reference as the calculation before left it; rows that
// held none are left out (a return just loaded holds none).
struct HeldReference {
  uint16_t copy;
  int row;
  std::string text;
};

// Empties every worksheet copy's source references, each row once, and
// returns the ones they held.
std::vector<HeldReference> takeReferences(DataMgmt::TaxReturn& pa) {
  std::vector<HeldReference> held;
  for (DataMgmt::TaxFormIter it = pa.getForms(kFormID_PAMiscCompWorksheet); !it.atEOL(); it.next()) {
    const DataMgmt::TaxFormPtr sheet = it.getTaxForm();
    if (sheet.isNull()) continue;
    const uint16_t copy = sheet->getCopyNumber();
    for (int row = 0; row < kRowsPerCopy; ++row) {
      if (sheet->isNull(kReferences.at(row))) continue;
      char text[256];
      pa.formString(text, sizeof text, kFormID_PAMiscCompWorksheet, copy, kReferences.at(row));
      if (text[0] != '\0') held.push_back({copy, row, text});
      sheet->setNull(kReferences.at(row));
    }
  }
  return held;
}

bool textIs(const DataMgmt::TaxReturn& federal, const DataMgmt::FormId& form, uint16_t copy,
            const DataMgmt::FieldId& field, const char* expected) {
  char text[256];
  federal.formString(text, sizeof text, form, copy, field);
  return std::strcmp(text, expected) == 0;
}

bool isMiscCandidate(const DataMgmt::TaxReturn& federal, uint16_t copy) {
  for (const MiscCandidateTest& test : kMiscCandidateTests) {
    if (test.needsPositiveAmount && federal.getIN(kFormID_Fed1099Misc, copy, test.amount) <= 0) continue;
    if (textIs(federal, kFormID_Fed1099Misc, copy, test.code, test.codeText)) return true;
  }
  return false;
}

// A spouse's copy counts only on a joint return.
bool ownerAllowed(const DataMgmt::TaxReturn& federal, const DataMgmt::FormId& form, uint16_t copy,
                  const DataMgmt::FieldId& spouseMark, bool joint) {
  return joint || !federal.formYes(form, copy, spouseMark);
}

}  // namespace

void PATaxReturnCalcEngine::rebuildMiscCompSourceRows() {
  if (paReturn == nullptr) return;
  const std::vector<HeldReference> held = takeReferences(*paReturn);
  int row = 0;
  addMiscCompSourceRows(kFormID_Fed1099Misc, &row, 0);
  addMiscCompSourceRows(kFormID_Fed1099R, &row, 0);
  addMiscCompSourceRows(kFormID_Fed57, &row, 1);
  addMiscCompSourceRows(kFormID_Fed57, &row, 2);

  // A row's eight columns stand together in the form's field order. A row
  // that stood for no source (a return just loaded) keeps its entries for
  // the source it now stands for.
  for (const HeldReference& before : held) {
    char now[256];
    paReturn->formString(now, sizeof now, kFormID_PAMiscCompWorksheet, before.copy, kReferences.at(before.row));
    if (before.text == now) continue;
    clearFormFields(kFormID_PAMiscCompWorksheet, before.copy, PAMiscCompWorksheet::kRowOwner.at(before.row),
                    PAMiscCompWorksheet::kRowPAWithholding.at(before.row));
  }
}

void PATaxReturnCalcEngine::addMiscCompSourceRows(DataMgmt::FormId sourceForm, int* rowCounter, int kind) {
  DataMgmt::USTaxReturn* federal = getFederalReturn();
  if (rowCounter == nullptr || paReturn == nullptr || federal == nullptr) return;
  const bool joint = paReturn->readFilingStatus(kFormID_PAReturnInfo) == PADataMgmt::kFilingJoint;
  const bool isFed57 = sourceForm == kFormID_Fed57;
  if (isFed57 && kind != 1 && kind != 2) return;

  for (DataMgmt::TaxFormIter it = federal->getForms(sourceForm); !it.atEOL(); it.next()) {
    if (it.getTaxForm().isNull()) continue;  // the host may hand back an empty copy
    const uint16_t copy = it.getTaxForm()->getCopyNumber();
    bool qualifies = false;
    if (sourceForm == kFormID_Fed1099Misc) {
      qualifies = isMiscCandidate(*federal, copy) &&
                  ownerAllowed(*federal, sourceForm, copy, Fed1099Misc::kSpouseBox, joint);
    } else if (sourceForm == kFormID_Fed1099R) {
      qualifies = ownerAllowed(*federal, sourceForm, copy, Fed1099R::kSpouseBox, joint);
    } else if (isFed57) {
      // Both kinds are read from copy 1, whichever copy is walked.
      qualifies = federal->getIN(kFormID_Fed57, 1, kFed57KindAmounts[kind - 1]) > 0;
    }
    if (!qualifies) continue;

    const int row = ++*rowCounter;
    char reference[32];
    std::snprintf(reference, sizeof reference, "%d/%d", sourceForm.getNumber(), isFed57 ? kind : copy);
    const int worksheetCopy = (row - 1) / kRowsPerCopy + 1;
    if (worksheetCopy <= kMaxCopyNumber) {
      DataMgmt::TaxFormPtr worksheet = paReturn->getFormUVPtr(
          kFormID_PAMiscCompWorksheet, static_cast<uint16_t>(worksheetCopy), true);
      if (!worksheet.isNull()) {
        worksheet->assignText(PAMiscCompWorksheet::kRowSourceReference.at((row - 1) % kRowsPerCopy),
                              reference);
      }
    }
    // Form 57 is read at copy 1 whatever the copy walked, so a further
    // copy would only repeat the row and count the amount twice.
    if (isFed57) break;
  }
}

}  // namespace PACalculationMgmt
