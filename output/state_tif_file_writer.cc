#include "output/state_tif_file_writer.h"

namespace StateTifWriteMgmt {

StateTifFileWriter::StateTifFileWriter(DataMgmt::TaxReturnPtr& federalReturn,
                                       DataMgmt::TaxReturnPtr& stateReturn,
                                       CalculationMgmt::TaxReturnCalcEnginePtr& engine,
                                       TaxFormPrintMgmt::TaxFormPrinterPtr& printer,
                                       AuditMgmt::TaxFormAuditorPtr& auditor,
                                       DataMgmt::OrvaneConfiguration*& configuration)
    : TifWriteMgmt::TifFileWriter(federalReturn, stateReturn, engine, printer, auditor,
                                  configuration) {}

StateTifFileWriter::~StateTifFileWriter() = default;

}  // namespace StateTifWriteMgmt
