#include "host/macro_expander.h"

namespace MacroExpansionMgmt {
namespace {

typedef std::string (MacroExpander::*ExpandFn)();

// Macro names (the operation's name without "expand") and operations.
struct Macro {
  const char* name;
  ExpandFn expand;
};

const Macro kMacros[] = {
    {"TPNameOrYouIC", &MacroExpander::expandTPNameOrYouIC},
    {"TPNameOrYou", &MacroExpander::expandTPNameOrYou},
    {"SpNameOrSpouseIC", &MacroExpander::expandSpNameOrSpouseIC},
    {"SpNameOrYourSpouse", &MacroExpander::expandSpNameOrYourSpouse},
    {"SpNameOrMySpouseIC", &MacroExpander::expandSpNameOrMySpouseIC},
    {"SpNameOrYourSpouseIC", &MacroExpander::expandSpNameOrYourSpouseIC},
    {"SpNameOrYourSpouseTitle", &MacroExpander::expandSpNameOrYourSpouseTitle},
    {"StateReturnName", &MacroExpander::expandStateReturnName},
    {"StateReturnSecondName", &MacroExpander::expandStateReturnSecondName},
    {"StateMailingAddress", &MacroExpander::expandStateMailingAddress},
    {"PrintExtraPageCount", &MacroExpander::expandPrintExtraPageCount},
    {"EFileCost1a", &MacroExpander::expandEFileCost1a},
    {"StateTaxAmount", &MacroExpander::expandStateTaxAmount},
    {"StateReturnTitle", &MacroExpander::expandStateReturnTitle},
    {"StateWord", &MacroExpander::expandStateWord},
    {"TransmitStatusInfo", &MacroExpander::expandTransmitStatusInfo},
    {"OfficeLocatorNoScheme", &MacroExpander::expandOfficeLocatorNoScheme},
};

const char kPrefix[] = "expand";

}  // namespace

MacroExpander::MacroExpander(DataMgmt::TaxReturnPtr& firstReturn, DataMgmt::TaxReturnPtr& stateReturn)
    : firstReturn(firstReturn), stateReturn(stateReturn) {}

MacroExpander::~MacroExpander() = default;

std::string MacroExpander::expandTPNameOrYouIC() { return std::string(); }
std::string MacroExpander::expandTPNameOrYou() { return std::string(); }
std::string MacroExpander::expandSpNameOrSpouseIC() { return std::string(); }
std::string MacroExpander::expandSpNameOrYourSpouse() { return std::string(); }
std::string MacroExpander::expandSpNameOrMySpouseIC() { return std::string(); }
std::string MacroExpander::expandSpNameOrYourSpouseIC() { return std::string(); }
std::string MacroExpander::expandSpNameOrYourSpouseTitle() { return std::string(); }
std::string MacroExpander::expandStateReturnName() { return std::string(); }
std::string MacroExpander::expandStateReturnSecondName() { return std::string(); }
std::string MacroExpander::expandStateMailingAddress() { return std::string(); }
std::string MacroExpander::expandPrintExtraPageCount() { return std::string(); }
std::string MacroExpander::expandEFileCost1a() { return std::string(); }
std::string MacroExpander::expandStateTaxAmount() { return std::string(); }
std::string MacroExpander::expandStateReturnTitle() { return std::string(); }
std::string MacroExpander::expandStateWord() { return std::string(); }
std::string MacroExpander::expandTransmitStatusInfo() { return std::string(); }
std::string MacroExpander::expandOfficeLocatorNoScheme() { return std::string(); }

std::string MacroExpander::expand(const std::string& macroName) {
  std::string name = macroName;
  if (name.compare(0, sizeof kPrefix - 1, kPrefix) == 0) name.erase(0, sizeof kPrefix - 1);
  for (const Macro& m : kMacros) {
    if (name == m.name) return (this->*m.expand)();
  }
  return std::string();
}

}  // namespace MacroExpansionMgmt
