#include "interview/state_macro_expander.h"

#include <typeinfo>

namespace StateMacroExpansionMgmt {

namespace {

// The return as a state return. Checked through a pointer, so that an
// empty holder fails like a return of another class instead of binding a
// reference to nothing.
StateDataMgmt::StateTaxReturn& asStateReturn(const DataMgmt::TaxReturnPtr& taxReturn) {
  auto* state = dynamic_cast<StateDataMgmt::StateTaxReturn*>(taxReturn.get());
  if (state == nullptr) throw std::bad_cast();
  return *state;
}

}  // namespace

StateMacroExpander::StateMacroExpander(DataMgmt::TaxReturnPtr& federalReturn,
                                       DataMgmt::TaxReturnPtr& stateReturn)
    : MacroExpansionMgmt::MacroExpander(federalReturn, stateReturn),
      stateTaxReturn(asStateReturn(stateReturn)) {}

StateMacroExpander::~StateMacroExpander() = default;

}  // namespace StateMacroExpansionMgmt
