// The data files of the example returns, line by line: for each
// examples/NAME.records, pahost writes the data file of examples/NAME.txt
// and every record the expected file names must hold exactly the lines it
// lists, in order. Only the PA writer's own lines are compared: the
// host's lines of a form's fields (sub-field 999) are left out, as the
// expected files leave them out. The expected files are worked out by hand
// from the record layouts, never copied from a written file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The sub-field of the host's own field lines in a PA form's record.
const char kHostSubField[] = ".999.";

// A record's name and number ("PAPASCHEM 001") and the lines compared.
using Records = std::map<std::string, std::vector<std::string>>;

// The key of a record head "D NAME NNN ...", "" for any other line.
std::string headKey(const std::string& line) {
  if (line.compare(0, 2, "D ") != 0) return "";
  std::istringstream words(line.substr(2));
  std::string name, number;
  words >> name >> number;
  return name + " " + number;
}

// The records of `text`; `expected` reads an expected file (comments and
// blank lines left out), else a data file (the host's field lines left
// out). `repeated` collects heads that stand twice.
Records readRecords(const std::string& text, bool expected, std::vector<std::string>* repeated) {
  Records records;
  std::vector<std::string>* current = nullptr;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (expected && (line.empty() || line[0] == '#')) continue;
    const std::string key = headKey(line);
    if (!key.empty()) {
      if (records.count(key) != 0) repeated->push_back(key);
      current = &records[key];
      continue;
    }
    if (current == nullptr || line.find(kHostSubField) == 5) continue;
    current->push_back(line);
  }
  return records;
}

std::string readFile(const std::string& path) {
  std::stringstream content;
  content << std::ifstream(path, std::ios::binary).rdbuf();
  return content.str();
}

// Every examples/NAME.records, as NAME.
std::vector<std::string> exampleNames() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(PA_EXAMPLES_DIR)) {
    if (entry.path().extension() == ".records") names.push_back(entry.path().stem().string());
  }
  return names;
}

// The lines of a record that differ, one "expected | written" pair a
// line; "" when the record holds the expected lines.
std::string differences(const std::vector<std::string>& want, const std::vector<std::string>& got) {
  std::ostringstream out;
  for (std::size_t i = 0; i < want.size() || i < got.size(); ++i) {
    const std::string expected = i < want.size() ? want[i] : "(none)";
    const std::string written = i < got.size() ? got[i] : "(none)";
    if (expected != written) out << "  line " << i + 1 << ": expected " << expected << " | written " << written << "\n";
  }
  return out.str();
}

class DataFileRecordsTest : public ::testing::TestWithParam<std::string> {};

TEST_P(DataFileRecordsTest, RecordsHoldTheExpectedLines) {
  const std::string name = GetParam();
  const std::string example = std::string(PA_EXAMPLES_DIR) + "/" + name;
  const std::filesystem::path dir =
      ::testing::TempDir() + "pahost_records_" + name + "." + std::to_string(::getpid());
  std::filesystem::create_directories(dir);
  const std::string file = (dir / "40.tif").string();
  const std::string command = std::string("'") + PAHOST + "' --out '" + file + "' '" + example +
                              ".txt' >'" + (dir / "out.txt").string() + "' 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << readFile((dir / "out.txt").string());

  std::vector<std::string> repeated;
  const Records want = readRecords(readFile(example + ".records"), true, &repeated);
  const Records written = readRecords(readFile(file), false, &repeated);
  EXPECT_TRUE(repeated.empty()) << "records named twice: " << ::testing::PrintToString(repeated);
  ASSERT_FALSE(want.empty()) << example << ".records names no record";
  for (const auto& [key, lines] : want) {
    const auto found = written.find(key);
    if (found == written.end()) {
      ADD_FAILURE() << "the data file has no record " << key;
      continue;
    }
    EXPECT_EQ("", differences(lines, found->second)) << "record " << key;
  }
  if (!HasFailure()) std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Examples, DataFileRecordsTest, ::testing::ValuesIn(exampleNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

// The reading itself: heads by name and number, comments, the host's
// lines left out of a data file, a record named twice.
TEST(DataFileRecordsReadTest, ReadsRecordsAsCompared) {
  std::vector<std::string> repeated;
  const Records expected =
      readRecords("# a comment\n\nD PAPASCHEM 001\n00010.000.001 0\n# more\n00020.000.001 2\n", true, &repeated);
  EXPECT_EQ((Records{{"PAPASCHEM 001", {"00010.000.001 0", "00020.000.001 2"}}}), expected);
  const Records written = readRecords(
      "Y 2018\nD PASCHEDULEUE 001 X T 1\n00010.999.001 0\n00015.000.001 198\r\nD PAPA1099G  002 X T  \n"
      "00005.000.001 2\nD PAPA1099G  002 X T  \n",
      false, &repeated);
  EXPECT_EQ((Records{{"PASCHEDULEUE 001", {"00015.000.001 198"}}, {"PAPA1099G 002", {"00005.000.001 2"}}}),
            written);
  EXPECT_EQ(std::vector<std::string>{"PAPA1099G 002"}, repeated);
}

}  // namespace
