// A calculated return is final: calculating it a second time changes no
// field. Every return under examples/ is loaded into a pahost session (the
// built module, loaded as the host loads it), calculated, dumped,
// calculated again and dumped again; the two dumps must be equal.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "pahost/module_loader.h"
#include "pahost/session.h"

namespace {

// The example returns, by file name, sorted.
std::vector<std::string> exampleReturns() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(PA_EXAMPLES_DIR)) {
    if (entry.path().extension() == ".txt") names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string dumpOf(const HostSession& session) {
  char* text = nullptr;
  size_t size = 0;
  std::FILE* out = open_memstream(&text, &size);
  session.dump(out);
  std::fclose(out);
  std::string dump(text, size);
  std::free(text);
  return dump;
}

std::set<std::string> linesOf(const std::string& text) {
  std::set<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.insert(line);
  return lines;
}

// The lines of `a` that `b` lacks, one per line.
std::string missingFrom(const std::set<std::string>& a, const std::set<std::string>& b) {
  std::vector<std::string> only;
  std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(only));
  std::string text;
  for (const std::string& line : only) text += "  " + line + "\n";
  return text;
}

class CalculateTwiceTest : public ::testing::TestWithParam<std::string> {};

TEST_P(CalculateTwiceTest, SecondCalculationChangesNoField) {
  ModuleLoader module;
  ASSERT_TRUE(module.open(PA_MODULE_PATH)) << module.error();
  HostSession session;
  ASSERT_TRUE(session.findFactories(module) && session.build()) << session.error();
  session.load(std::string(PA_EXAMPLES_DIR) + "/" + GetParam());

  session.calculate();
  const std::string first = dumpOf(session);
  session.calculate();
  const std::string second = dumpOf(session);

  const std::set<std::string> firstLines = linesOf(first);
  const std::set<std::string> secondLines = linesOf(second);
  EXPECT_EQ(first, second) << "after the first calculation only:\n"
                           << missingFrom(firstLines, secondLines)
                           << "after the second calculation only:\n"
                           << missingFrom(secondLines, firstLines);
  EXPECT_TRUE(session.close()) << session.error();
}

// Test names from the file names: letters, digits and underscores.
std::string testName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = std::filesystem::path(info.param).stem().string();
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Examples, CalculateTwiceTest, ::testing::ValuesIn(exampleReturns()),
                         testName);

}  // namespace
