// pullCommonText: one field of a state form copy filled from the federal
// return by pull code. Plain copies (text, value, no-entry mark,
// unprotect) are rows of a table; the codes that compose or decide are
// handled one by one below it.
#include <cstdio>
#include <cstring>

#include "calc/state/state_tax_return_calc_engine.h"
#include "catalogs/catalog_ref.h"
#include "catalogs/catalogs.h"
#include "host/descriptors.h"
#include "host/form_field.h"
#include "host/orvane_exception.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "identifiers/form_ids.h"

namespace StateCalculationMgmt {

namespace {

const int kFirstPCType = 116;
const int kLastPCType = 150;

// Size of the buffers source texts are read into.
const int kTextSize = 128;
// getText width of a text copy.
const int kCopyWidth = 80;

// The federal return variants, in the column order of the table.
enum Variant { kForm1 = 0, kForm55 = 1, kForm87 = 2 };

// Where a pull reads: nothing (the target is set null), copy 1 of the
// federal return form in use, or copy 1 of the filer information form.
enum Origin { kNotAvailable, kReturnForm, kFilerInfo };

struct PullSource {
  Origin origin;
  FieldRef field;
};

enum PullKind { kTextCopy, kValueCopy, kProtectedTextCopy, kNoEntry, kUnprotect };

struct PlainPull {
  int pcType;
  PullKind kind;
  PullSource sources[3];  // form 1 / form 55 / form 87 in use
};

constexpr CatalogId kF1 = CatalogId::FedReturnFieldIds;
constexpr CatalogId kF55 = CatalogId::Fed55FieldIds;
constexpr CatalogId kF87 = CatalogId::Fed87FieldIds;
constexpr CatalogId kFI = CatalogId::FedFilerInfoFieldIds;
constexpr PullSource kNone = {kNotAvailable, {CatalogId::kNone, 0}};

// Host field numbers in the comments.
const PlainPull kPlainPulls[] = {
    {116, kTextCopy, {{kReturnForm, {kF1, 324}}, {kReturnForm, {kF55, 119}}, kNone}},     // 21 / 21
    {118, kValueCopy, {{kFilerInfo, {kFI, 1653}}, {kFilerInfo, {kFI, 1653}}, kNone}},     // 486
    {119, kValueCopy, {{kReturnForm, {kF1, 316}}, {kReturnForm, {kF55, 113}}, kNone}},    // 22 / 22
    {121, kTextCopy, {{kReturnForm, {kF1, 611}}, kNone, kNone}},                           // 98
    {122, kValueCopy, {{kReturnForm, {kF1, 623}}, kNone, kNone}},                          // 116
    {125, kValueCopy, {{kReturnForm, {kF1, 341}}, {kReturnForm, {kF55, 232}}, kNone}},    // 121 / 82
    {126, kValueCopy, {{kReturnForm, {kF1, 342}}, {kReturnForm, {kF55, 233}}, kNone}},    // 122 / 83
    {127, kValueCopy, {{kReturnForm, {kF1, 345}}, {kReturnForm, {kF55, 234}}, kNone}},    // 123 / 84
    {128, kValueCopy, {{kReturnForm, {kF1, 346}}, {kReturnForm, {kF55, 235}}, kNone}},    // 124 / 85
    {129, kProtectedTextCopy,                                                              // 188 / 107 / 48
     {{kReturnForm, {kF1, 388}}, {kReturnForm, {kF55, 337}}, {kReturnForm, {kF87, 128}}}},
    {130, kTextCopy,                                                                       // 189 / 108 / 64
     {{kReturnForm, {kF1, 393}}, {kReturnForm, {kF55, 341}}, {kReturnForm, {kF87, 132}}}},
    {131, kNoEntry, {kNone, kNone, kNone}},
    {132, kNoEntry, {kNone, kNone, kNone}},
    {133, kNoEntry, {kNone, kNone, kNone}},
    {134, kNoEntry, {kNone, kNone, kNone}},
    {135, kNoEntry, {kNone, kNone, kNone}},
    {136, kNoEntry, {kNone, kNone, kNone}},
    {137, kNoEntry, {kNone, kNone, kNone}},
    {138, kNoEntry, {kNone, kNone, kNone}},
    {139, kNoEntry, {kNone, kNone, kNone}},
    {140, kNoEntry, {kNone, kNone, kNone}},
    {142, kUnprotect, {kNone, kNone, kNone}},
};

// The filer information fields the composed pulls read (host numbers).
const FieldId& fi(int member) { return kFedFilerInfoFieldIds[member]; }
const int kFIText27 = 1651;           // 27
const int kFIText13447 = 1652;        // 13447
const int kFINumber28 = 1660;         // 28
const int kFIMark29 = 1668;           // 29
const int kFIMark493 = 1643;          // 493
const int kFIMark450 = 1670;          // 450
const int kFIText671 = 1614;          // 671
const int kFIText151513 = 1615;       // 151513
const int kFIText557 = 1638;          // 557
const int kFIText558 = 1639;          // 558
const int kFIYes536 = 1700;           // 536
const int kFIText392 = 1703;          // 392
const int kFIText391 = 1704;          // 391
const int kFIYes393 = 1705;           // 393
const int kFIYes394 = 1706;           // 394

// Pull codes 147 and 148: the text of the federal return form when its
// condition field is above 0, else the filer information text.
struct ConditionalText {
  int f1Condition, f1Text;    // FedReturnFieldIds members
  int f55Condition, f55Text;  // Fed55FieldIds members
  int f87Condition, f87Text;  // Fed87FieldIds members
  int fallback;               // FedFilerInfoFieldIds member
  int width;
};
const ConditionalText kPull147 = {538, 539, 322, 323, 115, 116, kFIText392, 9};   // 184:471 135:216 27:105
const ConditionalText kPull148 = {538, 542, 322, 326, 115, 119, kFIText391, 17};  // 184:474 135:219 27:108

// Pulls for the federal return form in use; each reads on copy 1 of the
// federal forms and writes the one target field.
class CommonTextPull {
 public:
  CommonTextPull(DataMgmt::USTaxReturn* federal, StateDataMgmt::StateTaxReturn* state, Variant variant,
                 const FormId& returnForm, TaxFormPtr target, const FieldId& field, uint16_t length)
      : federal_(federal), state_(state), variant_(variant), returnForm_(returnForm),
        target_(target), field_(field), length_(length) {}

  bool plain(int pcType) {
    for (const PlainPull& pull : kPlainPulls) {
      if (pull.pcType != pcType) continue;
      const PullSource& source = pull.sources[variant_];
      switch (pull.kind) {
        case kNoEntry:
          target_->getField(field_)->setNoEntry(true);
          break;
        case kUnprotect:
          target_->unProtect(field_);
          break;
        case kValueCopy:
          if (source.origin == kNotAvailable) {
            target_->setNull(field_);
          } else {
            federal_->getII(formOf(source.origin), fieldOf(source.field), target_, field_);
          }
          break;
        case kProtectedTextCopy:
        case kTextCopy:
          if (source.origin == kNotAvailable) {
            target_->setNull(field_);
            break;
          }
          if (pull.kind == kProtectedTextCopy) target_->makeProtected(field_);
          copyText(formOf(source.origin), fieldOf(source.field));
          break;
      }
      return true;
    }
    return false;
  }

  // 117: the two texts joined by a blank.
  void joinedTexts() {
    if (variant_ == kForm87) return target_->setNull(field_);
    char first[kTextSize], second[kTextSize], text[2 * kTextSize + 1];
    federal_->formString(first, sizeof first, kFormID_FedFilerInfo, 1, fi(kFIText27));
    federal_->formString(second, sizeof second, kFormID_FedFilerInfo, 1, fi(kFIText13447));
    std::snprintf(text, sizeof text, "%s %s", first, second);
    target_->assignText(field_, text);
  }

  // 120: the whole number as a signed 16-bit decimal; 0 gives null; the
  // last `length` characters when longer.
  void numberText() {
    if (variant_ == kForm87) return target_->setNull(field_);
    const long n = federal_->getIN(kFormID_FedFilerInfo, 1, fi(kFINumber28));
    if (n == 0) return target_->setNull(field_);
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(static_cast<int16_t>(n)));
    const size_t size = std::strlen(text);
    target_->assignText(field_, size > length_ ? text + (size - length_) : text);
  }

  // 123: field 333's text and, when field 334 is not 0, " $" and its amount.
  void textAndAmount() {
    if (variant_ != kForm1) return target_->setNull(field_);
    char text[kTextSize];
    sourceText(text, returnForm_, kFedReturnFieldIds[653], 13);  // 333
    const long amount = federal_->getIN(returnForm_, 1, kFedReturnFieldIds[654]);  // 334
    std::string amountText = amount == 0 ? std::string() : Utils::nStr(amount);
    char stripped[kTextSize];
    Utils::strip(stripped, amountText.substr(0, kTextSize - 1).c_str());
    char composed[2 * kTextSize + 2];
    if (!amountText.empty()) {
      std::snprintf(composed, sizeof composed, "%s $%s", text, stripped);
    } else {
      std::snprintf(composed, sizeof composed, "%s%c%s", text, ' ', stripped);
    }
    Utils::strip(composed, composed);
    target_->assignText(field_, composed);
  }

  // 124: marked when field 29 is yes, or 493 and 450 both are.
  void combinedMark() {
    const bool yes = yesFI(kFIMark29) || (yesFI(kFIMark493) && yesFI(kFIMark450));
    yes ? target_->setX(field_) : target_->setXNo(field_);
  }

  // 141, 143: a non-empty text is protected in; an empty one unprotects.
  void protectedInfoText(int member) {
    char text[kTextSize];
    federal_->formString(text, sizeof text, kFormID_FedFilerInfo, 1, fi(member));
    Utils::strip(text, text);
    if (text[0] != '\0') {
      target_->makeProtected(field_);
      target_->assignText(field_, text);
    } else {
      target_->unProtect(field_);
    }
  }

  // 144, 145: the text cut to 8 characters.
  void shortInfoText(int member) {
    char text[kTextSize];
    sourceText(text, kFormID_FedFilerInfo, fi(member), 8);
    Utils::strip(text, text);
    target_->assignText(field_, text);
  }

  // 146: a yes is protected in as the mark.
  void protectedInfoMark() {
    if (yesFI(kFIYes536)) {
      target_->makeProtected(field_);
      target_->setX(field_);
    } else {
      target_->unProtect(field_);
    }
  }

  // 147, 148.
  void conditionalText(const ConditionalText& pull) {
    char text[kTextSize] = "";
    const FieldId* condition = &kFedReturnFieldIds[pull.f1Condition];
    const FieldId* source = &kFedReturnFieldIds[pull.f1Text];
    if (variant_ == kForm55) {
      condition = &kFed55FieldIds[pull.f55Condition];
      source = &kFed55FieldIds[pull.f55Text];
    } else if (variant_ == kForm87) {
      condition = &kFed87FieldIds[pull.f87Condition];
      source = &kFed87FieldIds[pull.f87Text];
    }
    if (federal_->getIN(returnForm_, 1, *condition) > 0) sourceText(text, returnForm_, *source, pull.width);
    if (text[0] == '\0') sourceText(text, kFormID_FedFilerInfo, fi(pull.fallback), pull.width);
    Utils::strip(text, text);
    if (text[0] != '\0') {
      target_->makeProtected(field_);
      target_->assignText(field_, text);
    } else {
      target_->unProtect(field_);
    }
  }

  // 149, 150: which of two boxes the choice marks.
  void choiceMark(int pcType) {
    const int choice = boxChoice();
    if (choice == 0) return target_->unProtect(field_);
    target_->makeProtected(field_);
    if ((choice == 1 && pcType == 149) || (choice == 2 && pcType == 150)) target_->setX(field_);
  }

 private:
  int boxChoice() {
    char text392[kTextSize], text391[kTextSize];
    state_->textString(text392, kFormID_FedFilerInfo, 1, fi(kFIText392));
    state_->textString(text391, kFormID_FedFilerInfo, 1, fi(kFIText391));
    if (text392[0] == '\0' || text391[0] == '\0') return 0;
    const FieldId* first = nullptr;
    const FieldId* second = nullptr;
    if (variant_ == kForm1) {
      if (federal_->getIN(returnForm_, 1, kFedReturnFieldIds[538]) > 0) {  // 184
        first = &kFedReturnFieldIds[540];                                   // 472
        second = &kFedReturnFieldIds[541];                                  // 473
      }
    } else if (variant_ == kForm55) {
      first = &kFed55FieldIds[324];   // 217
      second = &kFed55FieldIds[325];  // 218
    } else {
      first = &kFed87FieldIds[117];   // 106
      second = &kFed87FieldIds[118];  // 107
    }
    if (first != nullptr) {
      if (federal_->formYes(returnForm_, 1, *first)) return 1;
      if (federal_->formYes(returnForm_, 1, *second)) return 2;
    }
    if (yesFI(kFIYes393)) return 1;
    if (yesFI(kFIYes394)) return 2;
    return 0;
  }

  const FormId& formOf(Origin origin) const {
    return origin == kFilerInfo ? kFormID_FedFilerInfo : returnForm_;
  }

  bool yesFI(int member) const { return federal_->formYes(kFormID_FedFilerInfo, 1, fi(member)); }

  // The stored text of a field of copy 1 of a federal form, cut to
  // `width`; "" when the copy is missing.
  void sourceText(char* out, const FormId& form, const FieldId& field, int width) const {
    out[0] = '\0';
    TaxFormPtr copy = federal_->getFormUVPtr(form, 1, false);
    if (copy.isNull()) return;
    DataMgmt::FormFieldPtr source = copy->getField(field);
    federal_->getText(out, source.isNull() ? 0 : source->getValue(), width, 0);
  }

  // A text copy: the source text cut to the target's length.
  void copyText(const FormId& form, const FieldId& field) {
    char text[kTextSize];
    sourceText(text, form, field, kCopyWidth);
    char cut[kTextSize];
    std::snprintf(cut, sizeof cut, "%.*s", static_cast<int>(length_), text);
    target_->assignText(field_, cut);
  }

  DataMgmt::USTaxReturn* federal_;
  StateDataMgmt::StateTaxReturn* state_;
  Variant variant_;
  FormId returnForm_;
  TaxFormPtr target_;
  FieldId field_;
  uint16_t length_;
};

}  // namespace

void StateTaxReturnCalcEngine::pullCommonText(FormId federalReturnForm, const FormId& targetForm,
                                              uint16_t copy, const FieldId& targetField, int pcType) {
  if (stateReturn == nullptr || federalReturn == nullptr) return;
  Variant variant = kForm87;
  if (federalReturnForm == kFormID_FedReturn) {
    variant = kForm1;
  } else if (federalReturnForm == kFormID_Fed55) {
    variant = kForm55;
  } else {
    federalReturnForm = kFormID_Fed87;
  }
  TaxFormPtr target = stateReturn->getFormUVPtr(targetForm, copy, false);
  TaxFormPtr returnCopy = federalReturn->getFormUVPtr(federalReturnForm, 1, false);
  if (target.isNull() || returnCopy.isNull()) return;

  if (pcType < kFirstPCType || pcType > kLastPCType) {
    throw Exceptions::OrvaneException("Invalid PCType", "StateTaxReturnCalcEngine", "pullCommonText");
  }
  DataMgmt::TaxFormDescPtr desc = target->getTaxFormDescriptor();
  DataMgmt::FormFieldDescPtr fieldDesc = desc.isNull() ? DataMgmt::FormFieldDescPtr() : desc->getFieldDesc(targetField);
  const uint16_t length = fieldDesc.isNull() ? 0 : fieldDesc->getLength();

  CommonTextPull pull(federalReturn, stateReturn, variant, federalReturnForm, target, targetField, length);
  if (pull.plain(pcType)) return;
  switch (pcType) {
    case 117: return pull.joinedTexts();
    case 120: return pull.numberText();
    case 123: return pull.textAndAmount();
    case 124: return pull.combinedMark();
    case 141: return pull.protectedInfoText(kFIText671);
    case 143: return pull.protectedInfoText(kFIText151513);
    case 144: return pull.shortInfoText(kFIText557);
    case 145: return pull.shortInfoText(kFIText558);
    case 146: return pull.protectedInfoMark();
    case 147: return pull.conditionalText(kPull147);
    case 148: return pull.conditionalText(kPull148);
    default: return pull.choiceMark(pcType);  // 149, 150
  }
}

}  // namespace StateCalculationMgmt
