// DataMgmt::OrvaneConfiguration: the host's process-wide settings.
//
// One instance per process (getInstance). The host hands the module a
// plain pointer to it; nobody releases it. Besides the host's automatic
// test switch and its version text it holds the stand-in's directories:
// where automatic-test files, data files and PDF files live. Every setting
// is settable; StandIn::resetAll restores the defaults (automatic tests
// off, version "2018.0", no automatic-test directory, ".", ".", no input
// files, no outputs).
#ifndef HOST_CONFIGURATION_H_
#define HOST_CONFIGURATION_H_

#include <string>
#include <vector>

#include "host/host_api.h"

namespace DataMgmt {

class HOST_API OrvaneConfiguration {
 public:
  static OrvaneConfiguration& getInstance();

  // Where the Windows host keeps its automatic-test files. Kept for
  // reference only: on this platform it would be a relative path, so the
  // directory is a setting that starts empty.
  static constexpr const char* kWindowsAutoTestDir = "C:/AutoTest_OV/";

  // Whether the host runs automatic tests (the module then writes its test
  // files into the automatic-test directory).
  bool AllowAutoTest() const { return allowAutoTest_; }
  // The host's version text (the data file's header carries it).
  std::string getVersionText() const { return versionText_; }  // ours

  // Stand-in settings (ours). An empty automatic-test directory (the
  // default) means there is none: the module's test hooks then do nothing,
  // even with automatic tests allowed.
  std::string getAutoTestDir() const { return autoTestDir_; }
  std::string getDataDir() const { return dataDir_; }
  std::string getPdfDir() const { return pdfDir_; }
  void setAllowAutoTest(bool allow) { allowAutoTest_ = allow; }
  void setVersionText(const std::string& text) { versionText_ = text; }
  void setAutoTestDir(const std::string& dir) { autoTestDir_ = dir; }
  void setDataDir(const std::string& dir) { dataDir_ = dir; }
  void setPdfDir(const std::string& dir) { pdfDir_ = dir; }
  // The files the host reads in this run (its return file, the federal
  // data file): no output of the module's automated-test hooks may be one
  // of them.
  const std::vector<std::string>& getHostInputFiles() const { return hostInputFiles_; }
  void setHostInputFiles(const std::vector<std::string>& paths) { hostInputFiles_ = paths; }
  // The files and folders the host writes in this run (its data file, the
  // lock file beside it, the folder it writes the data file in while it
  // does): no output of the hooks may be one of them or lie in such a
  // folder.
  const std::vector<std::string>& getHostOutputs() const { return hostOutputs_; }
  void setHostOutputs(const std::vector<std::string>& paths) { hostOutputs_ = paths; }
  void addHostOutput(const std::string& path) { hostOutputs_.push_back(path); }

  // Back to the defaults.
  void reset();

 private:
  OrvaneConfiguration();
  OrvaneConfiguration(const OrvaneConfiguration&) = delete;
  OrvaneConfiguration& operator=(const OrvaneConfiguration&) = delete;

  bool allowAutoTest_;
  std::string versionText_;
  std::string autoTestDir_;
  std::string dataDir_;
  std::string pdfDir_;
  std::vector<std::string> hostInputFiles_;
  std::vector<std::string> hostOutputs_;
};

}  // namespace DataMgmt

#endif  // HOST_CONFIGURATION_H_
