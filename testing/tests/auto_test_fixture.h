// Fixture of the automated-test hook tests: a federal return, a PA return
// and a probe PA engine over them, with a fresh automated-test directory
// under the test's temporary directory.
//
// The probe leaves out the per-form calculations (only `formula`, when
// set, runs for every copy handed to calcStateForm), so field values stay
// as the test put them, and logs the engine operations the hooks reach.
#ifndef TESTING_TESTS_AUTO_TEST_FIXTURE_H_
#define TESTING_TESTS_AUTO_TEST_FIXTURE_H_

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "catalogs/catalogs.h"
#include "entry/pa_tax_return.h"
#include "host/configuration.h"
#include "host/field_value.h"
#include "host/form_field.h"
#include "host/io.h"
#include "host/stand_in.h"
#include "host/string_pool.h"
#include "host/tax_form.h"
#include "host/us_tax_return.h"
#include "identifiers/form_ids.h"

class AutoTestProbe : public PACalculationMgmt::PATaxReturnCalcEngine {
 public:
  using PACalculationMgmt::PATaxReturnCalcEngine::PATaxReturnCalcEngine;

  void calcStateForm(const DataMgmt::FormId& formId, uint16_t copy, bool, int, int,
                     DataMgmt::TaxFormPtr) override {
    if (formula) formula(formId, copy);
  }
  void calcReturn(int flag) override {
    calls.push_back("calcReturn");
    PATaxReturnCalcEngine::calcReturn(flag);
  }
  void calcStateReturn() override {
    calls.push_back("calcStateReturn");
    PATaxReturnCalcEngine::calcStateReturn();
  }
  void loadInputTextFile(const std::string& path, DataMgmt::TaxReturn* taxReturn) override {
    calls.push_back("loadInputTextFile");
    if (onImport) onImport();
    PATaxReturnCalcEngine::loadInputTextFile(path, taxReturn);
  }
  void loadInputXmlFile(const std::string& formsAffected, const std::string& relations,
                        const std::string& results, DataMgmt::TaxReturn* taxReturn,
                        const DataMgmt::FormId& boxForm, const DataMgmt::FieldId& box) override {
    calls.push_back("loadInputXmlFile");
    PATaxReturnCalcEngine::loadInputXmlFile(formsAffected, relations, results, taxReturn, boxForm, box);
  }

  std::function<void(const DataMgmt::FormId&, uint16_t)> formula;
  std::function<void()> onImport;
  std::vector<std::string> calls;
};

class AutoTestFixture : public ::testing::Test {
 protected:
  typedef Primitives::OVImmutableFormIdentifier FormId;
  typedef Primitives::OVImmutableIdentifier FieldId;

  void SetUp() override {
    StandIn::resetAll();
    dir = ::testing::TempDir() + "autotest_" + std::to_string(::getpid()) + "_" +
          ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    DataMgmt::OrvaneConfiguration::getInstance().setAutoTestDir(dir);
    federalPtr = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn());
    pa.reset(new PADataMgmt::PATaxReturn(federalPtr, DataMgmt::TaxReturnDesc::pennsylvania(),
                                         Utils::StringPool::shared()));
    engine.reset(new AutoTestProbe(federal(), pa.get(), TaxFormPrintMgmt::TaxFormPrinterPtr()));
    info();  // the boxes live on copy 1 of the information form
  }
  void TearDown() override {
    EXPECT_EQ(StandIn::diagnostics().unknownFieldWrites, 0);
    EXPECT_EQ(StandIn::diagnostics().nonFiniteWrites, 0);
    EXPECT_EQ(IOMgmt::IOMgr::getInstance().liveReaders(), 0);
    engine.reset();
    std::filesystem::remove_all(dir);
  }

  DataMgmt::USTaxReturn* federal() { return static_cast<DataMgmt::USTaxReturn*>(federalPtr.get()); }
  DataMgmt::TaxFormPtr holder(const FormId& form, uint16_t copy = 1) {
    return pa->getFormOrCreate(form, copy);
  }
  DataMgmt::TaxFormPtr info() { return holder(kFormID_PAReturnInfo); }
  void text(const FormId& form, const FieldId& field, const std::string& value, uint16_t copy = 1) {
    holder(form, copy)->store(field, DataMgmt::FieldValue::ofText(value));
  }
  void number(const FormId& form, const FieldId& field, double value, uint16_t copy = 1) {
    holder(form, copy)->store(field, DataMgmt::FieldValue::of(value));
  }
  std::string valueOf(const FormId& form, const FieldId& field, uint16_t copy = 1) {
    return pa->getFieldAsString(form, copy, field);
  }

  // The coordination boxes and a few plain fields of the PA return.
  static const FieldId& doneBox() { return kPAReturnInfoFieldIds.byNumber(81567); }
  static const FieldId& inProgressBox() { return kPAReturnInfoFieldIds.byNumber(81566); }
  static const FieldId& taxpayerName() { return kPAReturnInfoFieldIds.byNumber(31); }  // text
  static const FieldId& spouseName() { return kPAReturnInfoFieldIds.byNumber(36); }    // text
  static const FieldId& nonresident() { return kPAReturnInfoFieldIds.byNumber(47); }   // check box
  static const FieldId& pa40Line(int n) { return kPA40FieldIds.byNumber(n); }           // 11, 138: numbers
  bool done() { return pa->formYes(kFormID_PAReturnInfo, 1, doneBox()); }
  bool inProgress() { return pa->formYes(kFormID_PAReturnInfo, 1, inProgressBox()); }

  // Files of the automated-test directory.
  void write(const std::string& name, const std::string& content) {
    const std::filesystem::path path(dir + name);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
  }
  std::string read(const std::string& name) {
    std::ifstream in(dir + name, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
  }
  bool exists(const std::string& name) { return std::filesystem::exists(dir + name); }
  // An options file of <TAG>value</TAG> pairs.
  void writeOptions(const std::vector<std::pair<std::string, std::string>>& options,
                    const std::string& name = "OrvaneAutoTest_OVQA.xml") {
    std::string content = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<AUTOTESTOPTIONS>\n";
    for (const auto& option : options) {
      content += "<" + option.first + ">" + option.second + "</" + option.first + ">\n";
    }
    write(name, content + "</AUTOTESTOPTIONS>\n");
  }
  void writeClear(const std::string& name, const std::string& value) { writeOptions({{"CLEAR", value}}, name); }

  std::string dir;  // the automated-test directory, ending with "/"
  DataMgmt::TaxReturnPtr federalPtr;
  std::unique_ptr<PADataMgmt::PATaxReturn> pa;
  std::unique_ptr<AutoTestProbe> engine;  // destroyed first
};

#endif  // TESTING_TESTS_AUTO_TEST_FIXTURE_H_
