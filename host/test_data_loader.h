// CalculationMgmt::TestDataLoader: an engine that reads returns written in
// the test-data text format ("FORM:copy:FIELD:value" lines).
//
// The host finds it on the engine it was handed (dynamic_cast from
// TaxReturnCalcEngine); an engine that is not one loads no test data. The
// host never owns an engine through this interface.
#ifndef HOST_TEST_DATA_LOADER_H_
#define HOST_TEST_DATA_LOADER_H_

#include <string>
#include <vector>

#include "host/host_api.h"
#include "host/tax_return.h"

namespace CalculationMgmt {

class HOST_API TestDataLoader {
 public:
  // Loads the test-data file at `path` into `taxReturn`.
  virtual void loadInputTextFile(const std::string& path, DataMgmt::TaxReturn* taxReturn) = 0;
  // Loads the lines of a test-data file that the host has read already
  // (each without its line end, in file order) into `taxReturn`, as
  // loadInputTextFile loads the lines of its file (ours: a host that reads
  // the file itself reads it once for both returns).
  virtual void loadInputLines(const std::vector<std::string>& lines, DataMgmt::TaxReturn* taxReturn) = 0;

 protected:
  virtual ~TestDataLoader();
};

}  // namespace CalculationMgmt

#endif  // HOST_TEST_DATA_LOADER_H_
