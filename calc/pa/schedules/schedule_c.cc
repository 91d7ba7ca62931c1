// PA Schedule C (state form 56126): the profit or loss of one business,
// from the federal Schedule C copy its federal copy number names. This file
// holds the filer and business heading, the codes and the income part;
// the expenses are in schedule_c_expenses.cc.
#include <initializer_list>
#include <string>

#include "calc/pa/federal_owner.h"
#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/part_of_return.h"
#include "calc/pa/schedules/schedule_c_copy.h"
#include "host/form_defaults.h"
#include "host/string_utils.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

namespace {

const std::size_t kTextSize = 128;
// The proprietor's name is read up to 30 characters.
const std::size_t kProprietorNameSize = 31;

// Income amounts taken from the federal copy as they stand.
const FederalAmountCopy kIncomeAmounts[] = {
    {PAScheduleC::kGrossReceipts, FedScheduleC::kGrossReceipts},
    {PAScheduleC::kReturnsAndAllowances, FedScheduleC::kReturnsAndAllowances},
    {PAScheduleC::kBeginningInventory, FedScheduleC::kBeginningInventory},
    {PAScheduleC::kCostOfLabor, FedScheduleC::kCostOfLabor},
    {PAScheduleC::kMaterials, FedScheduleC::kMaterialsAndSupplies},
    {PAScheduleC::kOtherCosts, FedScheduleC::kOtherCosts},
    {PAScheduleC::kCostsSubtotal, FedScheduleC::kGoodsAvailable},
    {PAScheduleC::kEndingInventory, FedScheduleC::kEndingInventory},
    {PAScheduleC::kFederalCostOfGoodsSold, FedScheduleC::kCostOfGoodsSold},
    {PAScheduleC::kFederalOtherIncome, FedScheduleC::kOtherIncome},
};

// The business address, and the PA-40 address it falls back to.
const PAScheduleCField kAddress[] = {PAScheduleC::kBusinessStreet, PAScheduleC::kBusinessAddress,
                                     PAScheduleC::kBusinessCity, PAScheduleC::kBusinessState,
                                     PAScheduleC::kBusinessZip};
const NamedField<PA40FieldIds> kPA40Address[] = {PA40::kAddressLineTwo, PA40::kAddressLineOne, PA40::kCity,
                                                 PA40::kStateCode, PA40::kZipCode};

void assignYesNo(DataMgmt::TaxForm& form, const PAScheduleCField& field, bool yes) {
  form.assignText(field, yes ? "Y" : "N");
}

// Filer, business name, identifying numbers.
void computeHeading(PATaxReturnCalcEngine& engine, ScheduleCCopy& c) {
  PADataMgmt::PATaxReturn& pa = *engine.getPAReturn();
  DataMgmt::TaxForm& form = c.form;
  char text[kTextSize];

  // A full-year resident's business is all PA business.
  if (pa.readResidencyStatus(kFormID_PAReturnInfo) == PADataMgmt::kFullYearResident) {
    form.makeProtected(PAScheduleC::kAllPABusinessYesBox);
    form.makeProtected(PAScheduleC::kAllPABusinessNoBox);
    form.setX(PAScheduleC::kAllPABusinessYesBox);
    form.setNull(PAScheduleC::kAllPABusinessNoBox);
  } else {
    form.unProtect(PAScheduleC::kAllPABusinessYesBox);
    form.unProtect(PAScheduleC::kAllPABusinessNoBox);
    Utils::setDefaultX(c.holder, PAScheduleC::kAllPABusinessYesBox, PAScheduleC::kAllPABusinessNoBox,
                       PAScheduleC::kAllPABusinessNoBox);
  }
  form.assignII(PAScheduleC::kFederalCopyNumberCopy, PAScheduleC::kFederalCopyNumber);
  if (form.getIN(PAScheduleC::kFederalCopyNumber) > 0) form.assignIR(PAScheduleC::kLinkedFederalCopyMark, 1);

  // Whose business: the taxpayer's or the spouse's. The federal copy has
  // the taxpayer's mark only; on a joint return a copy without it is the
  // spouse's, on any other the taxpayer's.
  form.setXNo(PAScheduleC::kTaxpayerBox);
  form.setXNo(PAScheduleC::kSpouseBox);
  OwnerMarks marks;
  marks.taxpayer = c.fedYes(FedScheduleC::kTaxpayerBox);
  const bool joint = pa.readFilingStatus(kFormID_PAReturnInfo) == PADataMgmt::kFilingJoint;
  const bool taxpayers = federalCopyOwner(marks, joint, FederalOwner::kSpouse) == FederalOwner::kTaxpayer;
  if (taxpayers) {
    form.setX(PAScheduleC::kTaxpayerBox);
    form.assignIR(PAScheduleC::kTaxpayerOwnerMark, 1);
    form.setNull(PAScheduleC::kSpouseOwnerMark);
  } else {
    form.setX(PAScheduleC::kSpouseBox);
    form.assignIR(PAScheduleC::kSpouseOwnerMark, 1);
    form.setNull(PAScheduleC::kTaxpayerOwnerMark);
  }
  char name[Utils::kNameBufferSize];
  if (taxpayers) {
    engine.getFederalLineFieldID(name, kFormID_PAReturnInfo, 1, 2, 3, 4, Utils::DISPLAY_NAME(0));
  } else {
    engine.getFederalLineFieldID(name, kFormID_PAReturnInfo, 6, 7, 8, 9, Utils::DISPLAY_NAME(0));
  }
  form.assignText(PAScheduleC::kOwnerName, name);
  pa.getII(kFormID_PAReturnInfo, taxpayers ? PAReturnInfo::kTaxpayerSSN : PAReturnInfo::kSpouseSSN, c.holder,
           PAScheduleC::kOwnerSSN);
  form.assignII(PAScheduleC::kOwnerNameCopy, PAScheduleC::kOwnerName);
  form.assignII(PAScheduleC::kOwnerSSNCopy, PAScheduleC::kOwnerSSN);

  c.fedText(text, kProprietorNameSize, FedScheduleC::kProprietorName);
  form.assignText(PAScheduleC::kBusinessName, text);
  if (!form.hasSigValue(PAScheduleC::kBusinessName)) {
    form.assignII(PAScheduleC::kBusinessName, PAScheduleC::kOwnerName);
  }

  // Line A: the main business activity (from the federal business name)
  // and the product or service (from the principal business); each takes
  // the other federal text when it is empty on both sides. A line whose
  // federal text is empty is the user's: the text an earlier calculation
  // protected there came from the federal line and goes with it, what the
  // user entered (or the other text filled in) stays.
  char businessName[kTextSize];
  char principalBusiness[kTextSize];
  c.fedText(businessName, kTextSize, FedScheduleC::kBusinessName);
  c.fedText(principalBusiness, kTextSize, FedScheduleC::kPrincipalBusiness);
  if (businessName[0] != '\0') {
    form.assignText(PAScheduleC::kMainBusinessActivity, businessName);
    form.makeProtected(PAScheduleC::kMainBusinessActivity);
    form.setX(PAScheduleC::kActivityFromFederalBox);
  } else {
    form.unprotectAndMaybeSetNull(PAScheduleC::kMainBusinessActivity);
    form.setXNo(PAScheduleC::kActivityFromFederalBox);
  }
  if (principalBusiness[0] != '\0') {
    form.assignText(PAScheduleC::kProductOrService, principalBusiness);
    form.makeProtected(PAScheduleC::kProductOrService);
  } else {
    form.unprotectAndMaybeSetNull(PAScheduleC::kProductOrService);
  }
  if (form.isNull(PAScheduleC::kProductOrService) && businessName[0] != '\0') {
    form.assignText(PAScheduleC::kProductOrService, businessName);
  }
  if (form.isNull(PAScheduleC::kMainBusinessActivity) && principalBusiness[0] != '\0') {
    form.assignText(PAScheduleC::kMainBusinessActivity, principalBusiness);
  }

  form.assignText(PAScheduleC::kBusinessCode, c.fedText(text, kTextSize, FedScheduleC::kBusinessCode));
  // The federal employer number, else the owner's number.
  c.fedText(text, kTextSize, FedScheduleC::kEmployerId);
  if (text[0] != '\0') {
    form.assignText(PAScheduleC::kFederalEIN, text);
    form.setNull(PAScheduleC::kOwnerSSNWithoutEIN);
  } else {
    form.setNull(PAScheduleC::kFederalEIN);
    form.assignII(PAScheduleC::kOwnerSSNWithoutEIN, PAScheduleC::kOwnerSSN);
  }
  form.assignII(PAScheduleC::kBusinessEIN, PAScheduleC::kFederalEIN);
}

// Business address: foreign (the federal foreign-address box) or
// domestic, else the PA-40's address.
void computeAddress(PATaxReturnCalcEngine& engine, ScheduleCCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  char street[kTextSize], city[kTextSize], state[kTextSize], zip[kTextSize];
  c.fedText(street, kTextSize, FedScheduleC::kBusinessStreet);
  c.fedText(city, kTextSize, FedScheduleC::kBusinessCity);
  c.fedText(state, kTextSize, FedScheduleC::kBusinessState);
  c.fedText(zip, kTextSize, FedScheduleC::kBusinessZip);

  if (c.fedYes(FedScheduleC::kForeignAddressBox)) {
    char country[kTextSize], province[kTextSize], postalCode[kTextSize];
    c.fedText(country, kTextSize, FedScheduleC::kForeignCountry);
    c.fedText(province, kTextSize, FedScheduleC::kForeignProvince);
    c.fedText(postalCode, kTextSize, FedScheduleC::kForeignPostalCode);
    form.assignText(PAScheduleC::kBusinessStreet, street);
    form.makeProtectedAndSetNull(PAScheduleC::kOtherAddressBox);
    form.makeProtectedAndSetNull(PAScheduleC::kStreetAddressBox);
    std::string line = city;
    if (province[0] != '\0') line += std::string(" ") + province;
    if (postalCode[0] != '\0') line += std::string(" ") + postalCode;
    form.assignText(PAScheduleC::kBusinessAddress, line.c_str());
    form.assignText(PAScheduleC::kBusinessCity, country);
    form.assignText(PAScheduleC::kBusinessState, "OC");
    form.makeProtectedAndSetNull(PAScheduleC::kBusinessZip);
  } else {
    form.unProtect(PAScheduleC::kOtherAddressBox);
    form.unProtect(PAScheduleC::kStreetAddressBox);
    Utils::setDefaultX(c.holder, PAScheduleC::kOtherAddressBox, PAScheduleC::kStreetAddressBox,
                       PAScheduleC::kStreetAddressBox);
    if (form.xMarked(PAScheduleC::kStreetAddressBox)) {
      form.assignText(PAScheduleC::kBusinessStreet, street);
      form.makeProtectedAndSetNull(PAScheduleC::kBusinessAddress);
    } else {
      form.assignText(PAScheduleC::kBusinessAddress, street);
      form.makeProtectedAndSetNull(PAScheduleC::kBusinessStreet);
    }
    form.assignText(PAScheduleC::kBusinessCity, city);
    form.assignText(PAScheduleC::kBusinessState, state);
    form.assignText(PAScheduleC::kBusinessZip, zip);
  }

  // No address at all: the PA-40's.
  for (const PAScheduleCField& field : kAddress) {
    if (form.hasSigValue(field)) return;
  }
  for (int k = 0; k < 5; ++k) {
    engine.getPAReturn()->getII(kFormID_PA40, kPA40Address[k], c.holder, kAddress[k]);
  }
}

// The method codes take the letters of the federal boxes: the accounting
// method line those of the inventory boxes (cost, lower of cost or market,
// other; cost by default), the inventory method line those of the method
// boxes (cash, accrual, other; the last one marked wins).
void computeCodes(ScheduleCCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  const char* method = "C";
  if (!c.fedYes(FedScheduleC::kInventoryCostBox)) {
    if (c.fedYes(FedScheduleC::kInventoryLowerOfCostOrMarketBox)) {
      method = "L";
    } else if (c.fedYes(FedScheduleC::kInventoryOtherBox)) {
      method = "O";
    }
  }
  form.assignText(PAScheduleC::kAccountingMethod, method);
  // Without a federal method box the line is the user's: a letter an
  // earlier calculation took from a box goes with the box.
  const char* inventory = nullptr;
  if (c.fedYes(FedScheduleC::kCashMethodBox)) inventory = "C";
  if (c.fedYes(FedScheduleC::kAccrualMethodBox)) inventory = "A";
  if (c.fedYes(FedScheduleC::kOtherMethodBox)) inventory = "O";
  if (inventory != nullptr) {
    form.assignText(PAScheduleC::kInventoryMethod, inventory);
    form.makeProtected(PAScheduleC::kInventoryMethod);
  } else {
    form.unprotectAndMaybeSetNull(PAScheduleC::kInventoryMethod);
  }
  assignYesNo(form, PAScheduleC::kHomeOfficeAnswer,
              c.federal.getIR(kFormID_FedScheduleC, c.federalCopy, FedScheduleC::kBusinessUseOfHome) > 0);
  Utils::setDefaultX(c.holder, PAScheduleC::kCodeAnswerNoBox, PAScheduleC::kCodeAnswerYesBox,
                     PAScheduleC::kCodeAnswerYesBox);
  assignYesNo(form, PAScheduleC::kCodeAnswer, form.xMarked(PAScheduleC::kCodeAnswerYesBox));
  assignYesNo(form, PAScheduleC::kFederalMarkAnswer, c.fedYes(FedScheduleC::kInventoryChangeYesBox));
}

void computeIncome(PATaxReturnCalcEngine& engine, ScheduleCCopy& c) {
  DataMgmt::TaxForm& form = c.form;
  for (const FederalAmountCopy& row : kIncomeAmounts) form.assignIR(row.pa, c.fedAmount(row.federal));

  form.minusIIge0(PAScheduleC::kGrossReceiptsBalance, PAScheduleC::kGrossReceipts,
                  PAScheduleC::kReturnsAndAllowances);
  const long inventoryPurchases = c.fedAmount(FedScheduleC::kPurchases);
  if (inventoryPurchases != 0) {
    form.assignIR(PAScheduleC::kFederalPurchases, inventoryPurchases);
    form.unProtect(PAScheduleC::kPurchasesEntered);
    form.plus2(PAScheduleC::kPurchases, PAScheduleC::kPurchasesEntered, PAScheduleC::kFederalPurchases);
  } else {
    form.makeProtectedAndSetNull(PAScheduleC::kPurchases);
    form.makeProtectedAndSetNull(PAScheduleC::kPurchasesEntered);
    form.setNull(PAScheduleC::kFederalPurchases);
  }
  form.assignII(PAScheduleC::kCostOfGoodsSold, PAScheduleC::kFederalCostOfGoodsSold);
  form.minusII(PAScheduleC::kGrossProfit, PAScheduleC::kGrossReceiptsBalance, PAScheduleC::kCostOfGoodsSold);

  PADataMgmt::PATaxReturn& pa = *engine.getPAReturn();
  form.assignIR(PAScheduleC::kFederalPulledAmount,
                pa.pullCommon(pa.readFederalReturnForm(), 1, Utils::PCTypes(19)));
  if (form.gtZero(PAScheduleC::kFederalPulledAmount)) {
    form.unProtect(PAScheduleC::kPulledAmountEntry);
    form.unProtect(PAScheduleC::kPulledAmountIncome);
  } else {
    form.makeProtectedAndSetNull(PAScheduleC::kPulledAmountEntry);
    form.makeProtectedAndSetNull(PAScheduleC::kPulledAmountIncome);
  }
  const auto& item = PAScheduleC::kOtherIncomeItem;
  std::initializer_list<Primitives::OVImmutableIdentifier> otherIncome = {
      PAScheduleC::kFederalOtherIncome, item.at(0), item.at(1), item.at(2), item.at(3),  item.at(4),
      item.at(5), item.at(6), item.at(7), item.at(8), item.at(9), item.at(10), item.at(11)};
  form.setValueToSumOf(PAScheduleC::kOtherIncomeSum, otherIncome);
  form.maxIR(PAScheduleC::kOtherIncome, PAScheduleC::kOtherIncomeSum, 0);
  form.plus2(PAScheduleC::kGrossIncome, PAScheduleC::kGrossProfit, PAScheduleC::kOtherIncome);
}

// The places the calculation fills from the federal copy and then leaves
// as they are (the line A texts a federal text left open, the PA
// depletion, interest and legal and professional fees, filled when empty).
const PAScheduleCField kFilledFromFederalCopy[] = {PAScheduleC::kMainBusinessActivity, PAScheduleC::kProductOrService,
                                                   PAScheduleC::kPADepletion, PAScheduleC::kInterest,
                                                   PAScheduleC::kLegalProfessional};

}  // namespace

void PATaxReturnCalcEngine::takeScheduleCAfresh(DataMgmt::TaxForm& form) {
  for (const PAScheduleCField& field : kFilledFromFederalCopy) form.setNull(field);
}

void PATaxReturnCalcEngine::computeScheduleC(DataMgmt::TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr || federalReturn == nullptr) return;

  if (form->xMarked(PAScheduleC::kFromFederalYesBox)) {  // set by the driver on linked copies
    // The federal copy number; 0 stands for copy 1.
    long federalCopy = form->getIN(PAScheduleC::kFederalCopyNumber);
    if (federalCopy == 0) federalCopy = 1;
    if (federalCopy < 0 || federalCopy > 0xFFFF) federalCopy = 0;  // no such copy: reads empty
    ScheduleCCopy c{form, *form, copy, *federalReturn, static_cast<uint16_t>(federalCopy)};
    computeHeading(*this, c);
    computeAddress(*this, c);
    computeCodes(c);
    computeIncome(*this, c);
    computeScheduleCExpenses(*this, c);
  }

  // Part of the return: PA business with a net profit or loss, or a copy
  // with an entry of the user's.
  const bool paBusiness = form->xMarked(PAScheduleC::kAllPABusinessYesBox) && form->nonZero(PAScheduleC::kNetProfit);
  markPartOfReturn(*paReturn, kFormID_PAScheduleC, copy, *form, paBusiness,
                   [&] { return holdsUserEntry(*form, PAScheduleC::kUserFields); });
}

}  // namespace PACalculationMgmt
