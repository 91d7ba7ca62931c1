// The host's whole job (calculation, both audits, data file) on every
// example return and every return made for the audit: every line of the
// return is stored, and each field the module reads as a text (formString,
// textString, getText of a field's value) or writes a text into is a text
// field of the kind table. A field missing from the table reads a typed
// name as 0 and makes the loader refuse the user's entry.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "host/stand_in.h"
#include "pahost/module_loader.h"
#include "pahost/session.h"

namespace {

std::vector<std::string> returnsIn(const char* folder) {
  std::vector<std::string> paths;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() == ".txt") paths.push_back(entry.path().string());
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

std::vector<std::string> everyReturn() {
  std::vector<std::string> paths = returnsIn(PA_EXAMPLES_DIR);
  for (const std::string& path : returnsIn(PA_AUDIT_RETURNS_DIR)) paths.push_back(path);
  return paths;
}

class TextFieldsTest : public ::testing::TestWithParam<std::string> {};

TEST_P(TextFieldsTest, EveryFieldUsedAsATextIsATextField) {
  ModuleLoader module;
  ASSERT_TRUE(module.open(PA_MODULE_PATH)) << module.error();
  HostSession session;
  ASSERT_TRUE(session.findFactories(module) && session.build()) << session.error();
  StandIn::diagnostics() = StandIn::Diagnostics();
  // A text typed into a field that is not a text field is refused.
  EXPECT_TRUE(session.checkLines(GetParam()).skipped.empty()) << "a line of the return refused";
  session.load(GetParam());
  session.calculate();
  session.audit(false);
  session.audit(true);
  const std::string out = ::testing::TempDir() + "text_fields_" + std::to_string(getpid()) + ".tif";
  long records = 0;
  EXPECT_TRUE(session.writeDataFile(out, &records)) << session.error();
  std::remove(out.c_str());

  std::ostringstream misused;
  for (const StandIn::TextUse& use : StandIn::diagnostics().textUsesOfOtherFields) {
    misused << "  " << (use.stateSide ? "state" : "federal") << " form " << use.form << " field "
            << use.field << (use.write ? ": a text written" : ": read as a text") << "\n";
  }
  EXPECT_EQ(misused.str(), "") << "fields used as texts that are not text fields";
  EXPECT_TRUE(session.close()) << session.error();
}

INSTANTIATE_TEST_SUITE_P(Returns, TextFieldsTest, ::testing::ValuesIn(everyReturn()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return std::filesystem::path(info.param).stem().string();
                         });

}  // namespace
