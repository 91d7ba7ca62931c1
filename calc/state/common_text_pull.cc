// pullCommonText: one field of a state form copy filled from the federal
// return by pull code. Plain copies (text, value, no-entry mark,
// unprotect) are rows of a table; the codes that compose or decide are
// handled one by one below it.
#include <cstdio>
#include <cstring>

#include "calc/state/joined_text.h"
#include "calc/state/state_tax_return_calc_engine.h"
#include "catalogs/any_named_field.h"
#include "catalogs/fields/fields.h"
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
  AnyNamedField field;
};

enum PullKind { kTextCopy, kValueCopy, kProtectedTextCopy, kNoEntry, kUnprotect };

struct PlainPull {
  int pcType;
  PullKind kind;
  PullSource sources[3];  // form 1 / form 55 / form 87 in use
};

constexpr PullSource kNone = {kNotAvailable, {}};
constexpr PullSource fromReturn(AnyNamedField field) { return {kReturnForm, field}; }
constexpr PullSource fromFilerInfo(AnyNamedField field) { return {kFilerInfo, field}; }

constexpr PlainPull kPlainPulls[] = {
    {116, kTextCopy, {fromReturn(FedReturn::kHeaderText), fromReturn(Fed55::kHeaderText), kNone}},
    {118,
     kValueCopy,
     {fromFilerInfo(FedFilerInfo::kValuePullItem), fromFilerInfo(FedFilerInfo::kValuePullItem), kNone}},
    {119, kValueCopy, {fromReturn(FedReturn::kHeaderValue), fromReturn(Fed55::kHeaderValue), kNone}},
    {121, kTextCopy, {fromReturn(FedReturn::kOtherIncomeType), kNone, kNone}},
    {122, kValueCopy, {fromReturn(FedReturn::kEarlyWithdrawalPenalty), kNone, kNone}},
    {125, kValueCopy, {fromReturn(FedReturn::kTaxpayerAgeBox), fromReturn(Fed55::kTaxpayerAgeBox), kNone}},
    {126, kValueCopy, {fromReturn(FedReturn::kTaxpayerBlindBox), fromReturn(Fed55::kTaxpayerBlindBox), kNone}},
    {127, kValueCopy, {fromReturn(FedReturn::kSpouseAgeBox), fromReturn(Fed55::kSpouseAgeBox), kNone}},
    {128, kValueCopy, {fromReturn(FedReturn::kSpouseBlindBox), fromReturn(Fed55::kSpouseBlindBox), kNone}},
    {129,
     kProtectedTextCopy,
     {fromReturn(FedReturn::kTaxpayerOccupation), fromReturn(Fed55::kTaxpayerOccupation),
      fromReturn(Fed87::kTaxpayerOccupation)}},
    {130,
     kTextCopy,
     {fromReturn(FedReturn::kSpouseOccupation), fromReturn(Fed55::kSpouseOccupation),
      fromReturn(Fed87::kSpouseOccupation)}},
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

// The refund-by-direct-deposit fields of each federal return form, in
// Variant order.
struct DepositFields {
  AnyNamedField refund;  // above 0: the refund goes by direct deposit
  AnyNamedField routingNumber;
  AnyNamedField accountNumber;
  AnyNamedField checkingBox;
  AnyNamedField savingsBox;
};
#define DEPOSIT_FIELDS(form)                                                         \
  {form::kDirectDepositRefund, form::kRoutingNumber, form::kAccountNumber, \
   form::kCheckingAccountBox, form::kSavingsAccountBox}
constexpr DepositFields kDepositFields[] = {DEPOSIT_FIELDS(FedReturn), DEPOSIT_FIELDS(Fed55),
                                            DEPOSIT_FIELDS(Fed87)};
#undef DEPOSIT_FIELDS

// Pull codes 147 and 148: the text of the federal return form when its
// refund is by direct deposit, else the filer information text.
struct ConditionalText {
  AnyNamedField DepositFields::*text;
  NamedField<FedFilerInfoFieldIds> fallback;
  int width;
};
constexpr ConditionalText kPull147 = {&DepositFields::routingNumber, FedFilerInfo::kRoutingNumber, 9};
constexpr ConditionalText kPull148 = {&DepositFields::accountNumber, FedFilerInfo::kAccountNumber, 17};

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
            federal_->getII(formOf(source.origin), source.field, target_, field_);
          }
          break;
        case kProtectedTextCopy:
        case kTextCopy:
          if (source.origin == kNotAvailable) {
            target_->setNull(field_);
            break;
          }
          if (pull.kind == kProtectedTextCopy) target_->makeProtected(field_);
          copyText(formOf(source.origin), source.field);
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
    federal_->formString(first, sizeof first, kFormID_FedFilerInfo, 1, FedFilerInfo::kJoinedTextFirstPart);
    federal_->formString(second, sizeof second, kFormID_FedFilerInfo, 1, FedFilerInfo::kJoinedTextSecondPart);
    joinWithBlank(text, sizeof text, first, second);
    target_->assignText(field_, text);
  }

  // 120: the whole number as a signed 16-bit decimal; 0 gives null; the
  // last `length` characters when longer.
  void numberText() {
    if (variant_ == kForm87) return target_->setNull(field_);
    const long n = federal_->getIN(kFormID_FedFilerInfo, 1, FedFilerInfo::kNumberPullItem);
    if (n == 0) return target_->setNull(field_);
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(static_cast<int16_t>(n)));
    const size_t size = std::strlen(text);
    target_->assignText(field_, size > length_ ? text + (size - length_) : text);
  }

  // 123: the write-in adjustment's text and, when its amount is not 0,
  // " $" and the amount.
  void textAndAmount() {
    if (variant_ != kForm1) return target_->setNull(field_);
    char text[kTextSize];
    sourceText(text, returnForm_, FedReturn::kWriteInAdjustmentText, 13);
    const long amount = federal_->getIN(returnForm_, 1, FedReturn::kWriteInAdjustment);
    std::string amountText = amount == 0 ? std::string() : Utils::nStr(amount);
    char stripped[kTextSize];
    Utils::strip(stripped, amountText.substr(0, kTextSize - 1).c_str());
    char composed[2 * kTextSize + 2];
    if (!amountText.empty()) {
      std::snprintf(composed, sizeof composed, "%s $%s", text, stripped);
    } else {
      joinWithBlank(composed, sizeof composed, text, stripped);
    }
    Utils::strip(composed, composed);
    target_->assignText(field_, composed);
  }

  // 124: marked when the taxpayer is claimed as a dependent, or when a
  // joint filer's spouse is.
  void combinedMark() {
    const bool yes = yesFI(FedFilerInfo::kTaxpayerClaimedAsDependentBox) ||
                     (yesFI(FedFilerInfo::kMarriedFilingJointlyBox) &&
                      yesFI(FedFilerInfo::kSpouseClaimedAsDependentBox));
    yes ? target_->setX(field_) : target_->setXNo(field_);
  }

  // 141, 143: a non-empty text is protected in; an empty one unprotects.
  void protectedInfoText(const FieldId& field) {
    char text[kTextSize];
    federal_->formString(text, sizeof text, kFormID_FedFilerInfo, 1, field);
    protectNonEmpty(text);
  }

  // 144, 145: the text cut to 8 characters.
  void shortInfoText(const FieldId& field) {
    char text[kTextSize];
    sourceText(text, kFormID_FedFilerInfo, field, 8);
    Utils::strip(text, text);
    target_->assignText(field_, text);
  }

  // 146: a yes is protected in as the mark.
  void protectedInfoMark() {
    if (yesFI(FedFilerInfo::kDirectDepositBox)) {
      target_->makeProtected(field_);
      target_->setX(field_);
    } else {
      openToUser();
    }
  }

  // 147, 148.
  void conditionalText(const ConditionalText& pull) {
    const DepositFields& deposit = kDepositFields[variant_];
    char text[kTextSize] = "";
    if (federal_->getIN(returnForm_, 1, deposit.refund) > 0) {
      sourceText(text, returnForm_, deposit.*pull.text, pull.width);
    }
    if (text[0] == '\0') sourceText(text, kFormID_FedFilerInfo, pull.fallback, pull.width);
    protectNonEmpty(text);
  }

  // 149 (checking), 150 (savings): marked when the account is of its kind.
  void choiceMark(int pcType) {
    const AccountChoice choice = accountChoice();
    if (choice == kNoAccount) return openToUser();
    target_->makeProtected(field_);
    if ((choice == kCheckingAccount && pcType == 149) || (choice == kSavingsAccount && pcType == 150)) {
      target_->setX(field_);
    } else {
      target_->setNull(field_);  // the mark of the other kind, pulled before
    }
  }

 private:
  // The kind of the deposit account; none when the filer information lacks
  // the routing or the account number. Form 1's boxes count only when its
  // refund goes by direct deposit; then the filer information's boxes decide.
  enum AccountChoice { kNoAccount, kCheckingAccount, kSavingsAccount };
  AccountChoice accountChoice() {
    char routing[kTextSize], account[kTextSize];
    state_->textString(routing, kFormID_FedFilerInfo, 1, FedFilerInfo::kRoutingNumber);
    state_->textString(account, kFormID_FedFilerInfo, 1, FedFilerInfo::kAccountNumber);
    if (routing[0] == '\0' || account[0] == '\0') return kNoAccount;
    const DepositFields& deposit = kDepositFields[variant_];
    if (variant_ != kForm1 || federal_->getIN(returnForm_, 1, deposit.refund) > 0) {
      if (federal_->formYes(returnForm_, 1, deposit.checkingBox)) return kCheckingAccount;
      if (federal_->formYes(returnForm_, 1, deposit.savingsBox)) return kSavingsAccount;
    }
    if (yesFI(FedFilerInfo::kCheckingAccountBox)) return kCheckingAccount;
    if (yesFI(FedFilerInfo::kSavingsAccountBox)) return kSavingsAccount;
    return kNoAccount;
  }

  // The stripped text protected in when it is not empty; else the target
  // is opened to the user.
  void protectNonEmpty(char* text) {
    Utils::strip(text, text);
    if (text[0] != '\0') {
      target_->makeProtected(field_);
      target_->assignText(field_, text);
    } else {
      openToUser();
    }
  }

  // The target opened to the user's entry once its federal source is gone:
  // what an earlier pull protected in goes with the source, an entry the
  // user made while the field was open stays.
  void openToUser() { target_->unprotectAndMaybeSetNull(field_); }

  const FormId& formOf(Origin origin) const {
    return origin == kFilerInfo ? kFormID_FedFilerInfo : returnForm_;
  }

  bool yesFI(const FieldId& field) const { return federal_->formYes(kFormID_FedFilerInfo, 1, field); }

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
  if (target.isNull()) return;
  if (returnCopy.isNull()) {
    // Nothing is pulled without the federal return; what an earlier pull
    // protected in goes with it, an entry of the user's stays.
    target->unprotectAndMaybeSetNull(targetField);
    return;
  }

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
    case 141: return pull.protectedInfoText(FedFilerInfo::kDaytimePhone);
    case 143: return pull.protectedInfoText(FedFilerInfo::kForeignPhone);
    case 144: return pull.shortInfoText(FedFilerInfo::kTaxpayerDeathDate);
    case 145: return pull.shortInfoText(FedFilerInfo::kSpouseDeathDate);
    case 146: return pull.protectedInfoMark();
    case 147: return pull.conditionalText(kPull147);
    case 148: return pull.conditionalText(kPull148);
    default: return pull.choiceMark(pcType);  // pull codes 149, 150
  }
}

}  // namespace StateCalculationMgmt
