#include "output/pa_tif_file_writer.h"

#include "entry/release_share.h"

namespace PATifWriteMgmt {

PATifFileWriter::PATifFileWriter(DataMgmt::TaxReturnPtr federalReturn,
                                 DataMgmt::TaxReturnPtr stateReturn,
                                 CalculationMgmt::TaxReturnCalcEnginePtr engine,
                                 TaxFormPrintMgmt::TaxFormPrinterPtr printer,
                                 AuditMgmt::TaxFormAuditorPtr auditor,
                                 DataMgmt::OrvaneConfiguration* configuration)
    : StateTifWriteMgmt::StateTifFileWriter(federalReturn, stateReturn, engine, printer, auditor,
                                            configuration),
      paReturn(dynamic_cast<PADataMgmt::PATaxReturn*>(stateReturn.get())) {
  releaseShare(federalReturn);
  releaseShare(stateReturn);
  releaseShare(engine);
  releaseShare(printer);
  releaseShare(auditor);
}

PATifFileWriter::~PATifFileWriter() = default;

}  // namespace PATifWriteMgmt
