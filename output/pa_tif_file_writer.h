// PATifWriteMgmt::PATifFileWriter: the Pennsylvania writer of the
// electronic-filing data file.
//
// The host creates it through createTifFileWriterInstance and deletes it
// through its virtual destructor. The shares of the returns, engine,
// printer and auditor are the host base's; this layer borrows the state
// return as the PA return, null when it is not one.
#ifndef OUTPUT_PA_TIF_FILE_WRITER_H_
#define OUTPUT_PA_TIF_FILE_WRITER_H_

#include "entry/pa_tax_return.h"
#include "output/state_tif_file_writer.h"

namespace PATifWriteMgmt {

class PATifFileWriter : public StateTifWriteMgmt::StateTifFileWriter {
 public:
  // The five holders are released before the constructor returns.
  PATifFileWriter(DataMgmt::TaxReturnPtr federalReturn, DataMgmt::TaxReturnPtr stateReturn,
                  CalculationMgmt::TaxReturnCalcEnginePtr engine,
                  TaxFormPrintMgmt::TaxFormPrinterPtr printer, AuditMgmt::TaxFormAuditorPtr auditor,
                  DataMgmt::OrvaneConfiguration* configuration);
  ~PATifFileWriter() override;

  PADataMgmt::PATaxReturn* getPAReturn() const { return paReturn; }

  // ---- PA writer, record order, statement / header / authentication records, W-2 and 1099-G records ----

  // ---- Schedule E and D transaction records, schedule line writers, value cleaning ----

 protected:
  PADataMgmt::PATaxReturn* paReturn;  // borrowed
};

}  // namespace PATifWriteMgmt

#endif  // OUTPUT_PA_TIF_FILE_WRITER_H_
