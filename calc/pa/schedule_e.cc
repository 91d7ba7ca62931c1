// computeScheduleE: one copy of PA Schedule E (state form 174), rents and
// royalties of one property.
//
// The driver links each copy to its federal source: field 201 holds the
// source's copy number, mark 202 a federal Schedule E source, mark 203 a
// federal farm-rental source. A copy with neither mark keeps its property
// and amount fields as the user left them; only the names, the filer-level
// part and the data marks are worked out for it. Federal amounts are whole
// dollars and are written unscaled.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "host/form_defaults.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace PACalculationMgmt {

using DataMgmt::FieldId;
using DataMgmt::TaxFormPtr;

namespace {

// PA Schedule E fields: PAScheduleEFieldIds members, named by host field.
enum PAField : int {
  pa201 = 1, pa202 = 2, pa203 = 3, pa204 = 4, pa207 = 7, pa208 = 8, pa210 = 10, pa225 = 11,
  pa226 = 12, pa42777 = 13, pa46380 = 16, pa211 = 17, pa212 = 18, pa213 = 19, pa4 = 20, pa5 = 21,
  pa207074 = 22, pa207075 = 23, pa207076 = 24, pa21669 = 25, pa21670 = 26, pa209581 = 27,
  pa209582 = 28, pa209583 = 29, pa209584 = 30, pa209585 = 31, pa209586 = 32, pa209587 = 33,
  pa210193 = 34, pa163 = 35, pa165 = 37, pa164 = 38, pa166 = 39, pa167 = 40, pa207080 = 53,
  pa18 = 54, pa19 = 55, pa26 = 60, pa207081 = 63, pa207082 = 64, pa207087 = 69, pa207088 = 70,
  pa30 = 75, pa31 = 76, pa34 = 78, pa50 = 81, pa54 = 84, pa58 = 87, pa62 = 90, pa74 = 93, pa78 = 96,
  pa82 = 99, pa86 = 102, pa90 = 105, pa94 = 108, pa98 = 111, pa102 = 114, pa106 = 117, pa66 = 120,
  pa216 = 123, pa217 = 124, pa110 = 125, pa178 = 126, pa111 = 129, pa181 = 130, pa184 = 133,
  pa185 = 134, pa188 = 137, pa189 = 138, pa116 = 141, pa118 = 143, pa120 = 144, pa192 = 147,
  pa124 = 150, pa218 = 153, pa129 = 154, pa207093 = 155, pa207094 = 156, pa207095 = 157,
  pa207096 = 158, pa219 = 159, pa220 = 160, pa221 = 161, pa222 = 162, pa195 = 163, pa196 = 164,
  pa199 = 165, pa200 = 166,
};

// Federal Schedule E fields: FedScheduleEFieldIds members, named by host field.
enum FedField : int {
  fedNone = -1,
  fed27767 = 296, fed27768 = 297, fed27769 = 298, fed158 = 303, fed159 = 304, fed261 = 305,
  fed131614 = 306, fed79570 = 307, fed259 = 308, fed260 = 309, fed184 = 310, fed52021 = 311,
  fed150654 = 256, fed150656 = 313, fed150657 = 314, fed28 = 377, fed31 = 381, fed37 = 387,
  fed67 = 391, fed34 = 395, fed276 = 399, fed82 = 403, fed49 = 407, fed70 = 415, fed40 = 419,
  fed192 = 423, fed231 = 427, fed234 = 431, fed237 = 435, fed240 = 439, fed243 = 443, fed61 = 461,
  fed64 = 467, fed73 = 471, fed46 = 475, fed76 = 479, fed332 = 480, fed336 = 484, fed337 = 485,
  fed341 = 489, fed342 = 490, fed346 = 494, fed347 = 495, fed351 = 499,
};

const FieldId& id(PAField f) { return kPAScheduleEFieldIds[f]; }
const FieldId& id(FedField f) { return f == fedNone ? Primitives::kNullFieldID : kFedScheduleEFieldIds[f]; }

const int kTextSize = 128;  // federal texts and the address line

// Expense lines copied from the federal Schedule E: the sum of up to four
// federal fields.
struct ExpenseLine {
  PAField target;
  FedField sources[4];
};
const ExpenseLine kExpenseLines[] = {
    {pa50, {fed31, fedNone, fedNone, fedNone}},   {pa54, {fed37, fedNone, fedNone, fedNone}},
    {pa58, {fed67, fedNone, fedNone, fedNone}},   {pa62, {fed34, fedNone, fedNone, fedNone}},
    {pa74, {fed70, fedNone, fedNone, fedNone}},   {pa78, {fed40, fedNone, fedNone, fedNone}},
    {pa82, {fed192, fedNone, fedNone, fedNone}},  {pa90, {fed231, fedNone, fedNone, fedNone}},
    {pa94, {fed73, fedNone, fedNone, fedNone}},   {pa98, {fed46, fedNone, fedNone, fedNone}},
    {pa86, {fed234, fed237, fed240, fed243}},     {pa102, {fed61, fed64, fed49, fedNone}},
    {pa106, {fed76, fedNone, fedNone, fedNone}},
};

// The four "other expense" lines: a description and its amount.
struct OtherExpense {
  PAField text;
  FedField textSource;
  PAField amount;
  FedField amountSource;
};
const OtherExpense kOtherExpenses[] = {
    {pa110, fed332, pa178, fed336},
    {pa111, fed337, pa181, fed341},
    {pa184, fed342, pa185, fed346},
    {pa188, fed347, pa189, fed351},
};

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

// The PA copy in hand, its fields named by host field.
class ScheduleECopy {
 public:
  explicit ScheduleECopy(DataMgmt::TaxForm& form) : form_(form) {}

  DataMgmt::TaxForm& form() { return form_; }
  void x(PAField f) { form_.setX(id(f)); }
  void no(PAField f) { form_.setXNo(id(f)); }
  void markIf(PAField f, bool marked) { marked ? x(f) : no(f); }
  void null(PAField f) { form_.setNull(id(f)); }
  void assign(PAField f, double value) { form_.assignIR(id(f), value); }
  void text(PAField f, const char* value) { form_.assignText(id(f), value); }
  void protect(PAField f) { form_.makeProtected(id(f)); }
  void unprotect(PAField f) { form_.unProtect(id(f)); }
  void protectAndNull(PAField f) { form_.makeProtectedAndSetNull(id(f)); }
  void oneX2AndDefault(PAField a, PAField b) { form_.oneX2AndDefault(id(a), id(b)); }
  bool marked(PAField f) const { return form_.xMarked(id(f)); }
  bool significant(PAField f) const { return form_.hasSigValue(id(f)); }
  double value(PAField f) const { return form_.getIR(id(f)); }

 private:
  DataMgmt::TaxForm& form_;
};

// One copy of the federal Schedule E.
class FederalScheduleE {
 public:
  FederalScheduleE(const DataMgmt::TaxReturn& federal, uint16_t copy) : federal_(federal), copy_(copy) {}

  bool yes(FedField f) const { return federal_.formYes(kFormID_FedScheduleE, copy_, id(f)); }
  long amount(FedField f) const { return federal_.getIN(kFormID_FedScheduleE, copy_, id(f)); }
  char* text(char* out, FedField f) const {
    return federal_.formString(out, kTextSize, kFormID_FedScheduleE, copy_, id(f));
  }

 private:
  const DataMgmt::TaxReturn& federal_;
  uint16_t copy_;
};

// The mark pair 207081/207082 (207081 is what a federal property in "PA"
// gets): a full-year resident chooses, 207081 by default; anyone else gets
// 207081 exactly when the property is taxable for PA (21669).
void choosePropertyKind(ScheduleECopy& e, int residency) {
  if (residency == 0) {
    e.unprotect(pa207081);
    e.unprotect(pa207082);
    e.oneX2AndDefault(pa207081, pa207082);
  } else {
    e.markIf(pa207081, e.marked(pa21669));
    e.markIf(pa207082, !e.marked(pa21669));
  }
}

// Owner marks 18, 19, 26 of a federal Schedule E copy; the user chooses
// (42777 marked) when a joint return's federal copy names no owner.
void copyOwner(ScheduleECopy& e, TaxFormPtr form, const FederalScheduleE& source, bool joint) {
  if (!joint) {
    e.x(pa18);
    e.null(pa19);
    e.null(pa26);
    // Only a joint return can lack an owner.
    e.null(pa42777);
    return;
  }
  const struct {
    FedField federal;
    PAField owner;
  } kOwners[] = {{fed27767, pa18}, {fed27768, pa19}, {fed27769, pa26}};
  for (const auto& owner : kOwners) {
    if (!source.yes(owner.federal)) continue;
    for (PAField f : {pa18, pa26, pa19, pa42777}) e.null(f);
    e.x(owner.owner);
    return;
  }
  e.unprotect(pa19);
  e.unprotect(pa26);
  e.unprotect(pa18);
  Utils::setDefaultX(form, id(pa18), id(pa19), id(pa26));
  e.x(pa42777);
}

// Property address and identification texts. A foreign address (79570)
// builds the address line from other parts.
void copyAddress(ScheduleECopy& e, const FederalScheduleE& source) {
  char f259[kTextSize], f260[kTextSize], f184[kTextSize], f52021[kTextSize];
  char f150654[kTextSize], f150656[kTextSize], f150657[kTextSize], f131614[kTextSize];
  const struct {
    char* text;
    FedField field;
    PAField target;
  } kParts[] = {
      {f259, fed259, pa165},         {f260, fed260, pa209582},       {f184, fed184, pa209583},
      {f52021, fed52021, pa209584},  {f150654, fed150654, pa209585}, {f150656, fed150656, pa209586},
      {f150657, fed150657, pa209587}, {f131614, fed131614, pa207080},
  };
  for (const auto& part : kParts) source.text(part.text, part.field);
  const bool foreignAddress = source.yes(fed79570);
  e.markIf(pa209581, foreignAddress);
  // A longer address line is cut at its end.
  char line[kTextSize];
  const int length = std::snprintf(line, sizeof line, "%s, %s %s", f260, foreignAddress ? f150654 : f184,
                                   foreignAddress ? f150657 : f52021);
  if (length < 0) line[0] = '\0';
  for (const auto& part : kParts) e.text(part.target, part.text);
  e.text(pa167, line);
}

// Property type, rental or royalty marks and the PA sales-tax license pair.
void copyPropertyType(ScheduleECopy& e, const FederalScheduleE& source, int residency) {
  char type[kTextSize];
  source.text(type, fed261);
  if (source.yes(fed158)) {
    if (std::strcmp(type, "6") == 0) type[0] = '\0';
    e.text(pa163, type);
    char state[kTextSize];
    const bool inPA = std::strcmp(source.text(state, fed184), "PA") == 0;
    e.markIf(pa207081, inPA);
    e.markIf(pa207082, !inPA);
    if (std::strcmp(type, "3") == 0) {
      e.protect(pa207087);
      e.protect(pa207088);
      e.no(pa207087);
      e.x(pa207088);
    } else {
      e.unprotect(pa207087);
      e.unprotect(pa207088);
      e.oneX2AndDefault(pa207087, pa207088);
      if (e.marked(pa207087) && e.marked(pa207081)) {
        for (PAField f : {pa207074, pa207075, pa207076}) e.unprotect(f);
        e.oneX2AndDefault(pa207075, pa207076);
      } else {
        for (PAField f : {pa207074, pa207075, pa207076}) e.protectAndNull(f);
      }
    }
    e.x(pa207);
    e.no(pa208);
  }
  for (const PropertyType& kind : kPropertyTypes) {
    if (std::strcmp(type, kind.code) == 0) e.text(pa210193, kind.text);
  }
  if (std::strcmp(type, "8") != 0 && source.yes(fed159)) {
    e.text(pa163, "6");
    e.text(pa210193, "Royalty");
    e.null(pa165);
    e.null(pa167);
    choosePropertyKind(e, residency);
    e.x(pa207088);
    e.protectAndNull(pa207087);
    e.no(pa207);
    e.x(pa208);
  }
}

// Income and expenses; returns the net (income less total expenses).
double copyAmounts(ScheduleECopy& e, TaxFormPtr form, const FederalScheduleE& source) {
  const double income = static_cast<double>(source.amount(fed28));
  if (source.yes(fed158)) {
    e.assign(pa30, income);
    e.null(pa34);
  } else {
    e.assign(pa34, income);
    e.null(pa30);
  }
  for (const ExpenseLine& line : kExpenseLines) {
    long sum = 0;
    for (FedField f : line.sources) sum += f == fedNone ? 0 : source.amount(f);
    e.assign(line.target, static_cast<double>(sum));
  }
  // Line 66 takes the federal amounts unless the user chose (217) to enter it.
  e.unprotect(pa216);
  e.unprotect(pa217);
  Utils::setDefaultX(form, id(pa216), id(pa216), id(pa217));
  if (e.marked(pa216)) {
    e.protect(pa66);
    e.assign(pa66, static_cast<double>(source.amount(fed82) + source.amount(fed276)));
  } else {
    e.unprotect(pa66);
  }
  for (const OtherExpense& other : kOtherExpenses) {
    char text[kTextSize];
    e.text(other.text, source.text(text, other.textSource));
    e.assign(other.amount, static_cast<double>(source.amount(other.amountSource)));
  }
  e.form().setValueToSumOf(id(pa116), {id(pa50), id(pa54), id(pa58), id(pa62), id(pa66), id(pa74),
                                        id(pa78), id(pa82), id(pa86), id(pa90), id(pa94), id(pa98),
                                        id(pa102), id(pa106), id(pa178), id(pa181), id(pa185), id(pa189)});

  // Rents (30) or royalties (34): an amount on both lines counts as none.
  double received = 0.0;
  if (e.significant(pa30) && !e.significant(pa34)) received = e.value(pa30);
  if (e.significant(pa34) && !e.significant(pa30)) received = e.value(pa34);
  return received - e.value(pa116);
}

// The PA result of a federal Schedule E property: income (120) or loss
// (124 marked, 192), and the part in PA income (129) with its column.
void writeScheduleEResult(ScheduleECopy& e, double net) {
  if (!e.marked(pa21669)) {
    e.null(pa129);
    e.null(pa207094);
    e.null(pa207096);
    return;
  }
  const bool loss = net < 0;
  // A loss counts only when 164 is marked.
  const double result = !loss ? net : e.marked(pa164) ? net : 0.0;
  if (loss) {
    e.null(pa120);
    e.x(pa124);
    e.assign(pa192, result);
  } else {
    e.assign(pa120, net);
    e.null(pa192);
    e.no(pa124);
  }
  e.assign(pa129, result);
  // Column 207094/207093 (207087 marked) or column 207096/207095; the
  // loss mark of the column in use follows the result, the other's is No.
  const bool firstColumn = e.marked(pa207087);
  e.assign(firstColumn ? pa207094 : pa207096, result);
  e.null(firstColumn ? pa207096 : pa207094);
  e.markIf(firstColumn ? pa207093 : pa207095, loss);
  e.no(firstColumn ? pa207095 : pa207093);
}

// The PA result of a farm rental: the same lines, but a loss that does
// not count clears the loss mark of its column.
void writeFarmRentalResult(ScheduleECopy& e, double net) {
  if (!e.marked(pa21669)) {
    e.null(pa129);
    e.null(pa207096);
    e.no(pa207095);
    return;
  }
  if (net >= 0) {
    e.assign(pa120, net);
    e.null(pa192);
    e.no(pa124);
    e.no(pa207095);
    e.assign(pa129, net);
    e.assign(pa207096, net);
    return;
  }
  e.null(pa120);
  e.x(pa124);
  e.x(pa207095);
  const double result = e.marked(pa164) ? net : 0.0;
  e.assign(pa192, result);
  e.assign(pa129, result);
  e.assign(pa207096, result);
  if (!e.marked(pa164)) e.no(pa207095);
}

}  // namespace

void PATaxReturnCalcEngine::computeScheduleE(TaxFormPtr form, uint16_t copy, int /*passOn*/) {
  if (form.isNull() || paReturn == nullptr || federalReturn == nullptr) return;
  ScheduleECopy e(*form);
  const DataMgmt::TaxReturn& federal = *federalReturn;
  const FieldId& none = Primitives::kNullFieldID;

  // 1. Source.
  enum { kNoSource, kFederalScheduleE, kFarmRental } source = kNoSource;
  e.no(pa211);
  e.no(pa212);
  if (e.marked(pa202)) {
    source = kFederalScheduleE;
    e.x(pa211);
  } else if (e.marked(pa203)) {
    source = kFarmRental;
    e.x(pa212);
  }

  // 2. Names.
  const uint16_t status = paReturn->readFilingStatus(kFormID_PAReturnInfo);
  const bool joint = status == 2;
  copyNameText(form, kFormID_PAReturnInfo, status, 0, id(pa4), id(pa5), none, none, none, none, none, none,
               none, 0);

  // 3-5. Filer-level part from federal form 12.
  const auto fed12 = [&](int member) { return federal.getIN(kFormID_Fed12, 1, kFed12FieldIds[member]); };
  const long f100 = fed12(235), f101 = fed12(333), f165 = fed12(295), f190 = fed12(316);
  e.markIf(pa204, f100 == 0 && f165 == 0 && f190 == 0 && f101 == 0);
  const long taxpayerPart = f100 + f101;
  const long spousePart = f165 + f190;
  e.markIf(pa225, taxpayerPart == 0);
  if (copy == 1 && spousePart != 0) {
    e.x(pa226);
    e.x(pa210);
    e.unprotect(pa219);
    e.unprotect(pa221);
    if (joint) {
      e.unprotect(pa220);
      e.unprotect(pa222);
    } else {
      e.protectAndNull(pa220);
      e.protectAndNull(pa222);
    }
    form->plus4(id(pa196), id(pa219), id(pa220), id(pa221), id(pa222));
    e.markIf(pa195, e.value(pa196) < 0);
  } else {
    for (PAField f : {pa226, pa225, pa210}) e.no(f);
    for (PAField f : {pa219, pa220, pa221, pa222}) e.protectAndNull(f);
    e.null(pa196);
    e.no(pa195);
  }

  if (source != kNoSource) {
    // 7. What both sources share.
    const double link = e.value(pa201);
    const uint16_t n = !(link >= 1) ? 1 : link >= UINT16_MAX ? UINT16_MAX : static_cast<uint16_t>(link);
    e.assign(pa213, n);
    const int residency = paReturn->readResidencyStatus(kFormID_PAReturnInfo);
    if (residency == 0) {
      e.protect(pa21669);
      e.protect(pa21670);
      e.x(pa21669);
      e.null(pa21670);
      e.null(pa46380);
    } else {
      e.unprotect(pa21669);
      e.unprotect(pa21670);
      Utils::setDefaultX(form, id(pa21669), id(pa21670), id(pa21670));
      if (e.marked(pa21669)) e.x(pa46380);
    }
    Utils::setDefaultX(form, id(pa164), id(pa164), id(pa166));
    e.no(pa207);
    e.no(pa209581);

    if (source == kFederalScheduleE) {
      // 8. Federal Schedule E.
      if (federal.formExists(kFormID_FedScheduleE, n)) {
        const FederalScheduleE property(federal, n);
        copyOwner(e, form, property, joint);
        copyAddress(e, property);
        copyPropertyType(e, property, residency);
        const double net = copyAmounts(e, form, property);
        writeScheduleEResult(e, net);
        e.assign(pa218, net);
      }
    } else {
      // 9. Farm rental.
      clearFormFields(kFormID_PAScheduleE, copy, id(pa31), id(pa118));
      if (federal.formExists(kFormID_FedFarmRental, n)) {
        if (joint) {
          e.unprotect(pa19);
          e.unprotect(pa26);
          e.unprotect(pa18);
          Utils::setDefaultX(form, id(pa18), id(pa19), id(pa26));
        } else {
          e.x(pa18);
          e.protectAndNull(pa19);
          e.protectAndNull(pa26);
        }
        choosePropertyKind(e, residency);
        e.x(pa207088);
        e.no(pa207087);
        e.text(pa163, "5");
        e.text(pa210193, "Farm Rental");
        e.null(pa165);
        const long income = federal.getIN(kFormID_FedFarmRental, n, kFedFarmRentalFieldIds[46]);    // 26
        const long expenses = federal.getIN(kFormID_FedFarmRental, n, kFedFarmRentalFieldIds[88]);  // 65
        e.assign(pa30, static_cast<double>(income));
        e.assign(pa116, static_cast<double>(expenses));
        const double net = static_cast<double>(income - expenses);
        writeFarmRentalResult(e, net);
        e.assign(pa218, net);
      }
    }
    // 10. Common end.
    form->plus2(id(pa200), id(pa129), id(pa196));
    e.markIf(pa199, e.value(pa200) < 0);
  }

  // 11. Data marks.
  if (e.significant(pa163) || e.value(pa196) != 0 || e.value(pa200) != 0) {
    paReturn->setDataEntered(kFormID_PAScheduleE, copy, true, false);
  }
  const bool propertyInPA =
      e.marked(pa21669) && (e.significant(pa200) || e.significant(pa163) || e.marked(pa166));
  const bool filerLevel = e.marked(pa226) && e.significant(pa196);
  if (propertyInPA || filerLevel) form->setCalcMark(true);
}

}  // namespace PACalculationMgmt
