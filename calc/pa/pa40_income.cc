// The PA-40's other income classes and the tax: net business income (line
// 4), net gain from sales (line 5), rents and royalties (line 6), estate
// and trust income (7), gambling winnings (8), total PA taxable income (9),
// other deductions (10), adjusted PA taxable income (11) and the PA tax
// (12).
#include <algorithm>

#include "calc/pa/box_marks.h"
#include "calc/pa/federal_owner.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "host/form_defaults.h"
#include "host/rounding.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "parameters/tax_parameters.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

using DataMgmt::TaxForm;
using DataMgmt::TaxFormPtr;
using Primitives::OVImmutableIdentifier;

namespace {

// Pull codes of the federal return form in use.
const Utils::PCTypes kPullBusinessTaxpayer = static_cast<Utils::PCTypes>(50);
const Utils::PCTypes kPullBusinessSpouse = static_cast<Utils::PCTypes>(51);
const Utils::PCTypes kPullBusinessOther = static_cast<Utils::PCTypes>(61);

// One income class from the taxpayer's and the spouse's amounts. A joint
// return adds them when they share a sign; when one is a gain and the
// other a loss, the class is the gain alone and the loss is kept apart
// (the box is marked). Any other return takes the taxpayer's amount.
void netJointClass(TaxForm& pa40, bool joint, double taxpayer, double spouse,
                   const OVImmutableIdentifier& classField, const OVImmutableIdentifier& lossKeptApart) {
  const bool mixedSigns = (taxpayer > 0 && spouse < 0) || (taxpayer < 0 && spouse > 0);
  if (!joint) {
    pa40.assignIR(classField, taxpayer);
  } else if (!mixedSigns) {
    pa40.assignIR(classField, taxpayer + spouse);
  } else {
    pa40.assignIR(classField, taxpayer > 0 ? taxpayer : spouse);
  }
  markOrNo(pa40, lossKeptApart, joint && mixedSigns);
}

// "Y" when the class is a loss, else "N".
void writeLossText(TaxForm& pa40, const OVImmutableIdentifier& classField,
                   const OVImmutableIdentifier& text) {
  pa40.assignText(text, pa40.getIR(classField) < 0 ? "Y" : "N");
}

// Opens an entered amount when `open`, else protects and nulls it.
void openOrClose(TaxForm& pa40, const OVImmutableIdentifier& entered, bool open) {
  if (open) {
    pa40.unProtect(entered);
  } else {
    pa40.makeProtectedAndSetNull(entered);
  }
}

// The eight income classes of gross taxable income, in the order they are
// added.
constexpr const NamedField<PA40FieldIds>* kIncomeClasses[] = {
    &PA40::kNetCompensation,  &PA40::kInterestIncome, &PA40::kDividendIncome, &PA40::kEstateTrustIncome,
    &PA40::kGamblingWinnings, &PA40::kBusinessIncome, &PA40::kNetGain,        &PA40::kRentsRoyalties,
};

// Copies of a federal form counted by owner; on a joint return a copy
// without a mark counts for the spouse.
struct OwnerCounts {
  uint16_t taxpayer = 0;
  uint16_t spouse = 0;
};
OwnerCounts countByOwner(CopyScanCache& scans, CopyScan scan, const DataMgmt::TaxReturn& federal,
                         const DataMgmt::FormId& form, const OVImmutableIdentifier& taxpayerBox,
                         const OVImmutableIdentifier& spouseBox, bool joint) {
  const ScanTotals counts = scans.get(scanKey(scan, joint ? 1 : 0), {{&federal, form}}, [&] {
    ScanTotals byOwner{};
    for (int n = 1; n <= federal.getMaxCopies(form); ++n) {
      if (!federal.formExists(form, n)) continue;
      const OwnerMarks marks = readOwnerMarks(federal, form, static_cast<uint16_t>(n), taxpayerBox, spouseBox);
      const FederalOwner owner = federalCopyOwner(marks, joint, FederalOwner::kSpouse);
      if (owner != FederalOwner::kNone) byOwner[owner == FederalOwner::kTaxpayer ? 0 : 1] += 1;
    }
    return byOwner;
  });
  OwnerCounts owners;
  owners.taxpayer = static_cast<uint16_t>(counts[0]);
  owners.spouse = static_cast<uint16_t>(counts[1]);
  return owners;
}

}  // namespace

void PATaxReturnCalcEngine::computePA40BusinessIncome(TaxFormPtr form) {
  TaxForm& pa40 = *form;
  const bool joint = getFilingStatus() == PADataMgmt::kFilingJoint;

  // Schedule C copies marked for inclusion, by owner.
  const ScanTotals scheduleC =
      copyScans.get(scanKey(CopyScan::kScheduleCIncome), {{paReturn, kFormID_PAScheduleC}}, [this] {
        ScanTotals byOwner{};
        const uint16_t lastC = paReturn->getMaxCopies(kFormID_PAScheduleC);
        for (int n = 1; n <= lastC; ++n) {
          if (!paReturn->formExists(kFormID_PAScheduleC, n)) continue;
          if (!paReturn->formYes(kFormID_PAScheduleC, n, PAScheduleC::kAllPABusinessYesBox)) continue;
          const double net = paReturn->getIN(kFormID_PAScheduleC, n, PAScheduleC::kNetProfit);
          if (paReturn->formYes(kFormID_PAScheduleC, n, PAScheduleC::kTaxpayerBox)) {
            byOwner[0] += net;
          } else if (paReturn->formYes(kFormID_PAScheduleC, n, PAScheduleC::kSpouseBox)) {
            byOwner[1] += net;
          }
        }
        return byOwner;
      });
  const double tpScheduleC = scheduleC[0], spScheduleC = scheduleC[1];
  pa40.assignIR(PA40::kTaxpayerScheduleCIncome, tpScheduleC);
  if (joint) {
    pa40.assignIR(PA40::kSpouseScheduleCIncome, spScheduleC);
  } else {
    pa40.setNull(PA40::kSpouseScheduleCIncome);
  }
  markOrNo(pa40, PA40::kScheduleCBox,
           paReturn->getAllCopies(kFormID_PAScheduleC, PAScheduleC::kFederalCopyNumber) > 0);

  // Second amounts: open beside the federal amounts pulled for each person.
  const DataMgmt::FormId federalForm = getFederalReturnFormId();
  const long pulled50 = paReturn->pullCommon(federalForm, 1, kPullBusinessTaxpayer);
  const long pulled51 = paReturn->pullCommon(federalForm, 1, kPullBusinessSpouse);
  pa40.assignIR(PA40::kTaxpayerFederalFarmIncome, pulled50);
  pa40.assignIR(PA40::kSpouseFederalFarmIncome, pulled51);
  openOrClose(pa40, PA40::kTaxpayerFarmIncome, pulled50 != 0);
  if (joint) openOrClose(pa40, PA40::kSpouseFarmIncome, pulled51 != 0);

  // Third amounts: open beside federal forms 51 and 89.
  const OwnerCounts form51 = countByOwner(copyScans, CopyScan::kRK1Owners, *federalReturn, kFormID_Fed51,
                                          Fed51::kTaxpayerBox, Fed51::kSpouseBox, joint);
  const OwnerCounts form89 = countByOwner(copyScans, CopyScan::kNRK1Owners, *federalReturn, kFormID_Fed89,
                                          Fed89::kTaxpayerBox, Fed89::kSpouseBox, joint);
  pa40.assignIR(PA40::kRK1Count, form51.taxpayer + form51.spouse);
  pa40.assignIR(PA40::kNRK1Count, form89.spouse + form89.taxpayer);
  // Each person's K-1s, of a partnership or an S corporation, open that
  // person's own amount.
  openOrClose(pa40, PA40::kTaxpayerRK1BusinessIncome, form51.taxpayer > 0 || form89.taxpayer > 0);
  openOrClose(pa40, PA40::kSpouseRK1BusinessIncome, form51.spouse > 0 || form89.spouse > 0);

  // Fourth amounts: open beside pull code 61 or the allocation form's
  // final income kind; left as they are when both are 0.
  const long pulled61 = paReturn->pullCommon(federalForm, 1, kPullBusinessOther);
  const long allocation = paReturn->getIN(kFormID_State18, 1, State16To18::kFinalKindAmount);
  if (pulled61 != 0 || allocation != 0) {
    pa40.unProtect(PA40::kTaxpayerFederalOtherBusinessIncome);
    openOrClose(pa40, PA40::kSpouseFederalOtherBusinessIncome, joint);
  }
  markOrNo(pa40, PA40::kOtherBusinessSourcesBox,
           form51.taxpayer != 0 || form51.spouse != 0 || form89.taxpayer != 0 || form89.spouse != 0 ||
               pulled61 != 0 || allocation != 0);

  pa40.setValueToSumOf(PA40::kTaxpayerBusinessIncome,
                       {PA40::kTaxpayerScheduleCIncome, PA40::kTaxpayerFarmIncome,
                        PA40::kTaxpayerRK1BusinessIncome, PA40::kTaxpayerFederalOtherBusinessIncome});
  pa40.setValueToSumOf(PA40::kSpouseBusinessIncome,
                       {PA40::kSpouseScheduleCIncome, PA40::kSpouseFarmIncome, PA40::kSpouseRK1BusinessIncome,
                        PA40::kSpouseFederalOtherBusinessIncome});
  netJointClass(pa40, joint, pa40.getIR(PA40::kTaxpayerBusinessIncome),
                pa40.getIR(PA40::kSpouseBusinessIncome), PA40::kBusinessIncome,
                PA40::kBusinessLossKeptApartBox);
  writeLossText(pa40, PA40::kBusinessIncome, PA40::kBusinessLossText);

  if (joint) {
    pa40.setValueToSumOf(PA40::kBusinessSubtotalOne,
                         {PA40::kSpouseScheduleCIncome, PA40::kTaxpayerScheduleCIncome,
                          PA40::kTaxpayerRK1BusinessIncome, PA40::kSpouseRK1BusinessIncome});
    pa40.setValueToSumOf(PA40::kBusinessSubtotalTwo, {PA40::kTaxpayerFederalOtherBusinessIncome,
                                                      PA40::kSpouseFederalOtherBusinessIncome});
  } else {
    pa40.plus2(PA40::kBusinessSubtotalOne, PA40::kTaxpayerRK1BusinessIncome, PA40::kTaxpayerScheduleCIncome);
    pa40.assignIR(PA40::kBusinessSubtotalTwo, pa40.getIR(PA40::kTaxpayerFederalOtherBusinessIncome));
  }
}

void PATaxReturnCalcEngine::computePA40SalesGain(TaxFormPtr form) {
  TaxForm& pa40 = *form;
  const auto& gain = PAScheduleD::kTotalGain;
  const double taxpayer = paReturn->getIN(kFormID_PAScheduleD, 1, gain);
  const double spouse = paReturn->getIN(kFormID_PAScheduleD, 2, gain);
  netJointClass(pa40, getFilingStatus() == PADataMgmt::kFilingJoint, taxpayer, spouse, PA40::kNetGain,
                PA40::kGainLossKeptApartBox);
  writeLossText(pa40, PA40::kNetGain, PA40::kGainLossText);
}

void PATaxReturnCalcEngine::computePA40Rents(TaxFormPtr form) {
  TaxForm& pa40 = *form;
  const bool joint = getFilingStatus() == PADataMgmt::kFilingJoint;

  // With federal form 1 in use, a full-year resident takes every Schedule
  // E copy, a part-year resident or nonresident only the copies selected
  // for PA.
  enum { kNone, kAll, kSelected } which = kNone;
  if (getFederalReturnFormId() == kFormID_FedReturn) {
    if (paReturn->formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kFullYearResidentBox)) {
      which = kAll;
    } else if (paReturn->formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kNonresidentBox) ||
               paReturn->formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kPartYearResidentBox)) {
      which = kSelected;
    }
  }
  // Every existing copy counts, also beyond a gap in the copy numbers.
  const ScanTotals rents =
      copyScans.get(scanKey(CopyScan::kScheduleERents, which), {{paReturn, kFormID_PAScheduleE}}, [&] {
        ScanTotals byOwner{};  // taxpayer, spouse, joint
        const int lastE = which == kNone ? 0 : paReturn->getMaxCopies(kFormID_PAScheduleE);
        for (int n = 1; n <= lastE; ++n) {
          if (!paReturn->formExists(kFormID_PAScheduleE, n)) continue;
          if (which == kSelected && !paReturn->formYes(kFormID_PAScheduleE, n, PAScheduleE::kTaxableForPAYesBox))
            continue;
          const double net = paReturn->getIN(kFormID_PAScheduleE, n, PAScheduleE::kPANetIncome);
          if (paReturn->formYes(kFormID_PAScheduleE, n, PAScheduleE::kTaxpayerOwnerBox)) {
            byOwner[0] += net;
          } else if (paReturn->formYes(kFormID_PAScheduleE, n, PAScheduleE::kSpouseOwnerBox)) {
            byOwner[1] += net;
          } else if (paReturn->formYes(kFormID_PAScheduleE, n, PAScheduleE::kJointOwnerBox)) {
            byOwner[2] += net;
          }
        }
        return byOwner;
      });
  const double tpSum = rents[0], spSum = rents[1], jointSum = rents[2];
  const double tpHalf = Utils::roundR(jointSum * 0.5);
  const double spHalf = jointSum - tpHalf;

  auto copy1 = [this](const OVImmutableIdentifier& field) {
    return static_cast<double>(paReturn->getIN(kFormID_PAScheduleE, 1, field));
  };
  const double tpRK1 =
      copy1(PAScheduleE::kTaxpayerSecondRK1Income) + copy1(PAScheduleE::kTaxpayerFirstRK1Income);
  if (joint) {
    pa40.assignIR(PA40::kTaxpayerRents, tpRK1 + tpSum + tpHalf);
    pa40.assignIR(PA40::kSpouseRents, copy1(PAScheduleE::kSpouseSecondRK1Income) +
                                          copy1(PAScheduleE::kSpouseFirstRK1Income) + spSum + spHalf);
  } else {
    pa40.assignIR(PA40::kTaxpayerRents, tpRK1 + tpSum);
    pa40.setNull(PA40::kSpouseRents);
  }
  pa40.makeProtectedAndSetNull(PA40::kTaxpayerSecondRents);
  pa40.makeProtectedAndSetNull(PA40::kSpouseSecondRents);

  // Third amounts: open beside federal Schedule C copies marked as rental
  // activity, counted over the PA Schedule C copy numbers.
  const ScanTotals rentals = copyScans.get(
      scanKey(CopyScan::kRentalScheduleC),
      {{paReturn, kFormID_PAScheduleC}, {federalReturn, kFormID_FedScheduleC}}, [this] {
        ScanTotals count{};
        const uint16_t lastC = paReturn->getMaxCopies(kFormID_PAScheduleC);
        for (int n = 1; n <= lastC; ++n) {
          if (federalReturn->formExists(kFormID_FedScheduleC, n) &&
              federalReturn->formYes(kFormID_FedScheduleC, n, FedScheduleC::kRentalActivityBox)) {
            count[0] += 1;
          }
        }
        return count;
      });
  const uint16_t marked = static_cast<uint16_t>(rentals[0]);
  pa40.assignIR(PA40::kJointVentureScheduleCCount, marked);
  openOrClose(pa40, PA40::kTaxpayerJointVentureRents, marked > 0);
  openOrClose(pa40, PA40::kSpouseJointVentureRents, marked > 0 && joint);

  pa40.plus3(PA40::kTaxpayerRentsTotal, PA40::kTaxpayerRents, PA40::kTaxpayerSecondRents,
             PA40::kTaxpayerJointVentureRents);
  pa40.plus3(PA40::kSpouseRentsTotal, PA40::kSpouseRents, PA40::kSpouseSecondRents,
             PA40::kSpouseJointVentureRents);
  netJointClass(pa40, joint, pa40.getIR(PA40::kTaxpayerRentsTotal), pa40.getIR(PA40::kSpouseRentsTotal),
                PA40::kRentsRoyalties, PA40::kRentsLossKeptApartBox);
  writeLossText(pa40, PA40::kRentsRoyalties, PA40::kRentsLossText);
}

void PATaxReturnCalcEngine::computePA40TaxableIncome(TaxFormPtr form, uint16_t copy) {
  TaxForm& pa40 = *form;

  // Lines 7 and 8 have no loss oval: an estate or trust passes no loss to
  // its beneficiary, and a schedule total below 0 shows as 0 (Schedule J
  // keeps its own total).
  pa40.assignIR(PA40::kEstateTrustIncome,
                std::max(0L, paReturn->getAllCopies(kFormID_PAScheduleJ, PAScheduleJ::kTotalIncome)));
  markOrNo(pa40, PA40::kNRK1IncomeBox, federalReturn->formExists(kFormID_Fed89, copy));
  pa40.setXNo(PA40::kRK1IncomeBox);
  pa40.assignIR(PA40::kGamblingWinnings,
                std::max(0L, paReturn->getIN(kFormID_PAW2GIncome, 1, PAW2GIncome::kNetWinnings)));

  // The eight classes never offset each other: a class below 0 (only lines
  // 4 to 6 can be) stays on its own line and adds nothing.
  double gross = 0;
  for (const auto* line : kIncomeClasses) {
    if (pa40.getIR(*line) > 0) gross += static_cast<double>(pa40.getIN(*line));
  }
  pa40.assignIR(PA40::kTotalTaxableIncome, gross);

  // Uses the other deductions of the previous run, before they are updated.
  pa40.assignIR(
      PA40::kEstateWinningsLessDeductions,
      static_cast<double>(pa40.getIN(PA40::kEstateTrustIncome) + pa40.getIN(PA40::kGamblingWinnings) -
                          pa40.getIN(PA40::kOtherDeductions)));

  // The deductions schedule limits each person's deduction to the income
  // this run has just settled; calculated before that income exists (its
  // own step comes right after the first run), it would cut a deduction to
  // the wages alone. The final run of copy 1 calculates the further copies
  // too (which the line does not read), so that none keeps a limit of an
  // earlier calculation.
  TaxFormPtr deductions = paReturn->getFormUVPtr(kFormID_PADeductions, 1, false);
  if (!deductions.isNull()) calcStateForm(kFormID_PADeductions, 1, false, 1, 0, deductions);
  if (copy == 1 && !provisionalPA40Run) {
    for (DataMgmt::TaxFormIter it = paReturn->getForms(kFormID_PADeductions); !it.atEOL(); it.next()) {
      TaxFormPtr further = it.getTaxForm();
      if (further.isNull() || further->getCopyNumber() == 1) continue;
      calcStateForm(kFormID_PADeductions, further->getCopyNumber(), false, 1, 0, further);
    }
  }
  const long deduction = paReturn->getIN(kFormID_PADeductions, 1, PADeductions::kTotalAllowedDeductions);
  if (deduction > 0) {
    pa40.assignIR(PA40::kOtherDeductions, deduction);
    char code[128];
    paReturn->formString(code, sizeof code, kFormID_PADeductions, 1, PADeductions::kCodeLetter);
    pa40.assignText(PA40::kDeductionCodeText, code);
  } else {
    pa40.setNull(PA40::kOtherDeductions);
    pa40.assignText(PA40::kDeductionCodeText, "N");
  }
  Utils::setDefaultX(form, PA40::kDeductionsChoiceNoBox, PA40::kDeductionsChoiceYesBox,
                     PA40::kDeductionsChoiceYesBox);
  Utils::setDefaultX(form, PA40::kDeductionsSecondChoiceNoBox, PA40::kDeductionsSecondChoiceYesBox,
                     PA40::kDeductionsSecondChoiceYesBox);

  pa40.minusIIge0(PA40::kAdjustedTaxableIncome, PA40::kTotalTaxableIncome, PA40::kOtherDeductions);
  pa40.assignIR(PA40::kTaxLiability,
                Utils::roundR(pa40.getIR(PA40::kAdjustedTaxableIncome) * PATax2018::kTaxRate));
}

}  // namespace PACalculationMgmt
