// The state layer of the data-file writer: the whole-file write and its
// update, record heads, the per-field dispatch and the percent formatting.
#include <filesystem>

#include "output/tests/state_tif_writer_fixture.h"

namespace state_tif_test {
namespace {

class WholeFileTest : public StateTifWriterTest {
 protected:
  void SetUp() override {
    StateTifWriterTest::SetUp();
    writeFile("1.tif", "Y 2018\nT FED\nD FDSOMETHING 001\n00001.000.001 SKIPPED\n"
                       "D FDF1040   001 X T 1\n00001.000.001 FEDERAL\n");
    text(kFormID_FedFilerInfo, FedFilerInfo::kTaxpayerSsn, "Jane Filer");
    holder(kFormID_Fed131);
  }
  Lines written() { return readLines("40.tif"); }
};

TEST_F(WholeFileTest, FreshWriteHasHeaderTwoEFileRecordsAndFederalData) {
  ASSERT_TRUE(writer->writeTifFile(1, kPAType));
  const Lines expected = {
      "Y 2018", "P Orvane", "V FD: 2018.0 PA: 1.0", "T Jane Filer", "S SY", "S PA", "S FD",
      "D SYPCRTN    001 X T 1", "00004.000.001 00", "00005.000.001 000", "00086.000.001 00",
      "D SYSTRTN    001 X T 1", "00004.000.001 00", "00005.000.001 000", "00032.000.001 PA",
      "00049.000.001 N", "00086.000.001 00", "00090.000.001 N", "D FDF1040   001 X T 1",
      "00001.000.001 FEDERAL"};
  EXPECT_EQ(expected, written());
  EXPECT_FALSE(std::filesystem::exists(path("40.tif.tmp")));
  // The header hook saw the fields of the second form-131 record only.
  EXPECT_EQ(Fed131FieldIds::size() + 9, writer->headerFields.size());

  // Mode 3 without a file writes one state record, the mode its sequence.
  std::filesystem::remove(path("40.tif"));
  ASSERT_TRUE(writer->writeTifFile(3, kPAType));
  EXPECT_EQ((Lines{"D SYSTRTN    003 X T 1", "D FDF1040   001 X T 1"}), withPrefix(written(), "D "));
  EXPECT_FALSE(writer->isUpdating());
}

TEST_F(WholeFileTest, UpdateKeepsOldLinesAndALaterFreshWriteDoesNotUpdate) {
  writeFile("40.tif", "Y 2018\nV FD: 2018.0 NY: 3.1\nS NY\nS FD\nD NYRECORD   001 X T 1\n"
                      "D FDBKDATA  001\n00001.000.001 STALE\n");
  ASSERT_TRUE(writer->writeTifFile(2, kPAType));
  EXPECT_TRUE(writer->isUpdating());
  Lines lines = written();
  const Lines expected = {"Y 2018", "V FD: 2018.0 NY: 3.1 PA: 1.0", "S NY", "S PA", "S FD",
                          "D NYRECORD   001 X T 1", "D SYSTRTN    002 X T 1"};
  EXPECT_EQ(expected, Lines(lines.begin(), lines.begin() + 7));
  EXPECT_FALSE(hasLine(lines, "00001.000.001 STALE"));
  EXPECT_EQ("00001.000.001 FEDERAL", lines.back());
  EXPECT_TRUE(std::filesystem::exists(path("40.tif.tmp")));

  // Each write decides afresh whether it updates.
  ASSERT_TRUE(writer->writeTifFile(1, kPAType));
  EXPECT_FALSE(writer->isUpdating());
  EXPECT_EQ("V FD: 2018.0 PA: 1.0", written()[2]);
}

TEST_F(WholeFileTest, FailuresAreReportedAndNeverTouchTheFederalFile) {
  EXPECT_FALSE(writer->writeTifFile(2, 1));  // the federal return's own file
  EXPECT_EQ("00001.000.001 FEDERAL", readLines("1.tif").back());
  std::filesystem::create_directories(path("40.tif"));  // a directory where the file goes
  EXPECT_FALSE(writer->writeTifFile(1, kPAType));
}

TEST_F(WholeFileTest, PrintedFormsFollowAndOnlyFlaggedCopiesWrite) {
  text(kFormID_PA40, PA40::kFirstField, "first");
  holder(kFormID_PA40)->setPrintingEnabled(true);
  for (uint16_t copy = 1; copy <= 3; ++copy) holder(kFormID_PAW2, copy)->setPrintingEnabled(copy > 1);
  holder(kFormID_PADirectDepositDebit)->setPrintingEnabled(false);
  printer->listed = {kFormID_PA40, kFormID_PAW2, kFormID_PADirectDepositDebit};

  ASSERT_TRUE(writer->writeTifFile(1, kPAType));
  EXPECT_EQ(2, printer->lastMode);
  const Lines heads = {"D SYPCRTN    001 X T 1", "D SYSTRTN    001 X T 1", "D PA40       001 X T 1",
                       "D PAW2       002 X T 1", "D PAW2       003 X T 1", "D PADIRECTDE 001 X T 1",
                       "D FDF1040   001 X T 1"};
  EXPECT_EQ(heads, withPrefix(written(), "D "));
  EXPECT_TRUE(hasLine(written(), "00001.000.001 FIRST"));
  // The PA records are written at the PA-40's last two fields.
  std::vector<int> pa40Fields;
  for (const auto& seen : writer->stateFields) {
    if (seen.first == kFormID_PA40.getNumber()) pa40Fields.push_back(seen.second);
  }
  ASSERT_EQ(PA40FieldIds::size(), pa40Fields.size());
  EXPECT_EQ(PA40::kStatementBox.number(), pa40Fields[pa40Fields.size() - 2]);
  EXPECT_EQ(PA40::kScheduleDRecordsTrigger.number(), pa40Fields.back());
  // The direct deposit form is calculated, printed, and its flag put back.
  EXPECT_EQ((Lines{"calcReturn 0", "calcStateForm 185 1 0 0 0 1"}), engine->calls);
  EXPECT_FALSE(pa->getForm(kFormID_PADirectDepositDebit, 1)->isPrintFlag());
}

TEST_F(StateTifWriterTest, RecordHeadsFollowTheAttributes) {
  const struct {
    const char* attributes;
    uint16_t copy;
    bool flagBefore;
    uint8_t mode;
    const char* head;  // null: no head line
    bool flagAfter;
  } cases[] = {
      {"SYSTRTN 1", 2, true, 1, "D SYSTRTN    002 X T 1", false},
      {"ABCDEFGHIJ 1", 1, false, 1, "D ABCDEFGHIJ 001 X T 1", false},
      {"ABCDEFGHIJKL 1", 1, false, 1, "D ABCDEFGHIJKL 001 X T 1", false},
      {"PAW2 1", 1000, false, 1, "D PAW2       1000 X T 1", false},
      {"PAW2 0", 7, false, 1, "D PAW2       007 X T  ", false},
      {"PAW2 17", 7, false, 1, "D PAW2       007 X T 1", false},
      {"DUMMYHDR 1", 1, true, 1, nullptr, true},
      {"DUMMYHDR 1", 1, false, 1, nullptr, false},
      {"SYPCRTN 1", 1, true, 1, "D SYPCRTN    001 X T 1", false},
      {"SYPCRTN 1", 1, false, 1, "D SYSTRTN    001 X T 1", true},
      {"SYPCRTN 1", 1, false, 4, "D SYSTRTN    004 X T 1", true},
      {"SYPCRTN 1", 1, true, 4, "D SYPCRTN    001 X T 1", false},
  };
  for (const auto& c : cases) {
    DataMgmt::TifFieldDescriptorListPtr list(new DataMgmt::TifFieldDescriptorList);
    list->push_back(SmartPointers::CountedPtr<DataMgmt::TifFieldDescriptor>(
        new DataMgmt::TifFieldDescriptor("00001.000.001", kFormID_PAW2, FieldId(1), 0, 0, c.attributes)));
    writer->setDescriptors(list);
    writer->setHeaderFlag(c.flagBefore);
    writer->setMode(c.mode);
    writer->outputTifLine("00009.000.001", "queued", false);
    Lines expected = {"00009.000.001 QUEUED"};  // the previous record's lines go out first
    if (c.head != nullptr) expected.push_back(c.head);
    EXPECT_EQ(expected, linesOf([&] { writer->writeRecordHead(0, c.copy); })) << c.attributes;
    EXPECT_EQ(c.flagAfter, writer->getHeaderFlag()) << c.attributes;
  }
}

TEST_F(StateTifWriterTest, HeaderFormsReachTheHeaderHookOnlyWhileTheFlagIsSet) {
  char code[TifWriteMgmt::kTifCodeSize] = "00106.000.001";
  char value[TifWriteMgmt::kTifValueSize] = "2";
  writer->throwAtField = Fed131::kStateReturnChoice.number();
  const Lines lines = linesOf([&] {
    writer->setHeaderFlag(false);
    writer->convertTifField(holder(kFormID_FedFilerInfo), kFormID_FedFilerInfo, 1, FedFilerInfo::kTaxpayerSsn,
                            code, value);
    writer->setHeaderFlag(true);
    writer->convertTifField(holder(kFormID_PA40), kFormID_PA40, 1, PA40::kFirstField, code, value);
    // The hook's exception is dropped; the line is still written.
    writer->convertTifField(holder(kFormID_Fed131), kFormID_Fed131, 1, Fed131::kStateReturnChoice, code, value);
  });
  EXPECT_EQ((std::vector<std::pair<int, int>>{{131, 72481}}), writer->headerFields);
  EXPECT_EQ((std::vector<std::pair<int, int>>{{169, PA40::kFirstField.number()}}), writer->stateFields);
  EXPECT_EQ(Lines(3, "00106.000.001 2"), lines);
}

TEST_F(StateTifWriterTest, PercentValuesFollowTheirKind) {
  const struct {
    char kind;
    const char* in;
    const char* out;
  } cases[] = {
      {'F', "12.5", "13"}, {'F', "-12.5", "-13"}, {'F', "0.4", ""}, {'F', "-0.4", ""},
      {'F', "99.49", "99"}, {'F', "abc", ""}, {'F', "1e12", "1000000000000"},  // no wrap
      {static_cast<char>(0xAA), "2.5", "3"}, {' ', "25", "0.2500"}, {'M', "7.5", "0.0750"},
      {'N', "25", "0.250000"}, {'H', "25", "25"}, {static_cast<char>(0xAC), "25", "25"},
      {'X', "12.5", "12.5"},
  };
  for (const auto& c : cases) {
    char value[TifWriteMgmt::kTifValueSize];
    std::snprintf(value, sizeof value, "%s", c.in);
    EXPECT_EQ(value, writer->formatPercentValue(value, c.kind));
    EXPECT_STREQ(c.out, value) << c.in;
  }
}

}  // namespace
}  // namespace state_tif_test
