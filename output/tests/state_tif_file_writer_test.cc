// The state layer of the data-file writer: the whole-file write and its
// update, record heads, the per-field dispatch and the percent formatting.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogs/catalogs.h"
#include "identifiers/form_ids.h"
#include "output/tests/state_tif_writer_fixture.h"

namespace state_tif_test {
namespace {

const char kFederalFile[] =
    "Y 2018\nP Orvane\nT FED\nD FDSOMETHING 001\n00001.000.001 SKIPPED\n"
    "D FDF1040   001 X T 1\n00001.000.001 FEDERAL\n";

class WholeFileTest : public StateTifWriterTest {
 protected:
  void SetUp() override {
    StateTifWriterTest::SetUp();
    writeFile("1.tif", kFederalFile);
    text(kFormID_FedFilerInfo, kFedFilerInfoFieldIds[1686], "Jane Filer");  // 7
    holder(kFormID_Fed131);
  }
  std::vector<std::string> written() { return readLines("40.tif"); }
};

TEST_F(WholeFileTest, FreshWriteHasHeaderTwoEFileRecordsAndFederalData) {
  ASSERT_TRUE(writer->writeTifFile(1, kPAType));
  const std::vector<std::string> expected = {
      "Y 2018",
      "P Orvane",
      "V FD: 2018.0 PA: 1.0",
      "T Jane Filer",
      "S SY",
      "S PA",
      "S FD",
      "D SYPCRTN    001 X T 1",
      "00004.000.001 00",   // district
      "00005.000.001 000",  // office
      "00086.000.001 00",   // service centre
      "D SYSTRTN    001 X T 1",
      "00004.000.001 00",
      "00005.000.001 000",
      "00032.000.001 PA",  // state abbreviation
      "00049.000.001 N",
      "00086.000.001 00",
      "00090.000.001 N",
      "D FDF1040   001 X T 1",
      "00001.000.001 FEDERAL",
  };
  EXPECT_EQ(expected, written());
  EXPECT_FALSE(std::filesystem::exists(path("40.tif.tmp")));
  // The header hook saw the fields of the second form-131 record only.
  EXPECT_EQ(kFed131FieldIds.size() + 9, writer->headerFields.size());
  EXPECT_EQ(0, IOMgmt::IOMgr::getInstance().liveReaders());
}

TEST_F(WholeFileTest, WithoutEFileInfoNoHeaderRecordIsWritten) {
  federalPtr = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn());
  writer.reset(new ProbeWriter(federalPtr, statePtr, enginePtr, printerPtr, auditorPtr, config));
  ASSERT_TRUE(writer->writeTifFile(1, kPAType));
  const std::vector<std::string> lines = written();
  ASSERT_EQ(9u, lines.size());
  EXPECT_EQ("T ", lines[3]);
  EXPECT_EQ("S FD", lines[6]);
  EXPECT_EQ("D FDF1040   001 X T 1", lines[7]);
}

TEST_F(WholeFileTest, HigherModeWithoutFileWritesOneStateRecordWithModeAsSequence) {
  ASSERT_TRUE(writer->writeTifFile(3, kPAType));
  const std::vector<std::string> heads = withPrefix(written(), "D ");
  const std::vector<std::string> expected = {"D SYSTRTN    003 X T 1", "D FDF1040   001 X T 1"};
  EXPECT_EQ(expected, heads);
  EXPECT_FALSE(writer->isUpdating());
  EXPECT_EQ(3, writer->getMode());
}

TEST_F(WholeFileTest, UpdateKeepsOldLinesAndExtendsTheHeader) {
  writeFile("40.tif",
            "Y 2018\nP Orvane\nV FD: 2018.0 NY: 3.1\nT Jane Filer\nS SY\nS NY\nS FD\n"
            "D NYRECORD   001 X T 1\n00001.000.001 OLD\nD FDBKDATA  001\n00001.000.001 STALE\n");
  ASSERT_TRUE(writer->writeTifFile(2, kPAType));
  EXPECT_TRUE(writer->isUpdating());
  const std::vector<std::string> lines = written();
  const std::vector<std::string> head(lines.begin(), lines.begin() + 11);
  const std::vector<std::string> expected = {
      "Y 2018", "P Orvane", "V FD: 2018.0 NY: 3.1 PA: 1.0", "T Jane Filer", "S SY", "S NY",
      "S PA",   "S FD",     "D NYRECORD   001 X T 1",       "00001.000.001 OLD", "D SYSTRTN    002 X T 1",
  };
  EXPECT_EQ(expected, head);
  EXPECT_FALSE(hasLine(lines, "00001.000.001 STALE"));
  EXPECT_EQ("00001.000.001 FEDERAL", lines.back());
  // The old file is kept beside the new one.
  EXPECT_TRUE(std::filesystem::exists(path("40.tif.tmp")));
}

TEST_F(WholeFileTest, ALaterFreshWriteDoesNotUpdate) {
  writeFile("40.tif", "Y 2018\nV FD: 2018.0 NY: 3.1\nS FD\nD NYRECORD   001 X T 1\n");
  ASSERT_TRUE(writer->writeTifFile(2, kPAType));
  ASSERT_TRUE(writer->writeTifFile(1, kPAType));
  EXPECT_FALSE(writer->isUpdating());
  const std::vector<std::string> lines = written();
  EXPECT_EQ("V FD: 2018.0 PA: 1.0", lines[2]);
  EXPECT_FALSE(hasLine(lines, "D NYRECORD   001 X T 1"));
}

TEST_F(WholeFileTest, RefusesToWriteOverTheFederalFile) {
  EXPECT_FALSE(writer->writeTifFile(2, 1));
  std::vector<std::string> lines = readLines("1.tif");
  EXPECT_EQ(7u, lines.size());
  EXPECT_EQ("00001.000.001 FEDERAL", lines.back());
}

TEST_F(WholeFileTest, UnwritableFileIsReportedAsFailure) {
  std::filesystem::create_directories(path("40.tif"));  // a directory where the file goes
  EXPECT_FALSE(writer->writeTifFile(1, kPAType));
  EXPECT_EQ(0, IOMgmt::IOMgr::getInstance().liveReaders());
}

TEST_F(WholeFileTest, PrintedFormsFollowTheFederalRecordsAndOnlyFlaggedCopiesWrite) {
  const FormId& pa40 = kFormID_PA40;
  text(pa40, kPA40FieldIds[0], "first");
  holder(pa40)->setPrintingEnabled(true);
  const FormId& w2 = kFormID_PAW2;
  holder(w2, 1)->setPrintingEnabled(false);
  holder(w2, 2)->setPrintingEnabled(true);
  holder(w2, 3)->setPrintingEnabled(true);
  printer->listed = {pa40, w2};

  ASSERT_TRUE(writer->writeTifFile(1, kPAType));
  EXPECT_EQ(std::vector<int>{2}, printer->modes);
  const std::vector<std::string> heads = withPrefix(written(), "D ");
  const std::vector<std::string> expected = {
      "D SYPCRTN    001 X T 1", "D SYSTRTN    001 X T 1", "D PA40       001 X T 1",
      "D PAW2       002 X T 1", "D PAW2       003 X T 1", "D FDF1040   001 X T 1",
  };
  EXPECT_EQ(expected, heads);
  EXPECT_TRUE(hasLine(written(), "00001.000.001 FIRST"));
  // The PA-40's records are written at its last two fields, 42781 then 15.
  std::vector<int> pa40Fields;
  for (const ProbeWriter::Seen& s : writer->stateFields) {
    if (s.form == pa40.getNumber()) pa40Fields.push_back(s.field);
  }
  ASSERT_EQ(kPA40FieldIds.size(), pa40Fields.size());
  EXPECT_EQ(42781, pa40Fields[pa40Fields.size() - 2]);
  EXPECT_EQ(15, pa40Fields.back());
}

TEST_F(WholeFileTest, DirectDepositFormIsCalculatedPrintedAndItsFlagRestored) {
  holder(kFormID_PADirectDepositDebit)->setPrintingEnabled(false);
  printer->listed = {kFormID_PADirectDepositDebit};
  ASSERT_TRUE(writer->writeTifFile(1, kPAType));
  const std::vector<std::string> expectedCalls = {"calcReturn 0", "calcStateForm 185 1 0 0 0 1"};
  EXPECT_EQ(expectedCalls, probeEngine->calls);
  EXPECT_TRUE(hasLine(written(), "D PADIRECTDE 001 X T 1"));
  EXPECT_FALSE(pa->getForm(kFormID_PADirectDepositDebit, 1)->isPrintFlag());
}

// Record heads.

struct HeadCase {
  const char* attributes;
  uint16_t copy;
  bool headerFlagBefore;
  uint8_t mode;
  const char* head;  // null: no head line
  bool headerFlagAfter;
};

const HeadCase kHeadCases[] = {
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

TEST_F(StateTifWriterTest, RecordHeadsFollowTheAttributes) {
  for (const HeadCase& c : kHeadCases) {
    SCOPED_TRACE(std::string(c.attributes) + " copy " + std::to_string(c.copy));
    DataMgmt::TifFieldDescriptorListPtr list(new DataMgmt::TifFieldDescriptorList);
    list->push_back(SmartPointers::CountedPtr<DataMgmt::TifFieldDescriptor>(
        new DataMgmt::TifFieldDescriptor("00001.000.001", kFormID_PAW2, FieldId(1), 0, 0,
                                         c.attributes)));
    writer->setDescriptors(list);
    writer->setHeaderFlag(c.headerFlagBefore);
    writer->setMode(c.mode);
    writer->outputTifLine("00009.000.001", "queued", false);
    const std::vector<std::string> lines = linesOf([&] { writer->writeRecordHead(0, c.copy); });
    // The previous record's lines go out first.
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ("00009.000.001 QUEUED", lines[0]);
    if (c.head == nullptr) {
      EXPECT_EQ(1u, lines.size());
    } else {
      ASSERT_EQ(2u, lines.size());
      EXPECT_EQ(c.head, lines[1]);
    }
    EXPECT_EQ(c.headerFlagAfter, writer->getHeaderFlag());
  }
}

// The per-field dispatch.

TEST_F(StateTifWriterTest, HeaderFormsReachTheHeaderHookOnlyWhileTheFlagIsSet) {
  char code[TifWriteMgmt::kTifCodeSize] = "00001.000.001";
  char value[TifWriteMgmt::kTifValueSize] = "v";
  const std::vector<std::string> lines = linesOf([&] {
    writer->setHeaderFlag(false);
    writer->convertTifField(holder(kFormID_FedFilerInfo), kFormID_FedFilerInfo, 1,
                            kFedFilerInfoFieldIds[1686], code, value);
    writer->setHeaderFlag(true);
    writer->convertTifField(holder(kFormID_FedFilerInfo), kFormID_FedFilerInfo, 1,
                            kFedFilerInfoFieldIds[1686], code, value);
    writer->convertTifField(holder(kFormID_PA40), kFormID_PA40, 1, kPA40FieldIds[0], code, value);
  });
  ASSERT_EQ(1u, writer->headerFields.size());
  EXPECT_EQ(92, writer->headerFields[0].form);
  ASSERT_EQ(1u, writer->stateFields.size());
  EXPECT_EQ(169, writer->stateFields[0].form);
  EXPECT_EQ(3u, lines.size());
}

TEST_F(StateTifWriterTest, HeaderHookExceptionStillWritesTheLine) {
  writer->throwAtField = 72481;
  writer->setHeaderFlag(true);
  char code[TifWriteMgmt::kTifCodeSize] = "00106.000.001";
  char value[TifWriteMgmt::kTifValueSize] = "2";
  const std::vector<std::string> lines = linesOf([&] {
    writer->convertTifField(holder(kFormID_Fed131), kFormID_Fed131, 1, kFed131FieldIds[105], code,
                            value);
  });
  EXPECT_EQ(std::vector<std::string>{"00106.000.001 2"}, lines);
}

// Percent values.

struct PercentCase {
  char kind;
  const char* in;
  const char* out;
};

const PercentCase kPercentCases[] = {
    {'F', "12.5", "13"},        {'F', "-12.5", "-13"},   {'F', "0.4", ""},
    {'F', "-0.4", ""},          {'F', "99.49", "99"},    {'F', "abc", ""},
    {'F', "1e12", "1000000000000"},
    {static_cast<char>(0xAA), "2.5", "3"},
    {' ', "25", "0.2500"},      {'M', "7.5", "0.0750"},  {'N', "25", "0.250000"},
    {'H', "25", "25"},          {static_cast<char>(0xAC), "25", "25"},
    {'X', "12.5", "12.5"},
};

TEST_F(StateTifWriterTest, PercentValuesFollowTheirKind) {
  for (const PercentCase& c : kPercentCases) {
    SCOPED_TRACE(std::string(1, c.kind) + " " + c.in);
    char value[TifWriteMgmt::kTifValueSize];
    std::snprintf(value, sizeof value, "%s", c.in);
    EXPECT_EQ(value, writer->formatPercentValue(value, c.kind));
    EXPECT_STREQ(c.out, value);
  }
}

}  // namespace
}  // namespace state_tif_test
