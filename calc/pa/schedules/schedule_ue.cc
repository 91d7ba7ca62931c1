// computeScheduleUE: one copy of PA Schedule UE (state form 178),
// unreimbursed employee business expenses of the taxpayer or the spouse.
//
// Each copy belongs to one person, by its owner boxes 12 and 13 (only a
// joint return can have a spouse's copy). The sections (vehicle, dues and
// fees, office, moving, education, depreciation) open and close their
// entries by the user's answers; a closed section protects its inputs and
// the next calculation that opens it unprotects them again. The summary
// lines are totalled into the net amount (field 130), which the PA-40 reads
// with the owner boxes and the flag amounts 150 and 151. Amounts are not
// rounded; the vehicle share and the office ratio are held at 6 and 4
// decimal places and the products use the held values.
#include <cstdint>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::TaxForm;
using DataMgmt::TaxFormPtr;

namespace {

// Schedule UE fields: PAScheduleUEFieldIds members, named by host field.
enum UEField : int {
  f150 = 9, f151 = 10, f163 = 11, f164 = 12, f165 = 13, f166 = 14, f12 = 15, f13 = 16, f14 = 17,
  f15 = 18, f39 = 33, f41 = 35, f43 = 37, f45 = 39, f46 = 40, f157 = 41, f158 = 42, f24 = 43,
  f25 = 44, f26 = 45, f28 = 46, f207097 = 47, f207098 = 48, f207099 = 49, f207100 = 50, f31 = 51,
  f207101 = 52, f33 = 53, f34 = 54, f35 = 55, f36 = 56, f37 = 57, f127 = 60, f131 = 61, f132 = 62,
  f133 = 63, f134 = 64, f135 = 65, f136 = 66, f137 = 67, f128 = 68, f159 = 69, f160 = 70, f129 = 71,
  f130 = 72, f161 = 73, f162 = 74, f72 = 75, f73 = 76, f47 = 77, f48 = 78, f49 = 79, f50 = 80,
  f51 = 81, f52 = 82, f53 = 83, f54 = 84, f55 = 85, f56 = 87, f57 = 88, f58 = 89, f60 = 90, f62 = 91,
  f63 = 92, f64 = 93, f65 = 94, f66 = 95, f67 = 96, f68 = 97, f69 = 98, f71 = 99, f74 = 100,
  f75 = 101, f76 = 102, f23883 = 103, f23884 = 104, f77 = 105, f78 = 106, f79 = 107, f80 = 108,
  f81 = 109, f82 = 110, f83 = 111, f84 = 112, f85 = 113, f86 = 114, f87 = 115, f88 = 116, f89 = 117,
  f90 = 118, f91 = 119, f93 = 122, f96 = 124, f97 = 125, f99 = 128, f102 = 130, f103 = 131,
  f105 = 134, f108 = 136, f109 = 137, f111 = 140, f114 = 142, f115 = 143, f116 = 144,
};

const FieldId& id(UEField f) { return kPAScheduleUEFieldIds[f]; }

const double kMileageRate = 0.545;  // per business mile
const int8_t kSharePlaces = 6;      // the vehicle business share
const int8_t kRatioPlaces = 4;      // the office ratio
const long kMovingDistance = 35;    // miles that pass the distance test

// The entries of the office or work area section, opened while all three
// of its questions are answered yes.
const UEField kOfficeEntries[] = {f69, f53, f54, f55, f56, f57, f58, f60, f62, f65, f64};
// What a closed office section nulls: its entries and its results.
const UEField kOfficeNulled[] = {f69, f53, f54, f55, f56, f57, f58, f60,
                                 f62, f63, f65, f64, f66, f67, f68, f71};
// The education entries and the questions that close with the section.
const UEField kEducationEntries[] = {f82, f83, f84, f85, f86, f87, f88, f89, f90};
const UEField kEducationQuestions[] = {f82, f83, f84, f85};
const UEField kEducationAmounts[] = {f88, f89, f90, f91};

// One depreciation row: the cost basis limits the first amount, and what
// is left of it the second.
struct DepreciationRow {
  UEField basis, first, second;
};
const DepreciationRow kDepreciationRows[] = {
    {f93, f96, f97}, {f99, f102, f103}, {f105, f108, f109}, {f111, f114, f115},
};

// Each summary line and the section total it shows, in the order filled.
struct SummaryLine {
  UEField line, source;
};
const SummaryLine kSummaryLines[] = {
    {f132, f37}, {f131, f46}, {f134, f71}, {f135, f79}, {f136, f91}, {f137, f116}, {f133, f127},
};

// The copy in hand, its fields named by host field.
class UECopy {
 public:
  explicit UECopy(TaxFormPtr form) : holder_(form), form_(*form) {}

  TaxForm& form() { return form_; }
  double value(UEField f) const { return form_.getIR(id(f)); }
  long whole(UEField f) const { return form_.getIN(id(f)); }
  bool marked(UEField f) const { return form_.xMarked(id(f)); }
  void x(UEField f) { form_.setX(id(f)); }
  void no(UEField f) { form_.setXNo(id(f)); }
  void assign(UEField f, double v) { form_.assignIR(id(f), v); }
  void null(UEField f) { form_.setNull(id(f)); }
  void protect(UEField f) { form_.makeProtected(id(f)); }
  void unprotect(UEField f) { form_.unProtect(id(f)); }
  void close(UEField f) { form_.makeProtectedAndSetNull(id(f)); }
  // Utils::setDefaultX on the copy: marks a when none of a, b, c is marked.
  void defaultX(UEField a, UEField b, UEField c) { Utils::setDefaultX(holder_, id(a), id(b), id(c)); }

 private:
  TaxFormPtr holder_;
  TaxForm& form_;
};

// Copy markers 163-166: the first copy carries them.
void markFirstCopy(UECopy& ue, uint16_t copy, bool joint) {
  if (copy == 1) {
    ue.x(f163);
    if (joint) {
      ue.form().oneX(id(f164), id(f165), id(f166));
    } else {
      ue.x(f164);
      ue.null(f165);
      ue.null(f166);
    }
  } else {
    ue.no(f163);
    ue.null(f164);
    ue.null(f165);
    ue.null(f166);
  }
}

// Vehicle: the mileage rate (box 24), the business share of actual costs
// (box 25), or, with neither box, the section as the user left it.
void fillVehicle(PATaxReturnCalcEngine& engine, UECopy& ue, uint16_t copy) {
  for (UEField f : {f25, f24, f35, f36, f34}) ue.unprotect(f);
  ue.defaultX(f24, f24, f25);
  TaxForm& form = ue.form();
  if (ue.marked(f24)) {
    for (UEField f : {f207097, f207098, f207100, f31}) ue.close(f);
    for (UEField f : {f207099, f207101, f33}) ue.null(f);
    ue.unprotect(f26);
    form.timesIR(id(f28), id(f26), kMileageRate);
    form.plus4(id(f37), id(f28), id(f36), id(f34), id(f35));
  } else if (ue.marked(f25)) {
    ue.close(f26);
    ue.close(f28);
    for (UEField f : {f207097, f207098, f207100, f31}) ue.unprotect(f);
    form.minII(id(f207098), id(f207098), id(f207097));
    double share = ue.whole(f207097) > 0 ? ue.value(f207098) / ue.value(f207097) : 0.0;
    engine.copyNumberField(kFormID_PAScheduleUE, copy, id(f207099), share, kSharePlaces);
    form.plus2(id(f207101), id(f207100), id(f31));
    form.timesIR(id(f33), id(f207101), share);
    form.plus4(id(f37), id(f33), id(f36), id(f34), id(f35));
  }
}

// Office or work area: open only when all three questions are yes.
void fillOffice(PATaxReturnCalcEngine& engine, UECopy& ue, uint16_t copy) {
  TaxForm& form = ue.form();
  if (!(ue.marked(f51) && ue.marked(f49) && ue.marked(f47))) {
    for (UEField f : kOfficeEntries) ue.protect(f);
    for (UEField f : kOfficeNulled) ue.null(f);
    return;
  }
  for (UEField f : kOfficeEntries) ue.unprotect(f);
  form.plus8(id(f63), id(f53), id(f54), id(f55), id(f56), id(f57), id(f58), id(f60), id(f62));
  double ratio = 0.0;
  if (ue.whole(f64) > 0) {
    form.minII(id(f65), id(f65), id(f64));
    ratio = static_cast<double>(ue.whole(f65)) / static_cast<double>(ue.whole(f64));
  }
  engine.copyNumberField(kFormID_PAScheduleUE, copy, id(f66), ratio, kRatioPlaces);
  form.assignII(id(f67), id(f66));
  form.timesIR(id(f68), id(f63), ratio);
  form.plus2(id(f71), id(f68), id(f69));
}

// Moving: open when the distance test passes, or when the military pair
// exempts the move from it.
void fillMoving(UECopy& ue) {
  TaxForm& form = ue.form();
  form.minusIIge0(id(f76), id(f74), id(f75));
  bool open = ue.whole(f76) >= kMovingDistance;
  if (!open) {
    ue.unprotect(f23883);
    ue.unprotect(f23884);
    ue.defaultX(f23884, f23884, f23883);
    open = ue.marked(f23883);
  }
  if (open) {
    ue.unprotect(f77);
    ue.unprotect(f78);
    form.plus2(id(f79), id(f77), id(f78));
  } else {
    ue.null(f77);
    ue.null(f78);
    ue.null(f79);
    ue.no(f23883);
    ue.x(f23884);
  }
}

// Education: open when box 80 and both answers 83 and 85 are marked.
void fillEducation(UECopy& ue) {
  ue.defaultX(f81, f80, f81);
  const bool asked = ue.marked(f80);
  bool open = false;
  if (asked) {
    ue.defaultX(f82, f83, f83);
    ue.defaultX(f84, f85, f85);
    open = ue.marked(f85) && ue.marked(f83);
    if (open) ue.form().plus3(id(f91), id(f88), id(f89), id(f90));
  }
  for (UEField f : kEducationEntries) ue.unprotect(f);
  if (open) return;
  ue.null(f86);
  ue.null(f87);
  for (UEField f : {f86, f87}) ue.protect(f);
  for (UEField f : kEducationAmounts) {
    ue.protect(f);
    ue.null(f);
  }
  if (!asked) {
    for (UEField f : kEducationQuestions) {
      ue.protect(f);
      ue.no(f);
    }
  }
}

void fillDepreciation(UECopy& ue) {
  TaxForm& form = ue.form();
  for (const DepreciationRow& row : kDepreciationRows) {
    const double basis = ue.value(row.basis);
    const double first = ue.value(row.first);
    if (basis > 0) {
      form.minIR(id(row.first), id(row.first), basis);
      const double left = basis - first;
      if (left <= 0) {
        ue.assign(row.second, 0);
      } else {
        form.minIR(id(row.second), id(row.second), left);
      }
    } else {
      ue.null(row.second);
      ue.null(row.first);
    }
  }
  form.plus8(id(f116), id(f96), id(f97), id(f102), id(f103), id(f108), id(f109), id(f114), id(f115));
}

}  // namespace

void PATaxReturnCalcEngine::computeScheduleUE(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr) return;
  UECopy ue(form);
  const uint8_t filingStatus = paReturn->readFilingStatus(kFormID_PAReturnInfo);
  const bool joint = filingStatus == 2;

  ue.defaultX(f160, f160, f159);
  ue.defaultX(f162, f162, f161);
  markFirstCopy(ue, copy, joint);

  if (joint) {
    ue.unprotect(f12);
    ue.unprotect(f13);
    ue.defaultX(f12, f13, f13);
  } else {
    ue.x(f12);
    ue.no(f13);
    ue.protect(f12);
    ue.protect(f13);
  }

  // The number text is the return's first number on either person's copy
  // (the form asks for the number shown first on the return).
  const FieldId& none = Primitives::kNullFieldID;
  if (ue.marked(f12)) {
    copyNameText(form, kFormID_PAReturnInfo, filingStatus, 0, id(f14), id(f15), none, none, none, none, none,
                 none, none, 0);
    ue.assign(f150, 1);
    ue.assign(f151, 0);
  } else {
    copyNameText(form, kFormID_PAReturnInfo, filingStatus, 0, none, none, none, id(f15), id(f14), none, none,
                 none, none, 0);
    ue.assign(f150, 0);
    ue.assign(f151, 1);
  }
  form->assignII(id(f72), id(f14));
  form->assignII(id(f73), id(f15));

  ue.defaultX(f158, f158, f157);
  fillVehicle(*this, ue, copy);

  form->plus4(id(f46), id(f39), id(f41), id(f43), id(f45));
  ue.defaultX(f48, f47, f48);
  ue.defaultX(f50, f49, f50);
  ue.defaultX(f52, f51, f52);
  fillOffice(*this, ue, copy);
  fillMoving(ue);
  fillEducation(ue);
  fillDepreciation(ue);

  ue.unprotect(f127);
  for (const SummaryLine& s : kSummaryLines) {
    ue.assign(s.line, static_cast<double>(paReturn->getIN(kFormID_PAScheduleUE, copy, id(s.source))));
  }
  form->plus7(id(f128), id(f131), id(f132), id(f133), id(f134), id(f135), id(f136), id(f137));
  form->minusII(id(f130), id(f128), id(f129));

  if (paReturn->getIN(kFormID_PAScheduleUE, copy, id(f130)) != 0) {
    paReturn->setDataEntered(kFormID_PAScheduleUE, copy, true, false);
    form->setCalcMark(true);
  }
}

}  // namespace PACalculationMgmt
