// The interest and dividend sources and their split routines.

#include "calc/state/int_div_sources.h"

#include "catalogs/fields/fields.h"
#include "host/rounding.h"
#include "identifiers/form_ids.h"

namespace StateCalculationMgmt {

// The fields both summaries name alike.
#define SUMMARY_FIELDS(form)                                                                   \
  {form::kLineRecord, 0}, {form::kLineRecord, form::kLineRecord.rows() - 1}, form::kTaxpayerName, \
      form::kTaxpayerSSN, form::kSpouseName, form::kSpouseSSN, {form::kDisplayLineLabel, 0},   \
      {form::kDisplayLineLabel, form::kDisplayLineLabel.rows() - 1}
// A source whose spouse box and payer name alone tell it apart.
#define NAMED_SOURCE(form, split) \
  {&kFormID_##form, &StateTaxReturnCalcEngine::split, form::kSpouseBox, {}, form::kName, {}, {}}
#define SUMMARY_ROW(form, name)                                                   \
  {{{form::kTaxpayer##name}, {form::kSpouse##name}, {form::kTaxpayer##name##Allocated}, \
    {form::kSpouse##name##Allocated}}}

const IntDivSummary kInterestSummary = {
    &kFormID_State16,
    false,
    {{&kFormID_Fed166, &StateTaxReturnCalcEngine::readForm166Interest, Fed166::kSpouseBox,
      Fed166::kAlternatePayerNameBox, Fed166::kPayerName, Fed166::kAlternatePayerName, {}},
     NAMED_SOURCE(Fed51, readForm51Or89Interest), NAMED_SOURCE(Fed89, readForm51Or89Interest)},
    SUMMARY_FIELDS(State16),
    SUMMARY_ROW(State16, Regular),
    SUMMARY_ROW(State16, USObligations),
    SUMMARY_ROW(State16, ExemptInState),
    SUMMARY_ROW(State16, ExemptOutOfState),
    true,
    SUMMARY_ROW(State16, ReportedUSObligations),
    SUMMARY_ROW(State16, NetUSObligations)};

const IntDivSummary kDividendSummary = {
    &kFormID_State17,
    true,
    {{&kFormID_Fed164, &StateTaxReturnCalcEngine::readForm164Dividends, Fed164::kSpouseBox, {},
      Fed164::kPayerName, {}, Fed164::kRestrictedStockBox},
     NAMED_SOURCE(Fed51, readForm51Or89Dividends), NAMED_SOURCE(Fed89, readForm51Or89Dividends)},
    SUMMARY_FIELDS(State17),
    SUMMARY_ROW(State17, Regular),
    SUMMARY_ROW(State17, USObligations),
    SUMMARY_ROW(State17, InState),
    SUMMARY_ROW(State17, OutOfState),
    false,
    {},
    {}};

#undef SUMMARY_FIELDS
#undef SUMMARY_ROW
#undef NAMED_SOURCE

const SummaryRow& columnRow(const IntDivSummary& summary, int column) {
  const SummaryRow* const columns[kIntDivColumnCount] = {&summary.regular, &summary.usObligations,
                                                         &summary.inState, &summary.outOfState};
  return *columns[column];
}

int allocationRows(const IntDivSummary& summary, const SummaryRow* (&rows)[kMaxAllocationRows]) {
  int count = 0;
  rows[count++] = &summary.regular;
  rows[count++] = &summary.usObligations;
  if (summary.hasForm3Part) rows[count++] = &summary.reported;
  rows[count++] = &summary.outOfState;
  rows[count++] = &summary.inState;
  return count;
}

const IntDivSource* findIntDivSource(const IntDivSummary& summary, const FormId& form) {
  if (form.getNumber() <= 0) return nullptr;
  for (const IntDivSource& source : summary.sources) {
    if (*source.form == form) return &source;
  }
  return nullptr;
}

namespace {

// share / whole of `amount`, rounded; 0 when there is nothing to share over.
double roundedShare(double share, double whole, double amount) {
  if (whole == 0) return 0;
  return static_cast<double>(Utils::roundR(share / whole * amount));
}

double clampAtZero(double value) { return value < 0 ? 0 : value; }

// Takes `amount` out of the kinds of `out`: the regular and U.S. kinds
// give their shares of `whole`, the in-state and out-of-state kinds split
// the rest between them. Returns what the regular and U.S. kinds gave.
double spreadOverKinds(IntDivSourceAmounts* out, double whole, double amount) {
  const double s1 = roundedShare(out->regular, whole, amount);
  out->regular -= s1;
  const double s2 = roundedShare(out->usObligations, whole, amount);
  out->usObligations -= s2;
  const double rest = amount - s1 - s2;
  const double s3 = roundedShare(out->inState, out->inState + out->outOfState, rest);
  out->inState -= s3;
  out->outOfState -= rest - s3;
  return s1 + s2;
}

// Keeps the kinds at or above 0.
void clampKinds(IntDivSourceAmounts* out) {
  out->regular = clampAtZero(out->regular);
  out->exemptTotal = clampAtZero(out->exemptTotal);
  out->inState = clampAtZero(out->inState);
  out->outOfState = clampAtZero(out->outOfState);
}

// Owner 1 (spouse) or 2 (joint) by the copy's marks; the taxpayer's
// otherwise.
void readOwner(const DataMgmt::TaxReturn& federal, const FormId& form, uint16_t copy,
               const FieldId& spouseBox, const FieldId& jointBox, IntDivSourceAmounts* out) {
  if (federal.formYes(form, copy, spouseBox)) {
    out->owner = 1;
  } else if (federal.formYes(form, copy, jointBox)) {
    out->owner = 2;
  }
}

// Forms 51 and 89, interest and dividends, read as whole dollars.
// Dividends have no exempt or in-state amount (no field).
struct WholeDollarSource {
  const FormId* form;
  AnyNamedField total;
  AnyNamedField usObligations;
  AnyNamedField exemptTotal;
  AnyNamedField inState;
  AnyNamedField ownerBox;  // marked: the spouse's
};

const WholeDollarSource kInterestWholeDollarSources[] = {
    {&kFormID_Fed51, Fed51::kInterest, Fed51::kUsObligationInterest, Fed51::kExemptInterest,
     Fed51::kInStateExemptInterest, Fed51::kSpouseBox},
    {&kFormID_Fed89, Fed89::kInterest, Fed89::kUsObligationInterest, Fed89::kExemptInterest,
     Fed89::kInStateExemptInterest, Fed89::kSpouseBox},
};
const WholeDollarSource kDividendWholeDollarSources[] = {
    {&kFormID_Fed51, Fed51::kDividends, Fed51::kUsObligationDividends, {}, {}, Fed51::kSpouseBox},
    {&kFormID_Fed89, Fed89::kDividends, Fed89::kUsObligationDividends, {}, {}, Fed89::kSpouseBox},
};

void splitWholeDollarSource(const DataMgmt::TaxReturn& federal, const WholeDollarSource (&table)[2],
                            const FormId& source, uint16_t copy, IntDivSourceAmounts* out) {
  *out = IntDivSourceAmounts();
  for (const WholeDollarSource& row : table) {
    if (*row.form != source) continue;
    auto read = [&](const AnyNamedField& field) -> double {
      if (!field.isSet()) return 0;
      return static_cast<double>(federal.getIN(source, copy, field));
    };
    const double total = read(row.total);
    out->usObligations = read(row.usObligations);
    out->exemptTotal = read(row.exemptTotal);
    out->inState = read(row.inState);
    out->net = out->exemptTotal + total;
    out->regular = total - out->usObligations;
    out->outOfState = clampAtZero(out->exemptTotal - out->inState);
    out->hasAmount = out->net > 0;
    out->owner = federal.formYes(source, copy, row.ownerBox) ? 1 : 0;
    return;
  }
}

}  // namespace

// Form 166 holds hundredths.
void StateTaxReturnCalcEngine::readForm166Interest(FormId, uint16_t copy, IntDivSourceAmounts* out) {
  *out = IntDivSourceAmounts();
  const FormId& form = kFormID_Fed166;
  auto whole = [&](const FieldId& field) { return federalReturn->getIN(form, copy, field); };
  auto dollars = [&](const FieldId& field) { return whole(field) / 100.0; };

  const double a = dollars(Fed166::kInterestIncome);
  const double b = dollars(Fed166::kUsObligationInterest);
  const double c = dollars(Fed166::kSecondRegularInterest);
  const double d = dollars(Fed166::kSecondUsObligationInterest);
  const double e = dollars(Fed166::kThirdRegularInterest);
  const double g = dollars(Fed166::kSharedAmount);  // shared over the kinds
  // Exempt interest from this state.
  const double p =
      (whole(Fed166::kInStateExemptInterest) + whole(Fed166::kSecondInStateExemptInterest)) / 100.0;
  const long exempt1 = whole(Fed166::kTaxExemptInterest);
  const long exempt2 = whole(Fed166::kSecondExemptInterest);
  const long exempt3 = whole(Fed166::kThirdExemptInterest);
  double k, x, m;
  if (exempt1 > 0 && exempt2 > 0) {
    k = 0;
    x = (exempt1 + exempt2 + exempt3) / 100.0;
    m = 0;
  } else {
    k = exempt1 / 100.0;
    x = (exempt2 + exempt3) / 100.0;
    m = dollars(Fed166::kUsObligationSubtraction);
  }

  out->net = a + b + c + d + e + k + x - g;
  out->hasAmount = out->net + g > 0;
  out->net = clampAtZero(out->net);

  out->usObligations = b + d + m;
  out->exemptTotal = static_cast<double>(Utils::roundR(x));
  out->regular = a + c + e + k - m;
  out->inState = static_cast<double>(Utils::roundR(p));
  out->outOfState = out->exemptTotal - out->inState;
  clampKinds(out);

  if (g != 0) {
    if (federalReturn->formYes(form, copy, Fed166::kSharedAmountUsObligationsBox)) {
      out->usObligations -= g;
    } else {
      spreadOverKinds(out, out->usObligations + out->regular + out->exemptTotal, g);
    }
  }
  readOwner(*federalReturn, form, copy, Fed166::kSpouseBox, Fed166::kJointBox, out);
}

// Form 164 holds hundredths; its U.S. share is a percentage of the
// ordinary dividends.
void StateTaxReturnCalcEngine::readForm164Dividends(FormId, uint16_t copy, IntDivSourceAmounts* out) {
  *out = IntDivSourceAmounts();
  const FormId& form = kFormID_Fed164;
  auto whole = [&](const FieldId& field) { return federalReturn->getIN(form, copy, field); };
  auto dollars = [&](const FieldId& field) { return whole(field) / 100.0; };

  const double a = dollars(Fed164::kOrdinaryDividends);
  const double u = whole(Fed164::kUsObligationPercentage) * a / 10000;
  const double c = dollars(Fed164::kExemptInterestDividends);
  const double d = dollars(Fed164::kInStateExemptInterestDividends);
  double cg = dollars(Fed164::kCapitalGainDistributions) + dollars(Fed164::kOtherCapitalGainDistributions);
  const double g = dollars(Fed164::kSharedAmount);  // shared over the kinds

  out->net = a + c - g;
  out->hasAmount = out->net + g > 0;
  out->net = clampAtZero(out->net);

  if (federalReturn->formYes(form, copy, Fed164::kRestrictedStockBox)) {
    cg = 0;
  } else {
    out->usObligations = static_cast<double>(Utils::roundR(u));
    out->regular = a - out->usObligations;
    out->exemptTotal = static_cast<double>(Utils::roundR(c));
    out->inState = static_cast<double>(Utils::roundR(d));
    if (out->inState > out->exemptTotal) out->inState = out->exemptTotal;
    out->outOfState = out->exemptTotal - out->inState;
  }
  clampKinds(out);

  if (g != 0) {
    out->net = a - spreadOverKinds(out, out->exemptTotal + a + cg, g);
  }
  out->outOfState = clampAtZero(out->outOfState);
  readOwner(*federalReturn, form, copy, Fed164::kSpouseBox, Fed164::kJointBox, out);
}

void StateTaxReturnCalcEngine::readForm51Or89Interest(FormId source, uint16_t copy, IntDivSourceAmounts* out) {
  splitWholeDollarSource(*federalReturn, kInterestWholeDollarSources, source, copy, out);
}

void StateTaxReturnCalcEngine::readForm51Or89Dividends(FormId source, uint16_t copy,
                                                       IntDivSourceAmounts* out) {
  splitWholeDollarSource(*federalReturn, kDividendWholeDollarSources, source, copy, out);
}

}  // namespace StateCalculationMgmt
