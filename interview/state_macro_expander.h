// StateMacroExpansionMgmt::StateMacroExpander: the state layer's expander
// of the interview's text macros.
//
// The host creates it through createMacroExpanderInstance and deletes it
// through its virtual destructor. The shares of the federal and state
// returns are the host base's; this layer borrows the state return as a
// StateTaxReturn. Construction with a state return that is not one (or an
// empty holder) throws std::bad_cast.
#ifndef INTERVIEW_STATE_MACRO_EXPANDER_H_
#define INTERVIEW_STATE_MACRO_EXPANDER_H_

#include "host/macro_expander.h"
#include "host/pointers.h"
#include "host/state_tax_return.h"

namespace StateMacroExpansionMgmt {

class StateMacroExpander : public MacroExpansionMgmt::MacroExpander {
 public:
  StateMacroExpander(DataMgmt::TaxReturnPtr& federalReturn, DataMgmt::TaxReturnPtr& stateReturn);
  ~StateMacroExpander() override;

  StateDataMgmt::StateTaxReturn& getStateTaxReturn() const { return stateTaxReturn; }

 protected:
  StateDataMgmt::StateTaxReturn& stateTaxReturn;  // borrowed; the base keeps the share
};

}  // namespace StateMacroExpansionMgmt

#endif  // INTERVIEW_STATE_MACRO_EXPANDER_H_
