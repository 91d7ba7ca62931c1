// The interest and dividend sources and their split routines.

#include "calc/state/int_div_sources.h"

#include "catalogs/catalogs.h"
#include "host/rounding.h"
#include "identifiers/form_ids.h"

namespace StateCalculationMgmt {

namespace {

constexpr FieldRef kNoField = {CatalogId::kNone, 0};

}  // namespace

// A source row whose spouse box and payer name are members of `catalog`.
#define INT_DIV_SOURCE(form, split, catalog, spouse, choice, name, second, restricted)       \
  {&kFormID_##form, &StateTaxReturnCalcEngine::split, {CatalogId::catalog, spouse}, choice,  \
   {CatalogId::catalog, name}, second, restricted}

// Columns 1 to 4 of the interest summary: regular 174, U.S. 178, exempt in
// state 194, exempt out of state 190. Row 182 is the federal form 3 part of
// the U.S. obligations.
const IntDivSummary kInterestSummary = {
    &kFormID_State16,
    CatalogId::State16FieldIds,
    false,
    {// Form 166: spouse box 3, payer name 9, or 78 when box 77 is marked.
     {&kFormID_Fed166, &StateTaxReturnCalcEngine::readForm166Interest,
      {CatalogId::Fed166FieldIds, 56}, {CatalogId::Fed166FieldIds, 61},
      {CatalogId::Fed166FieldIds, 63}, {CatalogId::Fed166FieldIds, 107}, kNoField},
     // Form 51: owner box 367, name 5.
     INT_DIV_SOURCE(Fed51, readForm51Or89Interest, Fed51FieldIds, 289, kNoField, 291, kNoField, kNoField),
     // Form 89: owner box 146, name 9.
     INT_DIV_SOURCE(Fed89, readForm51Or89Interest, Fed89FieldIds, 94, kNoField, 98, kNoField, kNoField)},
    {174, 178, 194, 190},
    {174, 178, 182, 190, 194, 0},
    true};

// Columns of the dividend summary: regular 174, U.S. 178, in state 186,
// out of state 182.
const IntDivSummary kDividendSummary = {
    &kFormID_State17,
    CatalogId::State17FieldIds,
    true,
    {// Form 164: spouse box 3, payer name 5, restricted-stock box 19.
     INT_DIV_SOURCE(Fed164, readForm164Dividends, Fed164FieldIds, 35, kNoField, 40, kNoField,
                    (FieldRef{CatalogId::Fed164FieldIds, 68})),
     INT_DIV_SOURCE(Fed51, readForm51Or89Dividends, Fed51FieldIds, 289, kNoField, 291, kNoField, kNoField),
     INT_DIV_SOURCE(Fed89, readForm51Or89Dividends, Fed89FieldIds, 94, kNoField, 98, kNoField, kNoField)},
    {174, 178, 186, 182},
    {174, 178, 182, 186, 0},
    false};

#undef INT_DIV_SOURCE

const Primitives::OVImmutableIdentifier& summaryField(const IntDivSummary& summary, int number) {
  return fieldOf({summary.catalog, number - 1});
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

// Forms 51 and 89, interest and dividends: host fields read as whole
// dollars. Dividends have no exempt or in-state amount (member -1).
struct WholeDollarSource {
  const FormId* form;
  CatalogId catalog;
  int total;
  int usObligations;
  int exemptTotal;
  int inState;
  int ownerBox;
};

const WholeDollarSource kInterestWholeDollarSources[] = {
    // 51: total 17, U.S. 341, exempt 209, in state 383, owner 367.
    {&kFormID_Fed51, CatalogId::Fed51FieldIds, 329, 330, 190, 493, 289},
    // 89: total 15, U.S. 139, exempt 130, in state 153, owner 146.
    {&kFormID_Fed89, CatalogId::Fed89FieldIds, 101, 102, 55, 174, 94},
};
const WholeDollarSource kDividendWholeDollarSources[] = {
    // 51: total 18, U.S. 381, owner 367.
    {&kFormID_Fed51, CatalogId::Fed51FieldIds, 331, 332, -1, -1, 289},
    // 89: total 16, U.S. 151, owner 146.
    {&kFormID_Fed89, CatalogId::Fed89FieldIds, 103, 104, -1, -1, 94},
};

void splitWholeDollarSource(const DataMgmt::TaxReturn& federal, const WholeDollarSource (&table)[2],
                            const FormId& source, uint16_t copy, IntDivSourceAmounts* out) {
  *out = IntDivSourceAmounts();
  for (const WholeDollarSource& row : table) {
    if (*row.form != source) continue;
    auto read = [&](int member) -> double {
      if (member < 0) return 0;
      return static_cast<double>(federal.getIN(source, copy, fieldOf({row.catalog, member})));
    };
    const double total = read(row.total);
    out->usObligations = read(row.usObligations);
    out->exemptTotal = read(row.exemptTotal);
    out->inState = read(row.inState);
    out->net = out->exemptTotal + total;
    out->regular = total - out->usObligations;
    out->outOfState = clampAtZero(out->exemptTotal - out->inState);
    out->hasAmount = out->net > 0;
    out->owner = federal.formYes(source, copy, fieldOf({row.catalog, row.ownerBox})) ? 1 : 0;
    return;
  }
}

}  // namespace

void StateTaxReturnCalcEngine::readForm166Interest(FormId, uint16_t copy, IntDivSourceAmounts* out) {
  *out = IntDivSourceAmounts();
  const FormId& form = kFormID_Fed166;
  auto whole = [&](int member) { return federalReturn->getIN(form, copy, kFed166FieldIds[member]); };
  auto dollars = [&](int member) { return whole(member) / 100.0; };

  const double a = dollars(65);                         // host field 10
  const double b = dollars(67);                         // 12
  const double c = dollars(87);                         // 17
  const double d = dollars(96);                         // 54
  const double e = dollars(113);                        // 79
  const double g = dollars(120);                        // 27: the amount shared over the kinds
  const double p = (whole(74) + whole(100)) / 100.0;    // 83 + 84: exempt from this state
  const long f18 = whole(88);
  const long f197490 = whole(99);
  const long f48 = whole(73);
  double k, x, m;
  if (f18 > 0 && f197490 > 0) {
    k = 0;
    x = (f18 + f197490 + f48) / 100.0;
    m = 0;
  } else {
    k = f18 / 100.0;
    x = (f197490 + f48) / 100.0;
    m = dollars(89);  // 53
  }

  out->net = a + b + c + d + e + k + x - g;
  out->hasAmount = out->net + g > 0;
  out->net = clampAtZero(out->net);

  out->usObligations = b + d + m;
  out->exemptTotal = static_cast<double>(Utils::roundR(x));
  out->regular = a + c + e + k - m;
  out->inState = static_cast<double>(Utils::roundR(p));
  out->outOfState = out->exemptTotal - out->inState;
  out->regular = clampAtZero(out->regular);
  out->exemptTotal = clampAtZero(out->exemptTotal);
  out->inState = clampAtZero(out->inState);
  out->outOfState = clampAtZero(out->outOfState);

  if (g != 0) {
    if (federalReturn->formYes(form, copy, kFed166FieldIds[118])) {  // 25: all from U.S. obligations
      out->usObligations -= g;
    } else {
      spreadOverKinds(out, out->usObligations + out->regular + out->exemptTotal, g);
    }
  }

  if (federalReturn->formYes(form, copy, kFed166FieldIds[56])) {         // 3
    out->owner = 1;
  } else if (federalReturn->formYes(form, copy, kFed166FieldIds[57])) {  // 4
    out->owner = 2;
  }
}

void StateTaxReturnCalcEngine::readForm164Dividends(FormId, uint16_t copy, IntDivSourceAmounts* out) {
  *out = IntDivSourceAmounts();
  const FormId& form = kFormID_Fed164;
  auto whole = [&](int member) { return federalReturn->getIN(form, copy, kFed164FieldIds[member]); };
  auto dollars = [&](int member) { return whole(member) / 100.0; };

  const double a = dollars(42);                          // host field 6
  const double u = whole(43) * a / 10000;                // 40: U.S. percentage in hundredths
  const double c = dollars(58);                          // 41
  const double d = dollars(59);                          // 52
  double cg = dollars(46) + dollars(50);                 // 7 + 11: capital-gain amounts
  const double g = dollars(70);                          // 32: the amount shared over the kinds

  out->net = a + c - g;
  out->hasAmount = out->net + g > 0;
  out->net = clampAtZero(out->net);

  if (federalReturn->formYes(form, copy, kFed164FieldIds[68])) {  // 19: restricted stock
    cg = 0;
  } else {
    out->usObligations = static_cast<double>(Utils::roundR(u));
    out->regular = a - out->usObligations;
    out->exemptTotal = static_cast<double>(Utils::roundR(c));
    out->inState = static_cast<double>(Utils::roundR(d));
    if (out->inState > out->exemptTotal) out->inState = out->exemptTotal;
    out->outOfState = out->exemptTotal - out->inState;
  }
  out->regular = clampAtZero(out->regular);
  out->exemptTotal = clampAtZero(out->exemptTotal);
  out->inState = clampAtZero(out->inState);
  out->outOfState = clampAtZero(out->outOfState);

  if (g != 0) {
    out->net = a - spreadOverKinds(out, out->exemptTotal + a + cg, g);
  }
  out->outOfState = clampAtZero(out->outOfState);

  if (federalReturn->formYes(form, copy, kFed164FieldIds[35])) {         // 3
    out->owner = 1;
  } else if (federalReturn->formYes(form, copy, kFed164FieldIds[36])) {  // 4
    out->owner = 2;
  }
}

void StateTaxReturnCalcEngine::readForm51Or89Interest(FormId source, uint16_t copy, IntDivSourceAmounts* out) {
  splitWholeDollarSource(*federalReturn, kInterestWholeDollarSources, source, copy, out);
}

void StateTaxReturnCalcEngine::readForm51Or89Dividends(FormId source, uint16_t copy,
                                                       IntDivSourceAmounts* out) {
  splitWholeDollarSource(*federalReturn, kDividendWholeDollarSources, source, copy, out);
}

}  // namespace StateCalculationMgmt
