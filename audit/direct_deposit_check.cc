// auditDirectDeposit: the generic check of the bank information a state
// return gives for the direct deposit of a refund. Every field is the
// caller's (copy 1 of the caller's form); an empty identifier stands for a
// field the state does not have. Every rule is reported with its answer,
// which is false whenever direct deposit does not apply.
#include <cstdio>
#include <string>
#include <vector>

#include "audit/message_kinds.h"
#include "audit/state_tax_form_auditor.h"
#include "host/string_utils.h"

namespace StateAuditMgmt {

using namespace MessageKinds;

namespace {

const std::size_t kTextSize = 512;

// Host return types whose states have a third account type.
const DataMgmt::TaxReturnType kReturnTypeCollegeInvest = 7;
const DataMgmt::TaxReturnType kReturnTypeHoosierWorks = 17;
const DataMgmt::TaxReturnType kReturnTypeNextGen = 23;

// Message texts of the rules that do not depend on the account types.
const char kBankNameText[] = "bank name must be filled in";
const char kHoosierWorksText[] =
    "Hoosier Works MC numbers are 12 digits.  Find the account number on your monthly statement.";
const char kRoutingText[] = "routing transit number must be filled in";
const char kAccountText[] = "account number must be filled in";
const char kAccountCharactersText[] =
    "Account numbers may only contain letters, numbers and dashes (-).  Spaces and other "
    "characters are not allowed.";

const char kCarriedSuffix[] =
    ". Since you have elected to carry the information from your federal return, you must close "
    "the state program and make the change in the federal program.";

// The texts of the no-type rule and the several-types rule.
struct AccountTypeTexts {
  const char* none;
  const char* several;
};
const AccountTypeTexts kTwoTypeTexts = {
    "the checking or savings account check box must be checked",
    "Type of account must either be checking or savings. Both boxes cannot be checked"};
const AccountTypeTexts kManyTypeTexts = {"an account type check box must be checked",
                                         "only one of the account type check boxes can be checked"};

struct ThirdTypeTexts {
  DataMgmt::TaxReturnType returnType;
  AccountTypeTexts texts;
};
const ThirdTypeTexts kThirdTypeTexts[] = {
    {kReturnTypeNextGen,
     {"the checking, savings or NextGen account check box must be checked",
      "only one of the checking, savings or NextGen account check boxes can be checked"}},
    {kReturnTypeHoosierWorks,
     {"the checking, savings or Hoosier Works MC account check box must be checked",
      "only one of the checking, savings or Hoosier Works MC account check boxes can be checked"}},
    {kReturnTypeCollegeInvest,
     {"the checking, savings or CollegeInvest 529 account check box must be checked",
      "only one of the checking, savings or CollegeInvest 529 account check boxes can be checked"}},
};

// Texts for three account types. A return type without a name for its
// third type gets the general texts rather than none.
const AccountTypeTexts& threeTypeTexts(DataMgmt::TaxReturnType returnType) {
  for (const ThirdTypeTexts& row : kThirdTypeTexts) {
    if (row.returnType == returnType) return row.texts;
  }
  return kManyTypeTexts;
}

// Whether the whole account number holds only what the data file keeps of
// it: the host's address cleaning, without blanks and slashes.
bool accountNumberIsClean(const std::string& entry) {
  std::vector<char> cleaned(entry.c_str(), entry.c_str() + entry.size() + 1);
  Utils::tifCleanAddressString(cleaned.data());
  Utils::removeChars(cleaned.data(), " ");
  Utils::removeChars(cleaned.data(), "/");
  return entry == cleaned.data();
}

bool isTwelveDigits(const std::string& entry) {
  if (entry.size() != 12) return false;
  for (char c : entry) {
    if (!Utils::isDigit(c)) return false;
  }
  return true;
}

}  // namespace

void StateTaxFormAuditor::auditDirectDeposit(const std::string& helpId, TopicId topic, bool flag,
                                             const FormId& form, int messageClass, bool refundDue,
                                             FieldId requestBox, FieldId carriedBox,
                                             FieldId bankName, FieldId routingNumber,
                                             FieldId accountNumber, FieldId checkingBox,
                                             FieldId savingsBox, FieldId thirdKindBox,
                                             FieldId fourthKindBox, FieldId fifthKindBox) {
  if (stateReturn == nullptr) return;
  const DataMgmt::TaxFormPtr copy = stateReturn->getFormUVPtr(form, 1, false);
  if (copy.isNull()) return;

  const bool applies = copy->xMarked(requestBox) && refundDue;
  const bool carried = copy->xMarked(carriedBox);
  const DataMgmt::TaxReturnType returnType = stateReturn->getReturnType();
  auto report = [&](bool answer, char code, const FieldId& field, const char* text,
                    bool withSuffix) {
    char message[kTextSize];
    std::snprintf(message, sizeof(message), "%s%s", text,
                  withSuffix && carried ? kCarriedSuffix : "");
    reportAuditIssue(helpId, topic, flag, static_cast<uint8_t>(messageClass), applies && answer,
                     code, form, 1, field, message, 0);
  };
  auto filled = [&](const FieldId& field) { return stateReturn->hasSigValue(form, 1, field); };

  const std::string account = stateReturn->getFieldAsString(form, 1, accountNumber);

  if (bankName.getNumber() > 0) {
    report(!filled(bankName), kCodeMissing, bankName, kBankNameText, false);
  }
  if (returnType == kReturnTypeHoosierWorks && thirdKindBox.getNumber() > 0 &&
      copy->xMarked(thirdKindBox)) {
    report(!isTwelveDigits(account), kCodeMissing, accountNumber, kHoosierWorksText, false);
  } else {
    report(!filled(routingNumber), kCodeMissing, routingNumber, kRoutingText, true);
  }
  report(!filled(accountNumber), kCodeMissing, accountNumber, kAccountText, true);
  report(filled(accountNumber) && !accountNumberIsClean(account), kCodeNoEFile, accountNumber,
         kAccountCharactersText, false);

  // Account types: checking and savings, then the state's further kinds.
  int marked = (copy->xMarked(checkingBox) ? 1 : 0) + (copy->xMarked(savingsBox) ? 1 : 0);
  const AccountTypeTexts* texts = &kTwoTypeTexts;
  if (thirdKindBox.getNumber() > 0) {
    marked += copy->xMarked(thirdKindBox) ? 1 : 0;
    texts = &threeTypeTexts(returnType);
    if (fourthKindBox.getNumber() > 0) {
      marked += copy->xMarked(fourthKindBox) ? 1 : 0;
      if (fifthKindBox.getNumber() > 0) marked += copy->xMarked(fifthKindBox) ? 1 : 0;
      texts = &kManyTypeTexts;
    }
  }
  report(marked == 0, kCodeMissing, checkingBox, texts->none, true);
  report(marked > 1, kCodeInconsistent, checkingBox, texts->several, true);
}

}  // namespace StateAuditMgmt
