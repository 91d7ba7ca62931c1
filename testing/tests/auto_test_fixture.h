// Fixture of the test-data reader and hook tests: a federal return, a PA
// return and a probe PA engine over them, with a fresh automated-test
// directory under the test's temporary directory.
//
// The probe leaves out the per-form calculations (only `formula`, when
// set, runs for every copy handed to calcStateForm), so field values stay
// as the test put them, and logs the calculations the hooks start.
#ifndef TESTING_TESTS_AUTO_TEST_FIXTURE_H_
#define TESTING_TESTS_AUTO_TEST_FIXTURE_H_

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "host/configuration.h"
#include "host/field_value.h"
#include "host/form_field.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/tax_form.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"
#include "return/pa_tax_return.h"

class AutoTestProbe : public PACalculationMgmt::PATaxReturnCalcEngine {
 public:
  using PACalculationMgmt::PATaxReturnCalcEngine::PATaxReturnCalcEngine;
  void calcStateForm(const DataMgmt::FormId& formId, uint16_t copy, bool, int, int, DataMgmt::TaxFormPtr) override {
    if (formula) formula(formId, copy);
  }
  void calcReturn(int flag) override { log("calcReturn"), PATaxReturnCalcEngine::calcReturn(flag); }
  void calcStateReturn() override { log("calcStateReturn"), PATaxReturnCalcEngine::calcStateReturn(); }
  void log(const char* call) { calls.push_back(call); }

  std::function<void(const DataMgmt::FormId&, uint16_t)> formula;
  std::vector<std::string> calls;
};

// While one lives, no file of this process grows past `bytes`: a write
// beyond fails (EFBIG) as it would on a full disk, and SIGXFSZ is ignored.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit = {bytes, old_.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_;
  void (*oldHandler_)(int);
};

class AutoTestFixture : public ::testing::Test {
 protected:
  typedef Primitives::OVImmutableFormIdentifier FormId;
  typedef Primitives::OVImmutableIdentifier FieldId;
  typedef std::vector<std::pair<std::string, std::string>> Options;

  void SetUp() override {
    StandIn::resetAll();
    dir = ::testing::TempDir() + "autotest_" + std::to_string(::getpid()) + "_" +
          ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    DataMgmt::OrvaneConfiguration::getInstance().setAutoTestDir(dir);
    federal = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn());
    pa.reset(new PADataMgmt::PATaxReturn(federal, DataMgmt::TaxReturnDesc::pennsylvania(),
                                         Utils::StringPool::shared()));
    engine.reset(new AutoTestProbe(static_cast<DataMgmt::USTaxReturn*>(federal.get()), pa.get(),
                                   TaxFormPrintMgmt::TaxFormPrinterPtr()));
    info();  // the boxes live on copy 1 of the information form
  }
  void TearDown() override {
    EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0);
    EXPECT_EQ(StandIn::diagnostics().nonFiniteWrites, 0);
    engine.reset();
    std::filesystem::remove_all(dir);
  }

  DataMgmt::TaxFormPtr info() { return pa->getFormOrCreate(kFormID_PAReturnInfo, 1); }
  void put(const FormId& form, const FieldId& field, const DataMgmt::FieldValue& value, uint16_t copy = 1) {
    pa->getFormOrCreate(form, copy)->store(field, value);
  }
  void name(const std::string& value) { put(kFormID_PAReturnInfo, kName, DataMgmt::FieldValue::ofText(value)); }
  std::string name() { return pa->getFieldAsString(kFormID_PAReturnInfo, 1, kName); }
  bool done() { return pa->formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kAutoTestDoneBox); }
  bool inProgress() { return pa->formYes(kFormID_PAReturnInfo, 1, PAReturnInfo::kAutoTestInProgressBox); }

  // Files of the automated-test directory.
  void write(const std::string& fileName, const std::string& content) {
    const std::filesystem::path path(dir + fileName);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
  }
  std::string read(const std::string& fileName) {
    std::stringstream content;
    content << std::ifstream(dir + fileName, std::ios::binary).rdbuf();
    return content.str();
  }
  bool exists(const std::string& fileName) { return std::filesystem::exists(dir + fileName); }
  // A FIFO of the automated-test directory, which nobody writes.
  void fifo(const std::string& fileName) { ASSERT_EQ(::mkfifo((dir + fileName).c_str(), 0600), 0) << fileName; }
  // An options file of <TAG>value</TAG> pairs.
  void writeOptions(const Options& options, const std::string& fileName = "OrvaneAutoTest_OVQA.xml") {
    std::string content = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<AUTOTESTOPTIONS>\n";
    for (const auto& option : options) content += "<" + option.first + ">" + option.second + "</" + option.first + ">\n";
    write(fileName, content + "</AUTOTESTOPTIONS>\n");
  }

  // The taxpayer's first name (host field 31, "F31" in test data), a text.
  static constexpr const NamedField<PAReturnInfoFieldIds>& kName = PAReturnInfo::kTaxpayerFirstName;
  std::string dir;  // the automated-test directory, ending with "/"
  DataMgmt::TaxReturnPtr federal;
  std::unique_ptr<PADataMgmt::PATaxReturn> pa;
  std::unique_ptr<AutoTestProbe> engine;  // destroyed first
};

#endif  // TESTING_TESTS_AUTO_TEST_FIXTURE_H_
