// The automated-test hooks that run at the end of a whole-return
// calculation when the host allows automated tests: the PA driver
// (runAutoTest) and the state layer's scrubber and cycle daemon.
//
// Each hook is steered by XML files in the host's automated-test
// directory (none configured: the hooks do nothing): its clear file (CLEAR
// "Yes" unmarks the done box first, and an in-progress box that no
// recalculation of this run marked) and the options file all hooks share
// (a step runs when its switch is exactly "Yes"). The done box stops a
// hook; the in-progress box, marked while a hook recalculates the return,
// makes the hooks of that nested calculation skip their steps, and is
// reported when it skips them with no recalculation under way. Paths from
// the options file are resolved inside the automated-test directory; a
// step whose path is refused does not run, and the refusal goes to the
// hooks' report (auto_test_report.h), as does everything the readers
// refuse while a hook runs. No exception of the option reader leaves a
// hook.
#include <iterator>
#include <string>
#include <vector>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/state/state_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "identifiers/form_ids.h"
#include "testing/auto_test_boxes.h"
#include "testing/auto_test_files.h"
#include "testing/auto_test_report.h"

namespace {

using AutoTestFiles::isOn;
using AutoTestFiles::OptionValues;

// Reads CLEAR of a clear file into `clear`; false when the host's reader
// raised an exception (the hook ends).
bool readClear(const std::string& fileName, bool& clear) {
  OptionValues values;
  if (!AutoTestFiles::readOptions(AutoTestFiles::autoTestFile(fileName), {AutoTestFiles::kClearTag}, values)) {
    return false;
  }
  clear = isOn(values[AutoTestFiles::kClearTag]);
  return true;
}

// Steps 2 to 4 shared by every hook: stop while the done box is marked (or
// the boxes have no copy to live on), read the options (the hook's own and
// the inputs of every hook, which no output may replace), then ask for
// the automated-test directory to go when it is empty. False: the hook
// ends.
bool readHookOptions(const DataMgmt::TaxReturn* taxReturn, const DataMgmt::FormId& boxForm,
                     const DataMgmt::FieldId& doneBox, std::vector<std::string> tags, OptionValues& options) {
  // Without copy 1 the in-progress box cannot be kept, and a hook's
  // recalculation would run the hooks again without end.
  if (taxReturn->getForm(boxForm, 1) == nullptr) return false;
  if (AutoTestBoxes::isMarked(taxReturn, boxForm, doneBox)) return false;
  tags.insert(tags.end(), std::begin(AutoTestFiles::kInputTags), std::end(AutoTestFiles::kInputTags));
  if (!AutoTestFiles::readOptions(AutoTestFiles::autoTestFile(AutoTestFiles::kOptionsFileName), tags,
                                  options)) {
    return false;
  }
  AutoTestFiles::removeAutoTestDirectory();
  return true;
}

// Whether a step whose switch is `on` runs: not while a hook recalculates.
// A box left marked by no recalculation of this run (saved so with the
// return) is reported, once a hook (`reported`): else every step would be
// skipped without a word until a clear file resets it.
bool stepRuns(bool on, const DataMgmt::TaxReturn* taxReturn, const DataMgmt::FormId& boxForm,
              const DataMgmt::FieldId& inProgressBox, bool& reported) {
  if (!on) return false;
  if (!AutoTestBoxes::isMarked(taxReturn, boxForm, inProgressBox)) return true;
  if (!reported && AutoTestBoxes::isStale(taxReturn, boxForm, inProgressBox)) {
    AutoTestReport::add("the in-progress box is marked, but no hook is recalculating (a return saved so?): "
                        "every step is skipped until a clear file says CLEAR Yes");
    reported = true;
  }
  return false;
}

// The path an option names, resolved as a directory or a file; a refused
// one is reported and its step does not run.
bool optionPath(OptionValues& options, const std::string& tag, bool isFile, std::string& path) {
  std::string why;
  const std::string& value = options[tag];
  if (isFile ? AutoTestFiles::resolveFile(value, path, &why) : AutoTestFiles::resolveDirectory(value, path, &why)) {
    return true;
  }
  AutoTestReport::add("option " + tag + " \"" + value + "\": " + why);
  return false;
}

bool directoryOption(OptionValues& options, const std::string& tag, std::string& dir) {
  return optionPath(options, tag, false, dir);
}

bool fileOption(OptionValues& options, const std::string& tag, std::string& path) {
  return optionPath(options, tag, true, path);
}

// An option naming a file a step reads. One that is not a regular file to
// be read (missing, a FIFO, a folder) is reported, and its step does not
// run: it would find nothing, or wait for ever.
bool inputOption(OptionValues& options, const std::string& tag, std::string& path) {
  if (!fileOption(options, tag, path)) return false;
  const std::string why = AutoTestFiles::whyNotReadable(path);
  if (why.empty()) return true;
  AutoTestReport::add("option " + tag + " \"" + options[tag] + "\": " + why);
  return false;
}

// An option naming a file of a folder that another option names.
bool fileNameOption(OptionValues& options, const std::string& tag) {
  if (AutoTestFiles::isPlainName(options[tag])) return true;
  AutoTestReport::add("option " + tag + " \"" + options[tag] + "\": not a plain file name");
  return false;
}

}  // namespace

namespace PACalculationMgmt {

void PATaxReturnCalcEngine::runAutoTest() {
  if (paReturn == nullptr || !AutoTestFiles::hasAutoTestDirectory()) return;
  const AutoTestReport::Scope reporting;
  const DataMgmt::FormId& boxForm = kFormID_PAReturnInfo;
  const DataMgmt::FieldId& doneBox = PAReturnInfo::kAutoTestDoneBox;
  const DataMgmt::FieldId& inProgressBox = PAReturnInfo::kAutoTestInProgressBox;

  bool clear = false;
  if (!readClear(std::string("PA") + AutoTestFiles::kDriverClearTail, clear)) return;
  if (clear) clearAutoTestFlag();
  OptionValues options;
  if (!readHookOptions(paReturn, boxForm, doneBox,
                       {"PAGENERATECYCLE", "PAOUTPUTDIR", "PAOUTPUTFIELDVALUES", "PAOUTPUTFIELDVALUESDIR",
                        "PAOUTPUTALLFIELDS", "PAOUTPUTALLFIELDSFILE", "PAOUTPUTALLFIELDSDIR",
                        "PAOUTPUTALLFIELDSFORSINGLEFORM", "PAOUTPUTALLFIELDSFORSINGLEFORMTARGET",
                        "PAOUTPUTALLFIELDSFORSINGLEFORMFILE", "PAOUTPUTALLFIELDSFORSINGLEFORMDIR",
                        "PAIMPORTFIELDS", "PAFIELDLIST", "PAFIELDRELATION", "PAFIELDRELATIONFORMSAFFECTED",
                        "PAFIELDRELATIONINPUTFIELDS", "PAFIELDRELATIONOUTPUTFIELDS"},
                       options)) {
    return;
  }
  const AutoTestFiles::RunInputs inputs(options);

  bool staleReported = false;
  auto runs = [&](const char* tag) {
    return stepRuns(isOn(options[tag]), paReturn, boxForm, inProgressBox, staleReported);
  };
  std::string dir;
  std::string path;
  if (runs("PAGENERATECYCLE") && directoryOption(options, "PAOUTPUTDIR", dir)) writeFieldValuesXml(dir);
  if (runs("PAOUTPUTFIELDVALUES") && directoryOption(options, "PAOUTPUTFIELDVALUESDIR", dir)) {
    writeAllFieldsXml(dir);
  }
  if (runs("PAOUTPUTALLFIELDS") && fileNameOption(options, "PAOUTPUTALLFIELDSFILE") &&
      directoryOption(options, "PAOUTPUTALLFIELDSDIR", dir)) {
    writeAllFieldNames(options["PAOUTPUTALLFIELDSFILE"], dir);
  }
  if (runs("PAOUTPUTALLFIELDSFORSINGLEFORM") && fileNameOption(options, "PAOUTPUTALLFIELDSFORSINGLEFORMFILE") &&
      directoryOption(options, "PAOUTPUTALLFIELDSFORSINGLEFORMDIR", dir)) {
    writeFormFieldNames(options["PAOUTPUTALLFIELDSFORSINGLEFORMTARGET"],
                        options["PAOUTPUTALLFIELDSFORSINGLEFORMFILE"], dir);
  }
  if (runs("PAIMPORTFIELDS") && inputOption(options, "PAFIELDLIST", path)) loadInputTextFile(path, paReturn);
  std::string formsAffected;
  std::string relations;
  std::string results;
  if (runs("PAFIELDRELATION") && inputOption(options, "PAFIELDRELATIONFORMSAFFECTED", formsAffected) &&
      inputOption(options, "PAFIELDRELATIONINPUTFIELDS", relations) &&
      fileOption(options, "PAFIELDRELATIONOUTPUTFIELDS", results)) {
    loadInputXmlFile(formsAffected, relations, results, paReturn, boxForm, inProgressBox);
    // Done only when the relations were run and every result written.
    if (relationResultsWritten) AutoTestBoxes::mark(paReturn, boxForm, doneBox);
  }
}

void PATaxReturnCalcEngine::clearAutoTestFlag() {
  AutoTestBoxes::unmark(paReturn, kFormID_PAReturnInfo, PAReturnInfo::kAutoTestDoneBox);
  AutoTestFiles::rewriteClearFile(AutoTestFiles::autoTestFile(std::string("PA") + AutoTestFiles::kDriverClearTail));
  // The clear file also resets an in-progress box left marked in a saved
  // return, which would keep every step from running; never the box of a
  // recalculation under way.
  AutoTestBoxes::resetIfStale(paReturn, kFormID_PAReturnInfo, PAReturnInfo::kAutoTestInProgressBox);
}

}  // namespace PACalculationMgmt

namespace StateCalculationMgmt {

void StateTaxReturnCalcEngine::runScrubberAutoTest(const std::string& prefix, DataMgmt::TaxReturn* taxReturn,
                                                   FormId formId, FieldId doneBox, FieldId inProgressBox) {
  // The prefix names files: it must be a plain name part.
  if (taxReturn == nullptr || !AutoTestFiles::hasAutoTestDirectory() ||
      !AutoTestFiles::isPlainName(prefix + AutoTestFiles::kScrubberClearTail)) {
    return;
  }
  const AutoTestReport::Scope reporting;
  bool clear = false;
  if (!readClear(prefix + AutoTestFiles::kScrubberClearTail, clear)) return;
  if (clear) {
    clearScrubberFlag(prefix, taxReturn, formId, doneBox);
    AutoTestBoxes::resetIfStale(taxReturn, formId, inProgressBox);
  }
  OptionValues options;
  if (!readHookOptions(taxReturn, formId, doneBox, {"SCRUBBER", "INPUTFIELDLIST"}, options)) return;
  const AutoTestFiles::RunInputs inputs(options);
  bool staleReported = false;
  if (!stepRuns(isOn(options["SCRUBBER"]), taxReturn, formId, inProgressBox, staleReported)) return;
  std::string path;
  if (!inputOption(options, "INPUTFIELDLIST", path)) return;
  scrubInputFields(prefix, path, taxReturn, formId, doneBox, inProgressBox);
}

void StateTaxReturnCalcEngine::runCycleDaemonAutoTest(const std::string& prefix, DataMgmt::TaxReturn* taxReturn,
                                                      FormId formId, FieldId doneBox, FieldId inProgressBox) {
  if (taxReturn == nullptr || !AutoTestFiles::hasAutoTestDirectory() ||
      !AutoTestFiles::isPlainName(prefix + AutoTestFiles::kCycleDaemonClearTail)) {
    return;
  }
  const AutoTestReport::Scope reporting;
  bool clear = false;
  if (!readClear(prefix + AutoTestFiles::kCycleDaemonClearTail, clear)) return;
  if (clear) {
    clearCycleDaemonFlag(prefix, taxReturn, formId, doneBox);
    AutoTestBoxes::resetIfStale(taxReturn, formId, inProgressBox);
  }
  const std::string generateTag = prefix + "GENERATECYCLEDAEMON";
  const std::string dirTag = prefix + "OUTPUTDIRDAEMON";
  OptionValues options;
  if (!readHookOptions(taxReturn, formId, doneBox, {generateTag, dirTag}, options)) return;
  const AutoTestFiles::RunInputs inputs(options);
  bool staleReported = false;
  if (!stepRuns(isOn(options[generateTag]), taxReturn, formId, inProgressBox, staleReported)) return;
  std::string dir;
  if (!directoryOption(options, dirTag, dir)) return;
  writeReturnXmlDump(prefix, dir, taxReturn, formId, doneBox, inProgressBox);
}

void StateTaxReturnCalcEngine::clearScrubberFlag(const std::string& prefix, DataMgmt::TaxReturn* taxReturn,
                                                 FormId formId, FieldId doneBox) {
  AutoTestBoxes::unmark(taxReturn, formId, doneBox);
  if (AutoTestFiles::isPlainName(prefix + AutoTestFiles::kScrubberClearTail)) {
    AutoTestFiles::rewriteClearFile(AutoTestFiles::autoTestFile(prefix + AutoTestFiles::kScrubberClearTail));
  }
}

void StateTaxReturnCalcEngine::clearCycleDaemonFlag(const std::string& /*prefix*/,
                                                    DataMgmt::TaxReturn* taxReturn, FormId formId,
                                                    FieldId doneBox) {
  // The clear file stays as it is: while it says "Yes" the dump is written
  // at every calculation.
  AutoTestBoxes::unmark(taxReturn, formId, doneBox);
}

}  // namespace StateCalculationMgmt
