#include "pahost/settling.h"

#include "host/configuration.h"

namespace {

// The host's switch of the automated-test hooks, set to `on` while the
// object lives.
class HookSwitch {
 public:
  explicit HookSwitch(bool on)
      : configuration_(DataMgmt::OrvaneConfiguration::getInstance()), was_(configuration_.AllowAutoTest()) {
    configuration_.setAllowAutoTest(on);
  }
  ~HookSwitch() { configuration_.setAllowAutoTest(was_); }
  HookSwitch(const HookSwitch&) = delete;
  HookSwitch& operator=(const HookSwitch&) = delete;

 private:
  DataMgmt::OrvaneConfiguration& configuration_;
  const bool was_;
};

}  // namespace

ReturnSettler::ReturnSettler(CalculationMgmt::TaxReturnCalcEngine& engine, DataMgmt::TaxReturn& federal,
                             DataMgmt::TaxReturn& pa)
    : engine_(engine),
      federal_(federal),
      pa_(pa),
      hooks_(DataMgmt::OrvaneConfiguration::getInstance().AllowAutoTest()) {}

bool ReturnSettler::pass(const std::function<bool()>& calculation) {
  HookSwitch hooksOff(false);
  if (settling_.passes == 0) {
    // The first calculation of a loaded return fills it: it is taken to
    // change it, and watching what it changes would cost as much again as
    // watching every later one.
    ++settling_.passes;
    return calculation();
  }
  DataMgmt::ChangeWatch federal(federal_);
  DataMgmt::ChangeWatch pa(pa_);
  const bool result = calculation();
  ++settling_.passes;
  settling_.lastChanges = federal.changes();
  const std::vector<DataMgmt::ChangeWatch::Change> paChanges = pa.changes();
  settling_.lastChanges.insert(settling_.lastChanges.end(), paChanges.begin(), paChanges.end());
  // A run that failed (a writer that could not open its file) may not
  // have calculated at all: it shows nothing settled.
  settling_.settled = result && settling_.lastChanges.empty();
  return result;
}

bool ReturnSettler::calculate() {
  engine_.calcReturn(0);
  return true;
}

bool ReturnSettler::calculationPass() {
  return pass([this] { return calculate(); });
}

// Once a job, whatever became of the run: a writer that calculated and then
// failed to put its file in place ran them already.
bool ReturnSettler::hooksPass(const std::function<bool()>& calculation) {
  if (!hooks_ || hooksRan_) return true;
  hooksRan_ = true;
  HookSwitch hooksOn(true);
  return calculation();
}

void ReturnSettler::settle() {
  while (settling_.passes == 0 || !(settling_.settled || settling_.exhausted())) calculationPass();
  if (settling_.settled) hooksPass([this] { return calculate(); });
}

bool ReturnSettler::settleWriting(const std::function<bool()>& write) {
  bool fresh = false;  // the file written holds the return as it stands
  while (!fresh || !settling_.settled) {
    if (settling_.exhausted()) return false;
    if (!fresh) {
      if (!pass(write)) return false;
      fresh = true;
    } else {
      calculationPass();
      fresh = settling_.settled;
    }
  }
  return hooksPass(write);
}
