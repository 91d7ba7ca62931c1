// MacroExpansionMgmt::MacroExpander: the host's base of a text-macro
// expander.
//
// The host expands a macro of its interview texts by calling the expand
// operation of that macro. The expander keeps shares of the first (federal)
// return and the state return. Every base expansion is the empty text; a
// state expander overrides the ones it knows. `expand` finds the operation
// by macro name: the operation's name with or without its "expand" prefix
// ("StateWord" or "expandStateWord"); an unknown name expands to "".
#ifndef HOST_MACRO_EXPANDER_H_
#define HOST_MACRO_EXPANDER_H_

#include <string>

#include "host/host_api.h"
#include "host/pointers.h"
#include "host/tax_return.h"

namespace MacroExpansionMgmt {

class HOST_API MacroExpander {
 public:
  MacroExpander(DataMgmt::TaxReturnPtr& firstReturn, DataMgmt::TaxReturnPtr& stateReturn);
  virtual ~MacroExpander();
  MacroExpander(const MacroExpander&) = delete;
  MacroExpander& operator=(const MacroExpander&) = delete;

  virtual std::string expandTPNameOrYouIC();
  virtual std::string expandTPNameOrYou();
  virtual std::string expandSpNameOrSpouseIC();
  virtual std::string expandSpNameOrYourSpouse();
  virtual std::string expandSpNameOrMySpouseIC();
  virtual std::string expandSpNameOrYourSpouseIC();
  virtual std::string expandSpNameOrYourSpouseTitle();
  virtual std::string expandStateReturnName();
  virtual std::string expandStateReturnSecondName();
  virtual std::string expandStateMailingAddress();
  virtual std::string expandPrintExtraPageCount();
  virtual std::string expandEFileCost1a();
  virtual std::string expandStateTaxAmount();
  virtual std::string expandStateReturnTitle();
  virtual std::string expandStateWord();
  virtual std::string expandTransmitStatusInfo();
  virtual std::string expandOfficeLocatorNoScheme();

  std::string expand(const std::string& macroName);  // ours

 protected:
  DataMgmt::TaxReturnPtr firstReturn;
  DataMgmt::TaxReturnPtr stateReturn;
};

}  // namespace MacroExpansionMgmt

#endif  // HOST_MACRO_EXPANDER_H_
