// StateTifWriteMgmt::StateTifFileWriter: the state layer of the writer of a
// state return's electronic-filing data file, shared by every state's
// writer.
//
// The host base keeps shares of both returns, the engine, the printer and
// the auditor, and the configuration pointer (never released).
#ifndef OUTPUT_STATE_TIF_FILE_WRITER_H_
#define OUTPUT_STATE_TIF_FILE_WRITER_H_

#include "host/tif_writer.h"

namespace StateTifWriteMgmt {

class StateTifFileWriter : public TifWriteMgmt::TifFileWriter {
 public:
  StateTifFileWriter(DataMgmt::TaxReturnPtr& federalReturn, DataMgmt::TaxReturnPtr& stateReturn,
                     CalculationMgmt::TaxReturnCalcEnginePtr& engine,
                     TaxFormPrintMgmt::TaxFormPrinterPtr& printer,
                     AuditMgmt::TaxFormAuditorPtr& auditor,
                     DataMgmt::OrvaneConfiguration*& configuration);
  ~StateTifFileWriter() override;
};

}  // namespace StateTifWriteMgmt

#endif  // OUTPUT_STATE_TIF_FILE_WRITER_H_
