// HostSession: one session of the stand-in host with a loaded PA module.
//
// It finds the module's factories, builds the federal return and, through
// the factories, the PA return, its printer, engine, auditor, data-file
// writer, macro expander, summary report and interview, and reports the PA
// return's state constants and mailing addresses. It loads a test-data
// file into both returns, calculates them and writes them back out in the
// same format; it audits the return (as the host does for a return it
// files on paper or electronically) and writes its data file. The session
// owns every object it built and deletes them,
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
#include "pahost/settling.h"

class DataFilePlacement;

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
  // (each return takes the lines that name its own forms). The file is
  // read once.
  void load(const std::string& path);
  // The same with the file's lines read already (checkLines keeps them),
  // all at once or a part at a time in file order: the federal figures and
  // each return's fields are set apart from one another, in the order of
  // their lines, either way.
  void loadLines(const std::vector<std::string>& lines);
  // Deletes copy `copy` of the form the test-data format names `form`
  // ("FEDW2") from the return that holds it, as a user deletes a form; a
  // form of neither return, or a missing copy, is left alone.
  void deleteCopy(const std::string& form, uint16_t copy);
  // Puts the PA return in the host's e-file state: the e-file manager (one
  // for the process, as the host's) says the return is being filed
  // electronically, and the return says so too.
  // Call it before calculating: the calculation and the mailing address
  // read it.
  void fileElectronically();
  // Calculates the whole return once.
  void calculate();
  // Calculates the whole return once more, watching both returns: the
  // fields that calculation changed, named as lastChangesNamed() names
  // them (none when one calculation of the return is final).
  std::vector<std::string> calculateNamingChanges();
  // Calculates the whole return until a calculation changes nothing, at
  // most Settling::kMostPasses times, and runs the automated-test hooks
  // once on the settled return (settling.h).
  void settle();
  // How the calculations of the last settle() or settleAndWrite() went.
  const Settling& settling() const { return settling_; }
  // The fields the last calculation changed, one a line: the printed
  // title of the form, the copy and the field as the test-data format
  // names it ("PA-40, copy 1: PA40:1:F228").
  std::vector<std::string> lastChangesNamed() const;
  // The check of the file's lines against both returns (line_check.h),
  // with the lines stored as read, for loadLines.
  LineCheck checkLines(const std::string& path) const;
  // Audits the return, an electronic-filing audit when `eFile`, and gives
  // the messages the host shows (those whose problem is there), in order.
  // An e-file audit starts as the host's does: the refusal record on the
  // federal return armed (copy 1 of federal form 183, status 1) and the
  // return's problem flag cleared.
  // Each names the printed title of its form and the copy it is about
  // when the host can tell (message_copies.h).
  struct AuditMessage {
    std::string form;     // printed title ("PA Schedule E"); "PA return" for the whole return
    unsigned short copy;  // the copy; 0 for the whole return or a copy not known
    std::string text;
    bool barsEFiling;     // a restriction on electronic filing
  };
  std::vector<AuditMessage> audit(bool eFile);
  // What the last e-file audit left for the host's e-filing: the refusal
  // recorded on the federal return ("" when none) and whether the audit
  // found a problem of the return.
  struct EFileOutcome {
    std::string refusal;
    bool problem;
  };
  EFileOutcome eFileOutcome() const;
  // Writes the PA data file to `path` through the module's writer and
  // counts its records; false with error() set (the cause included) when
  // it cannot be written. A file written whose records cannot be counted
  // gives -1 records, error() saying why. The host's writer writes the file under the
  // host's name ("40.tif") in its data folder, here a private folder beside
  // `path` that sees the federal file ("1.tif") beside `path`; the file is
  // then put at `path` so that `path` always holds the complete older file
  // or the complete new one (data_file.h), whatever it is called.
  bool writeDataFile(const std::string& path, long* records);
  // The federal file a data file at `path` is made from: the host's name
  // for it in the same folder.
  static std::string federalFileBeside(const std::string& path);
  // How writeDataFile waits for another run of the user's that writes into
  // the same folder: at most `seconds` (below 0: the placement's own bound),
  // saying so on `notices` (nullptr, the default: nowhere).
  void setDataFileWait(int seconds, std::FILE* notices);
  // The job's calculations and data file together: the return settled
  // (settle()) and its data file written as writeDataFile writes it, of
  // the settled return; the writer's calculations are among those that
  // settle it (ReturnSettler::settleWriting), so a return that settles in
  // one calculation is calculated twice. A return that does not settle is
  // not written (false, error() saying so); after a write that failed the
  // return is settled all the same.
  bool settleAndWrite(const std::string& path, long* records);
  // The top-level topics of the interview (empty before build()).
  const std::vector<TopicMgmt::TopicDesc*>& interview() const;
  // The federal and the PA return (null before build()).
  const DataMgmt::TaxReturn* federalReturn() const { return federal_.get(); }
  const DataMgmt::TaxReturn* paReturn() const { return state_.get(); }
  // Writes both returns in the test-data format, the federal return first;
  // the count of fields whose text the format cannot carry (dump.h).
  int dump(std::FILE* out) const;
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
  // The printed title of a form an audit message is about.
  std::string formTitle(const DataMgmt::FormId& form) const;
  // Changed fields, one a line, as lastChangesNamed() names them.
  std::vector<std::string> named(const std::vector<DataMgmt::ChangeWatch::Change>& changes) const;
  // How many copies of `form` its return holds.
  int copiesOf(const DataMgmt::FormId& form) const;
  // Copy 1 of federal form 183, where the refusal is recorded; made when
  // `create`.
  DataMgmt::TaxFormPtr refusalRecord(bool create) const;
  // The name of a return type's data file in the host's data folder.
  static std::string fileNameOf(DataMgmt::TaxReturnType type);
  // writeDataFile, the return settled by `settler` through the writer's
  // runs (when not null).
  bool writeDataFile(const std::string& path, long* records, ReturnSettler* settler);
  // writeDataFile's steps within `placement`, up to the file in place.
  bool placeDataFile(DataFilePlacement& placement, const std::string& path, long* records, ReturnSettler* settler);
  // The writer's run with `folder` as the data folder.
  bool writeInto(const std::string& folder);
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
  Settling settling_;
  int dataFileWait_ = -1;
  std::FILE* waitNotices_ = nullptr;
  std::string error_;
};

#endif  // PAHOST_SESSION_H_
