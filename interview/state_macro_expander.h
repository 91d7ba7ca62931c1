// StateMacroExpansionMgmt::StateMacroExpander: the state layer's expander
// of the interview's text macros.
//
// The host creates it through createMacroExpanderInstance and deletes it
// through its virtual destructor. The shares of the federal and state
// returns are the host base's; this layer borrows the state return as a
// StateTaxReturn. Construction with a state return that is not one (or an
// empty holder) throws std::bad_cast.
//
// Missing data never fails an expansion: an empty name gives its fall-back
// word, a missing description or first return an empty text.
#ifndef INTERVIEW_STATE_MACRO_EXPANDER_H_
#define INTERVIEW_STATE_MACRO_EXPANDER_H_

#include <string>

#include "host/macro_expander.h"
#include "host/pointers.h"
#include "host/state_tax_return.h"

namespace StateMacroExpansionMgmt {

class StateMacroExpander : public MacroExpansionMgmt::MacroExpander {
 public:
  StateMacroExpander(DataMgmt::TaxReturnPtr& federalReturn, DataMgmt::TaxReturnPtr& stateReturn);
  ~StateMacroExpander() override;

  StateDataMgmt::StateTaxReturn& getStateTaxReturn() const { return stateTaxReturn; }

  // The taxpayer's name, or the fall-back word when it is empty.
  std::string expandTPNameOrYouIC() override;           // "You"
  std::string expandTPNameOrYou() override;             // "you"
  // The spouse's name, or the fall-back word when it is empty.
  std::string expandSpNameOrSpouseIC() override;        // "Spouse"
  std::string expandSpNameOrYourSpouse() override;      // "your spouse"
  std::string expandSpNameOrMySpouseIC() override;      // "My spouse"
  std::string expandSpNameOrYourSpouseIC() override;    // "Your spouse"
  std::string expandSpNameOrYourSpouseTitle() override;  // "Your Spouse"
  // The state return description's first and second names.
  std::string expandStateReturnName() override;
  std::string expandStateReturnSecondName() override;
  // The state's general mailing address (kind 0).
  std::string expandStateMailingAddress() override;
  std::string expandPrintExtraPageCount() override;
  std::string expandEFileCost1a() override;
  // The text of the return's tax (text item 1), trimmed at both ends.
  std::string expandStateTaxAmount() override;
  // The description's first name + " Return".
  std::string expandStateReturnTitle() override;
  std::string expandStateWord() override;
  std::string expandTransmitStatusInfo() override;
  // The first return's office locator address from two characters after
  // its first "/" on (an address without "/" whole; "" when the first "/"
  // is one of the last two characters).
  std::string expandOfficeLocatorNoScheme() override;

 protected:
  StateDataMgmt::StateTaxReturn& stateTaxReturn;  // borrowed; the base keeps the share

 private:
  // Copy 1 of `field` of the state's information form as text, or
  // `fallBack` when that text is empty.
  std::string nameOr(const DataMgmt::FieldId& field, const char* fallBack) const;
};

}  // namespace StateMacroExpansionMgmt

#endif  // INTERVIEW_STATE_MACRO_EXPANDER_H_
