// computeScheduleE: one copy of PA Schedule E (state form 174), rents and
// royalties of one property.
//
// The driver links each copy to its federal source: the federal copy
// number, and one of two source boxes, a federal Schedule E or a federal
// farm rental (Form 4835). A copy with neither box keeps its property and
// amount fields as the user left them; only the names, the filer-level
// part and the data marks are worked out for it. Federal amounts are whole
// dollars and are written unscaled.
//
// A copy is part of the return while it shows a property, a filer-level
// amount or a total, or holds an entry of the user's.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/pa/part_of_return.h"
#include "catalogs/fields/fields.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"
#include "return/return_codes.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::TaxFormPtr;

namespace {

typedef NamedField<PAScheduleEFieldIds> EField;
typedef NamedField<FedScheduleEFieldIds> FedEField;

const int kTextSize = 128;  // federal texts and the address line

// Expense lines copied from the federal Schedule E: the sum of up to four
// federal fields.
struct ExpenseLine {
  EField target;
  const FedEField* sources[4];  // unused ones null
};
const ExpenseLine kExpenseLines[] = {
    {PAScheduleE::kAdvertising, {&FedScheduleE::kAdvertising}},
    {PAScheduleE::kAutoAndTravel, {&FedScheduleE::kAutoAndTravel}},
    {PAScheduleE::kCleaningAndMaintenance, {&FedScheduleE::kCleaningAndMaintenance}},
    {PAScheduleE::kCommissions, {&FedScheduleE::kCommissions}},
    {PAScheduleE::kInsurance, {&FedScheduleE::kInsurance}},
    {PAScheduleE::kLegalAndProfessionalFees, {&FedScheduleE::kLegalAndProfessionalFees}},
    {PAScheduleE::kManagementFees, {&FedScheduleE::kManagementFees}},
    {PAScheduleE::kOtherInterest, {&FedScheduleE::kOtherInterest}},
    {PAScheduleE::kRepairs, {&FedScheduleE::kRepairs}},
    {PAScheduleE::kSupplies, {&FedScheduleE::kSupplies}},
    {PAScheduleE::kMortgageInterest,
     {&FedScheduleE::kFirstMortgageInterest, &FedScheduleE::kSecondMortgageInterest,
      &FedScheduleE::kThirdMortgageInterest, &FedScheduleE::kFourthMortgageInterest}},
    {PAScheduleE::kTaxes,
     {&FedScheduleE::kFirstTaxes, &FedScheduleE::kSecondTaxes, &FedScheduleE::kThirdTaxes}},
    {PAScheduleE::kUtilities, {&FedScheduleE::kUtilities}},
};

// The four "other expense" lines, from the federal other-expense rows in
// order: a description and its amount.
struct OtherExpense {
  EField text;
  EField amount;
};
const OtherExpense kOtherExpenses[] = {
    {PAScheduleE::kFirstOtherExpenseText, PAScheduleE::kFirstOtherExpense},
    {PAScheduleE::kSecondOtherExpenseText, PAScheduleE::kSecondOtherExpense},
    {PAScheduleE::kThirdOtherExpenseText, PAScheduleE::kThirdOtherExpense},
    {PAScheduleE::kFourthOtherExpenseText, PAScheduleE::kFourthOtherExpense},
};

// On a copy no federal source stands for, the property is the user's from
// its first field to its last result, every member of the form between
// them, named or not.
constexpr UserFieldRun kPropertyRun[] = {
    {PAScheduleE::kSalesTaxLicense.member(), 1,
     PAScheduleE::kOtherRentalIncome.member() - PAScheduleE::kSalesTaxLicense.member() + 1}};
constexpr UserFields<PAScheduleEFieldIds> kPropertyFields{&kPAScheduleEFieldIds, kPropertyRun, 1};

// Property type texts by federal type code.
struct PropertyType {
  const char* code;
  const char* text;
};
const PropertyType kPropertyTypes[] = {
    {"1", "Single Family Residence"}, {"2", "Multi-Family Residence"}, {"3", "Vacation/Short-Term Rent"},
    {"4", "Commercial"},              {"5", "Land"},                   {"7", "Self-Rental"},
    {"8", "Other"},
};

// The PA copy in hand, the host's operations on one of its fields.
class ScheduleECopy {
 public:
  explicit ScheduleECopy(DataMgmt::TaxForm& form) : form_(form) {}

  DataMgmt::TaxForm& form() { return form_; }
  void x(const FieldId& f) { form_.setX(f); }
  void no(const FieldId& f) { form_.setXNo(f); }
  void markIf(const FieldId& f, bool marked) { marked ? x(f) : no(f); }
  void null(const FieldId& f) { form_.setNull(f); }
  void assign(const FieldId& f, double value) { form_.assignIR(f, value); }
  void text(const FieldId& f, const char* value) { form_.assignText(f, value); }
  void protect(const FieldId& f) { form_.makeProtected(f); }
  void unprotect(const FieldId& f) { form_.unProtect(f); }
  void protectAndNull(const FieldId& f) { form_.makeProtectedAndSetNull(f); }
  // The pair fixed by the calculation: `a` marked or not, `b` the other
  // way, both protected.
  void fixPair(const FieldId& a, bool aMarked, const FieldId& b) {
    protect(a);
    protect(b);
    markIf(a, aMarked);
    markIf(b, !aMarked);
  }
  // The pair opened to the user's choice, `a` by default: what the
  // calculation fixed there before goes, the user's mark stays.
  void openPair(const FieldId& a, const FieldId& b) {
    form_.unprotectAndMaybeSetNull(a);
    form_.unprotectAndMaybeSetNull(b);
    oneX2AndDefault(a, b);
  }
  void oneX2AndDefault(const FieldId& a, const FieldId& b) { form_.oneX2AndDefault(a, b); }
  bool marked(const FieldId& f) const { return form_.xMarked(f); }
  bool significant(const FieldId& f) const { return form_.hasSigValue(f); }
  double value(const FieldId& f) const { return form_.getIR(f); }

 private:
  DataMgmt::TaxForm& form_;
};

// One copy of the federal Schedule E.
class FederalScheduleE {
 public:
  FederalScheduleE(const DataMgmt::TaxReturn& federal, uint16_t copy) : federal_(federal), copy_(copy) {}

  bool yes(const FieldId& f) const { return federal_.formYes(kFormID_FedScheduleE, copy_, f); }
  long amount(const FieldId& f) const { return federal_.getIN(kFormID_FedScheduleE, copy_, f); }
  char* text(char* out, const FieldId& f) const {
    return federal_.formString(out, kTextSize, kFormID_FedScheduleE, copy_, f);
  }

 private:
  const DataMgmt::TaxReturn& federal_;
  uint16_t copy_;
};

// The PA-property pair (yes is what a federal property in "PA" gets): a
// full-year resident chooses, yes by default; anyone else gets yes exactly
// when the property is taxable for PA.
void choosePropertyKind(ScheduleECopy& e, int residency) {
  if (residency == PADataMgmt::kFullYearResident) {
    e.openPair(PAScheduleE::kPAPropertyYesBox, PAScheduleE::kPAPropertyNoBox);
  } else {
    e.fixPair(PAScheduleE::kPAPropertyYesBox, e.marked(PAScheduleE::kTaxableForPAYesBox),
              PAScheduleE::kPAPropertyNoBox);
  }
}

const EField kOwnerBoxes[] = {PAScheduleE::kTaxpayerOwnerBox, PAScheduleE::kSpouseOwnerBox,
                              PAScheduleE::kJointOwnerBox};

// The owner boxes fixed to `owner` by the calculation.
void fixOwner(ScheduleECopy& e, const EField& owner) {
  for (const EField& f : kOwnerBoxes) {
    e.protect(f);
    if (f.number() == owner.number()) {
      e.x(f);
    } else {
      e.null(f);
    }
  }
}

// The owner boxes opened to the user's choice, the taxpayer by default: an
// owner the calculation fixed before (a federal copy's, a single filer's)
// goes, the user's choice stays.
void openOwnerChoice(ScheduleECopy& e, TaxFormPtr form) {
  for (const EField& f : kOwnerBoxes) e.form().unprotectAndMaybeSetNull(f);
  Utils::setDefaultX(form, PAScheduleE::kTaxpayerOwnerBox, PAScheduleE::kSpouseOwnerBox,
                     PAScheduleE::kJointOwnerBox);
}

// The owner boxes from a federal Schedule E copy; the user chooses (the
// no-federal-owner box marked) when a joint return's federal copy names no
// owner.
void copyOwner(ScheduleECopy& e, TaxFormPtr form, const FederalScheduleE& source, bool joint) {
  if (!joint) {
    fixOwner(e, PAScheduleE::kTaxpayerOwnerBox);
    // Only a joint return can lack an owner.
    e.null(PAScheduleE::kNoFederalOwnerBox);
    return;
  }
  const struct {
    FedEField federal;
    EField owner;
  } kOwners[] = {{FedScheduleE::kTaxpayerBox, PAScheduleE::kTaxpayerOwnerBox},
                 {FedScheduleE::kSpouseBox, PAScheduleE::kSpouseOwnerBox},
                 {FedScheduleE::kJointBox, PAScheduleE::kJointOwnerBox}};
  for (const auto& owner : kOwners) {
    if (!source.yes(owner.federal)) continue;
    e.null(PAScheduleE::kNoFederalOwnerBox);
    fixOwner(e, owner.owner);
    return;
  }
  openOwnerChoice(e, form);
  e.x(PAScheduleE::kNoFederalOwnerBox);
}

// Property address and identification texts. A foreign address builds the
// address line from its own parts.
void copyAddress(ScheduleECopy& e, const FederalScheduleE& source) {
  char street[kTextSize], city[kTextSize], state[kTextSize], zip[kTextSize];
  char province[kTextSize], country[kTextSize], postalCode[kTextSize], description[kTextSize];
  const struct {
    char* text;
    FedEField field;
    EField target;
  } kParts[] = {
      {street, FedScheduleE::kPropertyStreet, PAScheduleE::kPropertyStreet},
      {city, FedScheduleE::kPropertyCity, PAScheduleE::kPropertyCity},
      {state, FedScheduleE::kPropertyState, PAScheduleE::kPropertyState},
      {zip, FedScheduleE::kPropertyZip, PAScheduleE::kPropertyZip},
      {province, FedScheduleE::kPropertyForeignProvince, PAScheduleE::kPropertyProvince},
      {country, FedScheduleE::kPropertyForeignCountry, PAScheduleE::kPropertyCountry},
      {postalCode, FedScheduleE::kPropertyForeignPostalCode, PAScheduleE::kPropertyPostalCode},
      {description, FedScheduleE::kPropertyDescription, PAScheduleE::kFederalPropertyText},
  };
  for (const auto& part : kParts) source.text(part.text, part.field);
  const bool foreignAddress = source.yes(FedScheduleE::kForeignAddressBox);
  e.markIf(PAScheduleE::kForeignAddressBox, foreignAddress);
  // A longer address line is cut at its end.
  char line[kTextSize];
  const int length = std::snprintf(line, sizeof line, "%s, %s %s", city, foreignAddress ? province : state,
                                   foreignAddress ? postalCode : zip);
  if (length < 0) line[0] = '\0';
  for (const auto& part : kParts) e.text(part.target, part.text);
  e.text(PAScheduleE::kPropertyAddressLine, line);
}

// The sales-tax licence: asked (the user's, Yes by default) for a
// short-term rental in PA only; otherwise closed and empty.
void askLicense(ScheduleECopy& e, bool asked) {
  const EField kLicense[] = {PAScheduleE::kSalesTaxLicense, PAScheduleE::kSalesTaxLicenseYesBox,
                             PAScheduleE::kSalesTaxLicenseNoBox};
  if (asked) {
    for (const EField& f : kLicense) e.unprotect(f);
    e.oneX2AndDefault(PAScheduleE::kSalesTaxLicenseYesBox, PAScheduleE::kSalesTaxLicenseNoBox);
  } else {
    for (const EField& f : kLicense) e.protectAndNull(f);
  }
}

// Property type, rental or royalty marks, the PA-property pair, the
// short-term pair and the PA sales-tax licence. A royalty (one of any type
// but 8, marked a rental as well or not) asks no rental question; a
// property marked neither has no type code and none of the questions
// either: what a kind of property wrote before goes with the kind.
void copyPropertyType(ScheduleECopy& e, const FederalScheduleE& source, int residency) {
  char type[kTextSize];
  source.text(type, FedScheduleE::kPropertyType);
  const bool rental = source.yes(FedScheduleE::kRentalPropertyBox);
  const bool royalty = std::strcmp(type, "8") != 0 && source.yes(FedScheduleE::kRoyaltyPropertyBox);
  if (rental && std::strcmp(type, "6") == 0) type[0] = '\0';
  const char* typeText = nullptr;
  for (const PropertyType& kind : kPropertyTypes) {
    if (std::strcmp(type, kind.code) == 0) typeText = kind.text;
  }
  if (royalty) {
    e.text(PAScheduleE::kPropertyTypeCode, "6");
    typeText = "Royalty";
    e.null(PAScheduleE::kPropertyStreet);
    e.null(PAScheduleE::kPropertyAddressLine);
    choosePropertyKind(e, residency);
    e.protect(PAScheduleE::kShortTermRentalNoBox);
    e.x(PAScheduleE::kShortTermRentalNoBox);
    e.protectAndNull(PAScheduleE::kShortTermRentalYesBox);
    askLicense(e, false);
    e.no(PAScheduleE::kRentalBox);
    e.x(PAScheduleE::kRoyaltyBox);
  } else if (rental) {
    e.text(PAScheduleE::kPropertyTypeCode, type);
    char state[kTextSize];
    const bool inPA = std::strcmp(source.text(state, FedScheduleE::kPropertyState), "PA") == 0;
    e.fixPair(PAScheduleE::kPAPropertyYesBox, inPA, PAScheduleE::kPAPropertyNoBox);
    if (std::strcmp(type, "3") == 0) {
      // The licence of a vacation rental is left as the user has it.
      e.fixPair(PAScheduleE::kShortTermRentalNoBox, true, PAScheduleE::kShortTermRentalYesBox);
    } else {
      // No by default: an ordinary rental is no short-term rental, which the
      // user marks (it calls for a hotel-occupancy sales-tax licence).
      e.openPair(PAScheduleE::kShortTermRentalNoBox, PAScheduleE::kShortTermRentalYesBox);
      askLicense(e, e.marked(PAScheduleE::kShortTermRentalYesBox) && inPA);
    }
    e.x(PAScheduleE::kRentalBox);
    e.no(PAScheduleE::kRoyaltyBox);
  } else {
    e.null(PAScheduleE::kPropertyTypeCode);
    for (const EField& f : {PAScheduleE::kPAPropertyYesBox, PAScheduleE::kPAPropertyNoBox,
                            PAScheduleE::kShortTermRentalYesBox, PAScheduleE::kShortTermRentalNoBox}) {
      e.protectAndNull(f);
    }
    askLicense(e, false);
    e.null(PAScheduleE::kRoyaltyBox);
  }
  if (typeText != nullptr) {
    e.text(PAScheduleE::kPropertyTypeText, typeText);
  } else {
    e.null(PAScheduleE::kPropertyTypeText);
  }
}

// Income and expenses; returns the net (income less total expenses).
double copyAmounts(ScheduleECopy& e, TaxFormPtr form, const FederalScheduleE& source) {
  const double income = static_cast<double>(source.amount(FedScheduleE::kRentsOrRoyaltiesReceived));
  if (source.yes(FedScheduleE::kRentalPropertyBox)) {
    e.assign(PAScheduleE::kRentsReceived, income);
    e.null(PAScheduleE::kRoyaltiesReceived);
  } else {
    e.assign(PAScheduleE::kRoyaltiesReceived, income);
    e.null(PAScheduleE::kRentsReceived);
  }
  for (const ExpenseLine& line : kExpenseLines) {
    long sum = 0;
    for (const FedEField* f : line.sources) sum += f == nullptr ? 0 : source.amount(*f);
    e.assign(line.target, static_cast<double>(sum));
  }
  // Depreciation takes the federal amounts unless the user chose to enter
  // it.
  e.unprotect(PAScheduleE::kFederalDepreciationBox);
  e.unprotect(PAScheduleE::kEnteredDepreciationBox);
  Utils::setDefaultX(form, PAScheduleE::kFederalDepreciationBox, PAScheduleE::kFederalDepreciationBox,
                     PAScheduleE::kEnteredDepreciationBox);
  if (e.marked(PAScheduleE::kFederalDepreciationBox)) {
    e.protect(PAScheduleE::kDepreciation);
    e.assign(PAScheduleE::kDepreciation,
             static_cast<double>(source.amount(FedScheduleE::kDepreciation) +
                                 source.amount(FedScheduleE::kSecondDepreciation)));
  } else {
    e.unprotect(PAScheduleE::kDepreciation);
  }
  for (int r = 0; r < FedScheduleE::kOtherExpenseDescription.rows(); ++r) {
    char text[kTextSize];
    e.text(kOtherExpenses[r].text, source.text(text, FedScheduleE::kOtherExpenseDescription.at(r)));
    e.assign(kOtherExpenses[r].amount,
             static_cast<double>(source.amount(FedScheduleE::kOtherExpenseAmount.at(r))));
  }
  e.form().setValueToSumOf(
      PAScheduleE::kTotalExpenses,
      {PAScheduleE::kAdvertising, PAScheduleE::kAutoAndTravel, PAScheduleE::kCleaningAndMaintenance,
       PAScheduleE::kCommissions, PAScheduleE::kDepreciation, PAScheduleE::kInsurance,
       PAScheduleE::kLegalAndProfessionalFees, PAScheduleE::kManagementFees, PAScheduleE::kMortgageInterest,
       PAScheduleE::kOtherInterest, PAScheduleE::kRepairs, PAScheduleE::kSupplies, PAScheduleE::kTaxes,
       PAScheduleE::kUtilities, PAScheduleE::kFirstOtherExpense, PAScheduleE::kSecondOtherExpense,
       PAScheduleE::kThirdOtherExpense, PAScheduleE::kFourthOtherExpense});

  // Rents or royalties: an amount on both lines counts as none.
  const bool rents = e.significant(PAScheduleE::kRentsReceived);
  const bool royalties = e.significant(PAScheduleE::kRoyaltiesReceived);
  double received = 0.0;
  if (rents && !royalties) received = e.value(PAScheduleE::kRentsReceived);
  if (royalties && !rents) received = e.value(PAScheduleE::kRoyaltiesReceived);
  return received - e.value(PAScheduleE::kTotalExpenses);
}

// The result lines of a property not taxable for PA: none (those a
// taxable property wrote go), but the farm rental's other-rental loss box,
// which says No.
const EField kResultLines[] = {PAScheduleE::kNetIncome,          PAScheduleE::kDeductibleLoss,
                               PAScheduleE::kLossBox,            PAScheduleE::kPANetIncome,
                               PAScheduleE::kShortTermRentalLossBox, PAScheduleE::kShortTermRentalIncome,
                               PAScheduleE::kOtherRentalIncome};

// The PA result of a federal Schedule E property: net income, or a loss
// (with its box), and the part in PA income with its column.
void writeScheduleEResult(ScheduleECopy& e, double net) {
  if (!e.marked(PAScheduleE::kTaxableForPAYesBox)) {
    for (const EField& f : kResultLines) e.null(f);
    e.null(PAScheduleE::kOtherRentalLossBox);
    return;
  }
  const bool loss = net < 0;
  // A loss counts only when its deductible box is marked.
  const double result = !loss ? net : e.marked(PAScheduleE::kLossDeductibleBox) ? net : 0.0;
  if (loss) {
    e.null(PAScheduleE::kNetIncome);
    e.x(PAScheduleE::kLossBox);
    e.assign(PAScheduleE::kDeductibleLoss, result);
  } else {
    e.assign(PAScheduleE::kNetIncome, net);
    e.null(PAScheduleE::kDeductibleLoss);
    e.no(PAScheduleE::kLossBox);
  }
  e.assign(PAScheduleE::kPANetIncome, result);
  // The short-term rental column (its yes box marked) or the other rental
  // column; the loss box of the column in use follows the result, the
  // other's is No.
  const bool firstColumn = e.marked(PAScheduleE::kShortTermRentalYesBox);
  e.assign(firstColumn ? PAScheduleE::kShortTermRentalIncome : PAScheduleE::kOtherRentalIncome, result);
  e.null(firstColumn ? PAScheduleE::kOtherRentalIncome : PAScheduleE::kShortTermRentalIncome);
  e.markIf(firstColumn ? PAScheduleE::kShortTermRentalLossBox : PAScheduleE::kOtherRentalLossBox, loss);
  e.no(firstColumn ? PAScheduleE::kOtherRentalLossBox : PAScheduleE::kShortTermRentalLossBox);
}

// The PA result of a farm rental: the same lines, but a loss that does
// not count clears the loss mark of its column. The short-term column is
// never a farm rental's.
void writeFarmRentalResult(ScheduleECopy& e, double net) {
  e.null(PAScheduleE::kShortTermRentalLossBox);
  e.null(PAScheduleE::kShortTermRentalIncome);
  if (!e.marked(PAScheduleE::kTaxableForPAYesBox)) {
    for (const EField& f : kResultLines) e.null(f);
    e.no(PAScheduleE::kOtherRentalLossBox);
    return;
  }
  if (net >= 0) {
    e.assign(PAScheduleE::kNetIncome, net);
    e.null(PAScheduleE::kDeductibleLoss);
    e.no(PAScheduleE::kLossBox);
    e.no(PAScheduleE::kOtherRentalLossBox);
    e.assign(PAScheduleE::kPANetIncome, net);
    e.assign(PAScheduleE::kOtherRentalIncome, net);
    return;
  }
  e.null(PAScheduleE::kNetIncome);
  e.x(PAScheduleE::kLossBox);
  const bool deductible = e.marked(PAScheduleE::kLossDeductibleBox);
  e.markIf(PAScheduleE::kOtherRentalLossBox, deductible);
  const double result = deductible ? net : 0.0;
  e.assign(PAScheduleE::kDeductibleLoss, result);
  e.assign(PAScheduleE::kPANetIncome, result);
  e.assign(PAScheduleE::kOtherRentalIncome, result);
}

// Filer-level part from federal form 12 (the RK-1 amounts):
// its boxes, and on copy 1 with a spouse's amount the income rows, open
// for the spouse on a joint return only.
void fillRK1Part(ScheduleECopy& e, TaxFormPtr form, const DataMgmt::TaxReturn& federal, uint16_t copy,
                 bool joint) {
  const auto fed12 = [&](const NamedField<Fed12FieldIds>& field) {
    return federal.getIN(kFormID_Fed12, 1, field);
  };
  const long taxpayerFirst = fed12(Fed12::kTaxpayerFirstAmount);
  const long taxpayerSecond = fed12(Fed12::kTaxpayerSecondAmount);
  const long spouseFirst = fed12(Fed12::kSpouseFirstAmount);
  const long spouseSecond = fed12(Fed12::kSpouseSecondAmount);
  e.markIf(PAScheduleE::kNoRK1AmountsBox,
           taxpayerFirst == 0 && spouseFirst == 0 && spouseSecond == 0 && taxpayerSecond == 0);
  const long taxpayerPart = taxpayerFirst + taxpayerSecond;
  const long spousePart = spouseFirst + spouseSecond;
  e.markIf(PAScheduleE::kNoTaxpayerRK1AmountsBox, taxpayerPart == 0);
  if (copy == 1 && spousePart != 0) {
    e.x(PAScheduleE::kSpouseRK1EntryBox);
    e.x(PAScheduleE::kSpouseRK1AmountsBox);
    e.unprotect(PAScheduleE::kTaxpayerFirstRK1Income);
    e.unprotect(PAScheduleE::kTaxpayerSecondRK1Income);
    if (joint) {
      e.unprotect(PAScheduleE::kSpouseFirstRK1Income);
      e.unprotect(PAScheduleE::kSpouseSecondRK1Income);
    } else {
      e.protectAndNull(PAScheduleE::kSpouseFirstRK1Income);
      e.protectAndNull(PAScheduleE::kSpouseSecondRK1Income);
    }
    form->plus4(PAScheduleE::kRK1Income, PAScheduleE::kTaxpayerFirstRK1Income,
                PAScheduleE::kSpouseFirstRK1Income, PAScheduleE::kTaxpayerSecondRK1Income,
                PAScheduleE::kSpouseSecondRK1Income);
    e.markIf(PAScheduleE::kRK1LossBox, e.value(PAScheduleE::kRK1Income) < 0);
  } else {
    for (const EField& f : {PAScheduleE::kSpouseRK1EntryBox, PAScheduleE::kNoTaxpayerRK1AmountsBox,
                            PAScheduleE::kSpouseRK1AmountsBox}) {
      e.no(f);
    }
    for (const EField& f : {PAScheduleE::kTaxpayerFirstRK1Income, PAScheduleE::kSpouseFirstRK1Income,
                            PAScheduleE::kTaxpayerSecondRK1Income, PAScheduleE::kSpouseSecondRK1Income}) {
      e.protectAndNull(f);
    }
    e.null(PAScheduleE::kRK1Income);
    e.no(PAScheduleE::kRK1LossBox);
  }
}

// The taxable-for-PA pair: fixed to Yes for a full-year resident, the
// user's choice (Yes by default, the first box of the host's default rule)
// otherwise.
void chooseTaxableForPA(ScheduleECopy& e, TaxFormPtr form, int residency) {
  if (residency == PADataMgmt::kFullYearResident) {
    e.protect(PAScheduleE::kTaxableForPAYesBox);
    e.protect(PAScheduleE::kTaxableForPANoBox);
    e.x(PAScheduleE::kTaxableForPAYesBox);
    e.null(PAScheduleE::kTaxableForPANoBox);
    e.null(PAScheduleE::kTaxableForPAMark);
  } else {
    e.unprotect(PAScheduleE::kTaxableForPAYesBox);
    e.unprotect(PAScheduleE::kTaxableForPANoBox);
    Utils::setDefaultX(form, PAScheduleE::kTaxableForPAYesBox, PAScheduleE::kTaxableForPANoBox,
                       PAScheduleE::kTaxableForPANoBox);
    if (e.marked(PAScheduleE::kTaxableForPAYesBox)) {
      e.x(PAScheduleE::kTaxableForPAMark);
    } else {
      e.null(PAScheduleE::kTaxableForPAMark);
    }
  }
}

// Copy `n` of the federal farm rental form: owner, property kind and
// type, rents, expenses and the PA result.
void copyFarmRental(ScheduleECopy& e, TaxFormPtr form, const DataMgmt::TaxReturn& federal, uint16_t n,
                    bool joint, int residency) {
  if (joint) {
    openOwnerChoice(e, form);
  } else {
    fixOwner(e, PAScheduleE::kTaxpayerOwnerBox);
  }
  choosePropertyKind(e, residency);
  e.fixPair(PAScheduleE::kShortTermRentalNoBox, true, PAScheduleE::kShortTermRentalYesBox);
  askLicense(e, false);
  e.text(PAScheduleE::kPropertyTypeCode, "5");
  e.text(PAScheduleE::kPropertyTypeText, "Farm Rental");
  e.null(PAScheduleE::kPropertyStreet);
  const long income = federal.getIN(kFormID_FedFarmRental, n, FedFarmRental::kGrossFarmRentalIncome);
  const long expenses = federal.getIN(kFormID_FedFarmRental, n, FedFarmRental::kTotalExpenses);
  e.assign(PAScheduleE::kRentsReceived, static_cast<double>(income));
  e.assign(PAScheduleE::kTotalExpenses, static_cast<double>(expenses));
  const double net = static_cast<double>(income - expenses);
  writeFarmRentalResult(e, net);
  e.assign(PAScheduleE::kNetIncomeOrLoss, net);
}

// What only a federal Schedule E writes and a farm rental leaves as it
// is: the property's address and description, the royalty mark and the
// mark of a federal copy without an owner.
const EField kFederalScheduleEOnly[] = {
    PAScheduleE::kPropertyStreet,     PAScheduleE::kPropertyCity,        PAScheduleE::kPropertyState,
    PAScheduleE::kPropertyZip,        PAScheduleE::kPropertyProvince,    PAScheduleE::kPropertyCountry,
    PAScheduleE::kPropertyPostalCode, PAScheduleE::kPropertyAddressLine, PAScheduleE::kFederalPropertyText,
    PAScheduleE::kRoyaltyBox,         PAScheduleE::kNoFederalOwnerBox,
};

}  // namespace

void PATaxReturnCalcEngine::takeScheduleEAfresh(DataMgmt::TaxForm& form) {
  for (const EField& field : kFederalScheduleEOnly) form.setNull(field);
}

void PATaxReturnCalcEngine::leaveScheduleEUnlinked(DataMgmt::TaxForm& form) {
  const DataMgmt::TaxFormDescPtr desc = form.getTaxFormDescriptor();
  if (desc.isNull()) return;
  for (DataMgmt::OVFieldIDIter it = desc->getFieldIDs(); !it.atEOL(); it.next()) {
    const FieldId& field = it.getID();
    if (PAScheduleE::kUserFields.holds(field) || field == PAScheduleE::kTaxableForPAYesBox.id() ||
        field == PAScheduleE::kTaxableForPANoBox.id()) {
      // A mark the calculation fixed there (an owner, the PA-property or
      // taxable-for-PA answer) goes; what the user entered stays.
      form.unprotectAndMaybeSetNull(field);
    } else {
      form.setNull(field);
    }
  }
}

void PATaxReturnCalcEngine::computeScheduleE(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr || federalReturn == nullptr) return;
  ScheduleECopy e(*form);
  const DataMgmt::TaxReturn& federal = *federalReturn;
  const FieldId& none = Primitives::kNullFieldID;

  // 1. Source.
  enum { kNoSource, kFederalScheduleE, kFarmRental } source = kNoSource;
  e.no(PAScheduleE::kScheduleESourceBox);
  e.no(PAScheduleE::kForm4835SourceBox);
  if (e.marked(PAScheduleE::kFromScheduleEBox)) {
    source = kFederalScheduleE;
    e.x(PAScheduleE::kScheduleESourceBox);
  } else if (e.marked(PAScheduleE::kFromForm4835Box)) {
    source = kFarmRental;
    e.x(PAScheduleE::kForm4835SourceBox);
  }

  // 2. Names.
  const uint16_t status = paReturn->readFilingStatus(kFormID_PAReturnInfo);
  const bool joint = status == PADataMgmt::kFilingJoint;
  copyNameText(form, kFormID_PAReturnInfo, status, 0, PAScheduleE::kFilerName, PAScheduleE::kFilerSSN, none,
               none, none, none, none, none, none, 0);

  // 3-5. Filer-level part from federal form 12.
  fillRK1Part(e, form, federal, copy, joint);

  if (source != kNoSource) {
    // 7. What both sources share.
    const double link = e.value(PAScheduleE::kFederalCopyNumber);
    const uint16_t n = !(link >= 1) ? 1 : link >= UINT16_MAX ? UINT16_MAX : static_cast<uint16_t>(link);
    e.assign(PAScheduleE::kFederalCopyUsed, n);
    const int residency = paReturn->readResidencyStatus(kFormID_PAReturnInfo);
    chooseTaxableForPA(e, form, residency);
    Utils::setDefaultX(form, PAScheduleE::kLossDeductibleBox, PAScheduleE::kLossDeductibleBox,
                       PAScheduleE::kLossNotDeductibleBox);
    e.no(PAScheduleE::kRentalBox);
    e.no(PAScheduleE::kForeignAddressBox);

    if (source == kFederalScheduleE) {
      // 8. Federal Schedule E.
      if (federal.formExists(kFormID_FedScheduleE, n)) {
        const FederalScheduleE property(federal, n);
        copyOwner(e, form, property, joint);
        copyAddress(e, property);
        copyPropertyType(e, property, residency);
        const double net = copyAmounts(e, form, property);
        writeScheduleEResult(e, net);
        e.assign(PAScheduleE::kNetIncomeOrLoss, net);
      }
    } else {
      // 9. Farm rental.
      clearFormFields(kFormID_PAScheduleE, copy, PAScheduleE::kFirstClearedField,
                      PAScheduleE::kLastClearedField);
      if (federal.formExists(kFormID_FedFarmRental, n)) copyFarmRental(e, form, federal, n, joint, residency);
    }
    // 10. Common end.
    form->plus2(PAScheduleE::kTotalIncome, PAScheduleE::kPANetIncome, PAScheduleE::kRK1Income);
    e.markIf(PAScheduleE::kTotalLossBox, e.value(PAScheduleE::kTotalIncome) < 0);
  }

  // 11. Data marks. The calculated mark has a test of its own, so the
  // copy's part in the return is set here rather than by markPartOfReturn.
  const bool shown = e.significant(PAScheduleE::kPropertyTypeCode) || e.value(PAScheduleE::kRK1Income) != 0 ||
                     e.value(PAScheduleE::kTotalIncome) != 0;
  const bool userEntries =
      holdsUserEntry(*form, PAScheduleE::kUserFields) ||
      (source == kNoSource && holdsUserEntry(*form, kPropertyFields));
  if (shown || !userEntries) paReturn->setDataEntered(kFormID_PAScheduleE, copy, shown, false);
  const bool propertyInPA =
      e.marked(PAScheduleE::kTaxableForPAYesBox) &&
      (e.significant(PAScheduleE::kTotalIncome) || e.significant(PAScheduleE::kPropertyTypeCode) ||
       e.marked(PAScheduleE::kLossNotDeductibleBox));
  const bool filerLevel = e.marked(PAScheduleE::kSpouseRK1EntryBox) && e.significant(PAScheduleE::kRK1Income);
  if (propertyInPA || filerLevel) form->setCalcMark(true);
}

}  // namespace PACalculationMgmt
