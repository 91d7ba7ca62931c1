// Settling a return: calculating it until a calculation changes nothing.
//
// One calculation of the module is meant to be final, as a desktop host
// that calculates once after each edit needs it. A host that loads a
// return and shows or files it makes sure: it calculates the return again
// while the last calculation changed any value of it (a field's value, or
// whether it is null), up to Settling::kMostPasses calculations. A return
// that the last of them still changed is not settled: nothing may be filed
// from it, and the fields that last calculation changed say where it does
// not settle.
#ifndef PAHOST_SETTLING_H_
#define PAHOST_SETTLING_H_

#include <functional>
#include <vector>

#include "host/calc_engine.h"
#include "host/change_watch.h"
#include "host/tax_return.h"

// How the calculations of one job went.
struct Settling {
  // The calculations a job makes of one return at most. A return settles
  // on the second: the first fills it, the second shows it changed nothing.
  static const int kMostPasses = 8;

  int passes = 0;        // calculations made to settle the return
  bool settled = false;  // the last one changed no value of either return
  // The fields the last calculation changed, the federal return's first,
  // each return's by form, copy and field number.
  std::vector<DataMgmt::ChangeWatch::Change> lastChanges;

  // Whether the calculations went as far as they may without settling it.
  bool exhausted() const { return !settled && passes >= kMostPasses; }
};

// ReturnSettler: the calculations of one job. It borrows the engine and
// both returns, which must outlive it.
//
// The module's automated-test hooks run at the end of a calculation when
// the host's configuration allows them: the settler keeps them off while
// it settles the return and, when they were on, runs them once, on the
// settled return, in one more calculation (its changes are the hooks'
// own, made after that calculation: an import's values, a relation's
// inputs; they are not judged, and stay as the hooks leave them), whether
// or not that calculation's run then succeeds (a writer that fails before
// it calculates runs none: the job fails). A return that does not settle
// runs no hook.
class ReturnSettler {
 public:
  ReturnSettler(CalculationMgmt::TaxReturnCalcEngine& engine, DataMgmt::TaxReturn& federal, DataMgmt::TaxReturn& pa);

  // Plain calculations until the return settles: at least one, and at
  // most up to kMostPasses in all; then the hooks' calculation, unless it
  // ran already.
  void settle();
  // The writer's runs (`write`, which calculates the return before it
  // writes the data file and says whether it wrote it) and calculations
  // between them, until the file written is of the settled return: its
  // run's calculation, or the one after it, changed nothing. The writer
  // runs first (it also makes forms the calculation alone does not, the
  // direct deposit form), so that a return that settles in one
  // calculation is calculated twice; a calculation after it that changes
  // the return has it write again. With the hooks on, the writer runs
  // once more as the hooks' calculation. False when `write` fails or the
  // return does not settle (settling().settled false).
  bool settleWriting(const std::function<bool()>& write);
  const Settling& settling() const { return settling_; }

 private:
  // One calculation (`calculation`: the engine's, or the writer's run),
  // with the hooks off, counted with whether it changed a value of either
  // return (the first is taken to change it); its result.
  bool pass(const std::function<bool()>& calculation);
  bool calculationPass();
  // The engine's calculation of the whole return; true.
  bool calculate();
  // `calculation` once more with the hooks on, when they are and did not
  // run yet; its result (true when it does not run).
  bool hooksPass(const std::function<bool()>& calculation);

  CalculationMgmt::TaxReturnCalcEngine& engine_;
  DataMgmt::TaxReturn& federal_;
  DataMgmt::TaxReturn& pa_;
  const bool hooks_;  // the host runs the automated-test hooks
  bool hooksRan_ = false;
  Settling settling_;
};

#endif  // PAHOST_SETTLING_H_
