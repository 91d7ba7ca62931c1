// HostSession: one session of the stand-in host with a loaded PA module.
//
// It finds the module's factories, builds the federal return and, through
// the factories, the PA return, its printer, engine, auditor, data-file
// writer, macro expander, summary report and interview, and reports the PA
// return's state constants and mailing addresses. It loads a test-data
// file into both returns, calculates them and writes them back out in the
// same format; it audits the return and writes its data file. The session owns every object it built and deletes them,
// on every path, in the order in which they depend on one another: the
// interview, the summary report, the macro expander, the writer, the
// auditor, the engine, the printer, the PA return and last the federal
// return. The module must stay loaded while the session lives.
#ifndef PAHOST_SESSION_H_
#define PAHOST_SESSION_H_

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "entry/module_entry.h"
#include "pahost/line_check.h"
#include "pahost/module_loader.h"

class HostSession {
 public:
  HostSession() = default;
  ~HostSession();
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  // Finds the eight factories; false with error() set when one is missing.
  bool findFactories(ModuleLoader& module);
  // Builds every object; false with error() set when a factory gives none.
  bool build();
  // Writes the PA return's state constants and mailing addresses.
  void report(std::FILE* out);
  // The mailing address the PA return chooses now (kind 0): call it after
  // the calculation, which decides it.
  std::string chosenMailingAddress();
  // Loads the test-data file at `path`: its federal items (see
  // federal_items.h) into the federal return, then the file into the
  // federal return and into the PA return with the engine's text loader
  // (each return takes the lines that name its own forms).
  void load(const std::string& path);
  // Calculates the whole return.
  void calculate();
  // The check of the file's lines against both returns (line_check.h).
  LineCheck checkLines(const std::string& path) const;
  // Audits the return, an electronic-filing audit when `eFile`, and gives
  // the messages the host shows (those whose problem is there), in order.
  struct AuditMessage {
    std::string text;
    bool eFileRefusal;  // a message that bars electronic filing
  };
  std::vector<AuditMessage> audit(bool eFile);
  // Writes the PA data file to `path` through the module's writer and
  // counts its records; false with error() set when it cannot be written.
  // The host writes the file under its own name ("40.tif") in its data
  // folder: the folder of `path` when `path` has that name, else a fresh
  // folder beside `path`, so that no other file is touched, from which the
  // file is moved to `path`. A failed write leaves an older file at `path`
  // as it was.
  bool writeDataFile(const std::string& path, long* records);
  // The job's calculation and data file together: writeDataFile, whose
  // writer calculates the return before it writes it, so that the return
  // is calculated once; a write that failed may have stopped before it
  // calculated, so the return is then calculated here.
  bool calculateAndWrite(const std::string& path, long* records);
  // The top-level topics of the interview (empty before build()).
  const std::vector<TopicMgmt::TopicDesc*>& interview() const;
  // The federal and the PA return (null before build()).
  const DataMgmt::TaxReturn* federalReturn() const { return federal_.get(); }
  const DataMgmt::TaxReturn* paReturn() const { return state_.get(); }
  // Writes both returns in the test-data format, the federal return first.
  void dump(std::FILE* out) const;
  // The engine's summary amount: owed when positive, a refund when negative.
  long summaryAmount();
  // Makes the summary report anew through the module's factory, as the host
  // does each time it shows it (the report reads the return when it is
  // made), and writes its labelled lines.
  void printSummaryReport(std::FILE* out);
  // Deletes every object in order; done again by the destructor, so any
  // path cleans up. False with error() set when an object was still shared
  // when the host gave up its own holder (a share kept elsewhere would let
  // it outlive the objects it uses).
  bool close();

  const std::string& error() const { return error_; }

 private:
  // The module's factories, typed after their declarations.
  struct Factories {
    decltype(&createTaxReturnInstance) taxReturn = nullptr;
    decltype(&createCalcEngineInstance) engine = nullptr;
    decltype(&createAuditorInstance) auditor = nullptr;
    decltype(&createTaxFormPrinterInstance) printer = nullptr;
    decltype(&createTifFileWriterInstance) writer = nullptr;
    decltype(&createMacroExpanderInstance) expander = nullptr;
    decltype(&createTaxSummaryReport) report = nullptr;
    decltype(&createInterviewHierarchy) interview = nullptr;
  };

  bool fail(const std::string& message);
  void deleteInterview();
  // The data file's name in the host's data folder.
  static std::string hostFileName();
  // The writer's run with `folder` as the data folder.
  bool writeInto(const std::string& folder);
  // writeDataFile when `path` has the host's name, and otherwise.
  bool writeInPlace(const std::string& folder, const std::string& path);
  bool writeBeside(const std::string& folder, const std::string& path);
  // Gives up the host's holder; false (error() set) when it was not the
  // last one.
  template <class Holder>
  bool releaseLast(Holder& holder, const char* name);

  Factories factories_;
  // Objects, in the order they are built; deleted in the reverse order.
  DataMgmt::TaxReturnPtr federal_;
  DataMgmt::TaxReturnPtr state_;
  TaxFormPrintMgmt::TaxFormPrinterPtr printer_;
  CalculationMgmt::TaxReturnCalcEnginePtr engine_;
  AuditMgmt::TaxFormAuditorPtr auditor_;
  std::unique_ptr<TifWriteMgmt::TifFileWriter> writer_;
  std::unique_ptr<MacroExpansionMgmt::MacroExpander> expander_;
  std::unique_ptr<ReportMgmt::TaxSummaryReport> report_;
  std::unique_ptr<DataMgmt::TaxDataStore> store_;  // holds both returns for the interview
  std::vector<TopicMgmt::TopicDesc*>* interview_ = nullptr;
  std::string error_;
};

#endif  // PAHOST_SESSION_H_
