// The state layer's conversion of the two federal header forms and the
// lines of the authentication header. Header-form fields are named by host
// number where the number is what a rule tests.
#include <cctype>
#include <cstdint>

#include "entry/return_codes.h"
#include "host/system_mgr.h"
#include "output/tests/state_tif_writer_fixture.h"

namespace state_tif_test {
namespace {

const FormId& kInfo = kFormID_PAReturnInfo;

class HeaderFieldsTest : public StateTifWriterTest {
 protected:
  // The value (and code) of a field of form 92 or 131 after its conversion.
  std::string convert(const FormId& form, int number, const std::string& in, bool header,
                      std::string* codeInOut = nullptr) {
    writer->setHeaderFlag(header);
    char code[TifWriteMgmt::kTifCodeSize];
    std::snprintf(code, sizeof code, "%s", codeInOut != nullptr ? codeInOut->c_str() : "00001.000.001");
    char value[TifWriteMgmt::kTifValueSize];
    std::snprintf(value, sizeof value, "%s", in.c_str());
    bool first = true, line = false;
    if (form == kFormID_FedFilerInfo) {
      writer->convertFilerInfoField(holder(form), 1, FieldId(number), FieldId(), 0, code, 0, value, first, line);
    } else {
      writer->convertEFileInfoField(holder(form), 1, FieldId(number), FieldId(), 0, code, 0, value, first, line);
    }
    if (codeInOut != nullptr) *codeInOut = code;
    return value;
  }
  std::string filer(int number, const std::string& in, bool header = true) {
    return convert(kFormID_FedFilerInfo, number, in, header);
  }
  std::string eFile(int number, const std::string& in, bool header = true, std::string* code = nullptr) {
    return convert(kFormID_Fed131, number, in, header, code);
  }
  // The authentication header as the PA record writes it.
  Lines authHeader(int32_t amount, bool joint) {
    return linesOf([&] {
      writer->writeAuthHeaderFields(
          holder(kInfo), kInfo, PAReturnInfo::kDepositRoutingNumber, PAReturnInfo::kDepositAccountNumber,
          PAReturnInfo::kDirectDepositYesBox, FieldId(), amount, PAReturnInfo::kTaxpayerIDNumber,
          PAReturnInfo::kTaxpayerIDState, PAReturnInfo::kTaxpayerIDExpirationDate,
          PAReturnInfo::kTaxpayerIDIssueDate, PAReturnInfo::kSpouseIDNumber, PAReturnInfo::kSpouseIDState,
          expiryGiven ? PAReturnInfo::kSpouseIDExpirationDate.id() : FieldId(), PAReturnInfo::kSpouseIDIssueDate,
          PAReturnInfo::kTaxpayerDriversLicenseBox, PAReturnInfo::kSpouseDriversLicenseBox,
          PAReturnInfo::kTaxpayerStateIDBox, PAReturnInfo::kSpouseStateIDBox, PAReturnInfo::kTaxpayerNoIDBox,
          PAReturnInfo::kSpouseNoIDBox, joint, PAReturnInfo::kAuthHeaderSpareField, FieldId());
    });
  }
  bool expiryGiven = true;  // the spouse's expiry field is passed
};

TEST_F(HeaderFieldsTest, FilerInformationFields) {
  EXPECT_EQ("5", filer(25, "5"));  // PA keeps its filing code
  pa->abbreviation = "WI";
  EXPECT_EQ("3", filer(25, "5"));
  EXPECT_EQ("5", filer(25, "5", false));  // header flag clear: unchanged
  pa->owed = -250;
  EXPECT_EQ("250", filer(17994, "x"));
  EXPECT_EQ("", filer(17995, "x"));
  EXPECT_EQ("x", filer(17994, "x", false));
  pa->owed = 75;
  EXPECT_EQ("", filer(17994, "x"));
  EXPECT_EQ("75", filer(17995, "x"));
  pa->owed = INT32_MIN;  // no overflow in the absolute value
  EXPECT_EQ("2147483648", filer(17994, "x"));

  text(kFormID_FedFilerInfo, FedFilerInfo::kApartment, "Apt 4");
  EXPECT_EQ("1 Main St Apt 4", filer(20, "1 Main St", false));
  EXPECT_EQ("", filer(789, "a", false));  // no taxpayer PIN
  text(kFormID_FedFilerInfo, FedFilerInfo::kSpousePin, "y");
  EXPECT_EQ("", filer(791, "b", false));  // not joint
  static_cast<DataMgmt::USTaxReturn&>(*federal).setCommonItem(1, PADataMgmt::kFilingJoint);
  EXPECT_EQ("b", filer(792, "b", false));
}

TEST_F(HeaderFieldsTest, EFileInformationFields) {
  TifWriteMgmt::TifFileWriter::setOfficeCodes("12", "345", "67");
  EXPECT_EQ("345", eFile(127, "", false));
  pa->setRefundCode("RC7");
  EXPECT_EQ("PA", eFile(328, "NY"));
  EXPECT_EQ("NY", eFile(328, "NY", false));
  EXPECT_EQ("RC7", eFile(111, ""));
  EXPECT_EQ("", eFile(140456, "v"));
  EXPECT_EQ("N", eFile(333, "Y"));
  text(kInfo, PAReturnInfo::kTaxpayerPin, "x");  // where the taxpayer PIN maps to
  EXPECT_EQ("Y", eFile(333, ""));

  pa->owed = 10;
  EXPECT_EQ("N", eFile(334, ""));
  text(kInfo, PAReturnInfo::kDebitPaymentBox, "123");  // where the debit box of form 183 maps to
  EXPECT_EQ("Y", eFile(334, ""));
  pa->owed = -10;
  EXPECT_EQ("N", eFile(334, ""));
}

TEST_F(HeaderFieldsTest, StateReturnChoiceAndField325) {
  EXPECT_EQ("2", eFile(72481, "1"));  // no information form
  EXPECT_EQ("3", eFile(72481, "3"));
  EXPECT_FALSE(writer->checkEFileInfoValue());
  put(kInfo, PAReturnInfo::kFederalAnsweredBox, FieldValue::mark());  // where the choice maps to
  EXPECT_EQ("1", eFile(72481, "1"));
  EXPECT_TRUE(writer->checkEFileInfoValue());
  text(kFormID_Fed131, Fed131::kStateReturnChoice, "2");
  EXPECT_FALSE(writer->checkEFileInfoValue());

  text(kFormID_Fed131, Fed131::kStateReturnChoice, "1");
  for (std::string code : {"00070.000 001", "00070.000.001"}) {
    EXPECT_EQ(code[9] == ' ' ? "" : "v", eFile(325, "v", true, &code)) << code;
  }
}

TEST_F(HeaderFieldsTest, FieldCodesOfTheRoutingFieldsAreRewritten) {
  const char* const rewritten[] = {"00029.000.001", "00027.001.001", "00028.002.001",
                                   "00025.001.001", "00028.003.001", "00020.000.001"};
  for (int row = 0; row < 6; ++row) {
    for (bool header : {true, false}) {
      for (std::string code : {"00025.000.001", "00025.000.01"}) {  // 12 characters: never
        const std::string expected = header && code.size() > 12 ? rewritten[row] : code;
        eFile(152846 + row, "v", header, &code);
        EXPECT_EQ(expected, code) << row;
      }
    }
  }
}

TEST_F(HeaderFieldsTest, Field80AddsTheFederalLineOutsideTheHeaderRecord) {
  text(kFormID_Fed183, Fed183::kExtraEfileLineText, "pin");
  EXPECT_TRUE(linesOf([&] { eFile(80, "v", false); }).empty());
  text(kFormID_FedFilerInfo, FedFilerInfo::kExtraEfileLineGate, "yes");
  const Lines lines = linesOf([&] {
    EXPECT_EQ("v", eFile(80, "v", false));
    eFile(80, "v", true);
  });
  EXPECT_EQ(Lines{"01115.000 001 PIN"}, lines);
}

TEST_F(HeaderFieldsTest, AuthenticationHeaderRefundAndFixedLines) {
  SystemMgmt::SystemMgr::setIRSDeviceID("DEV42");
  put(kInfo, PAReturnInfo::kDirectDepositYesBox, FieldValue::mark());
  text(kInfo, PAReturnInfo::kDepositRoutingNumber, "acct");
  text(kInfo, PAReturnInfo::kDepositAccountNumber, "2019-04-15");
  text(kFormID_FedFilerInfo, FedFilerInfo::kAuthHeaderSecondItem, "a");
  text(kFormID_FedFilerInfo, FedFilerInfo::kPractitionerPin, "ptin");
  text(kFormID_Fed131, Fed131::kSiteId, "007");
  text(kFormID_Fed131, Fed131::kSoftwareId, "000");
  put(kFormID_FedFilerInfo, FedFilerInfo::kEfileConsentBox, FieldValue::mark());
  text(kFormID_FedFilerInfo, FedFilerInfo::kAuthHeaderPairFirstItem, "P1");
  // A refund of 0 writes one refund line whatever is marked; no practitioner
  // lines without the answer.
  EXPECT_EQ((Lines{"00009.000.001 0", "00005.000.001 I", "00021.000.001 0", "00022.000.001 0", "00034.000.001 X",
                   "00123.000.001 A", "00142.000.001 PTIN", "00115.000.001 DEV42", "00116.000.001 Desktop",
                   "00135.000.001 DEV42", "00136.000.001 Desktop", "00145.000.001 7", "00146.000.001 000",
                   "00200.000.001 1", "00250.000.001 2"}),
            authHeader(0, false));
  put(kFormID_FedFilerInfo, FedFilerInfo::kAuthHeaderAnswerBox, FieldValue::no());
  pa->abbreviation = "NE";  // not a state that strips the zeros
  Lines lines = authHeader(5, false);
  EXPECT_EQ((Lines{"00006.000.001 ACCT", "00007.000.001 20190415"}), Lines(lines.begin(), lines.begin() + 2));
  const std::string stamp = lines[2].substr(14);  // "YYYY-MM-DDTHH:MM:SSZ"
  EXPECT_TRUE(lines[2].compare(0, 14, "00008.000.001 ") == 0 && stamp.size() == 20 && stamp[4] == '-' &&
              stamp[10] == 'T' && stamp[19] == 'Z' && std::isdigit(static_cast<unsigned char>(stamp[18])))
      << lines[2];
  EXPECT_EQ("00011.000.001 2", lines[3]);
  EXPECT_TRUE(hasLine(lines, "00145.000.001 007") && hasLine(lines, "00247.000.001 P1"));
  put(kInfo, PAReturnInfo::kDirectDepositYesBox, FieldValue::null());
  EXPECT_EQ("00009.000.001 3", authHeader(5, false)[0]);
}

TEST_F(HeaderFieldsTest, AuthenticationHeaderDocuments) {
  // No documents: taxpayer 00034, spouse 00053 (not the taxpayer's order).
  Lines lines = authHeader(0, true);
  EXPECT_EQ((Lines{"00034.000.001 X", "00053.000.001 X"}), Lines(lines.begin() + 4, lines.begin() + 6));
  put(kInfo, PAReturnInfo::kTaxpayerNoIDBox, FieldValue::mark());
  put(kInfo, PAReturnInfo::kSpouseNoIDBox, FieldValue::mark());
  lines = authHeader(0, true);
  EXPECT_EQ((Lines{"00033.000.001 X", "00054.000.001 X"}), Lines(lines.begin() + 4, lines.begin() + 6));
  EXPECT_TRUE(withPrefix(authHeader(0, false), "0005").empty());  // not joint: no spouse lines

  // Taxpayer's licence with a zero expiry, spouse's state card with one.
  put(kInfo, PAReturnInfo::kTaxpayerDriversLicenseBox, FieldValue::mark());
  text(kInfo, PAReturnInfo::kTaxpayerIDNumber, "D123");
  text(kInfo, PAReturnInfo::kTaxpayerIDState, "PA");
  put(kInfo, PAReturnInfo::kTaxpayerIDExpirationDate, FieldValue::of(0));
  text(kInfo, PAReturnInfo::kTaxpayerIDIssueDate, "03/02/2015");
  put(kInfo, PAReturnInfo::kSpouseStateIDBox, FieldValue::mark());
  text(kInfo, PAReturnInfo::kSpouseIDNumber, "S9");
  text(kInfo, PAReturnInfo::kSpouseIDState, "MN");
  text(kInfo, PAReturnInfo::kSpouseIDExpirationDate, "2022-06-30");
  text(kInfo, PAReturnInfo::kSpouseIDIssueDate, "2016-07-19");
  lines = authHeader(0, true);
  const Lines expected = {"00035.000.001 D123", "00040.000.001 PA", "00046.000.001 Non-Expiring",
                          "00050.000.001 2015-03-02", "00057.000.001 S9", "00062.000.001 MN",
                          "00067.000.001 2022-06-30", "00072.000.001 2016-07-01"};
  EXPECT_EQ(expected, Lines(lines.begin() + 4, lines.begin() + 12));
  expiryGiven = false;  // neither expiry line
  lines = authHeader(0, true);
  EXPECT_EQ((Lines{"00062.000.001 MN", "00072.000.001 2016-07-01"}), Lines(lines.begin() + 9, lines.begin() + 11));
}

TEST_F(StateTifWriterTest, LeadingZerosAreStrippedFromLongerTexts) {
  for (auto c : std::vector<std::pair<std::string, std::string>>{
           {"007", "7"}, {"0", "0"}, {"000", "000"}, {"", ""}, {"100", "100"}, {"0a", "a"}}) {
    char text[16];
    std::snprintf(text, sizeof text, "%s", c.first.c_str());
    EXPECT_EQ(c.second, writer->stripLeadingZeros(text)) << c.first;
  }
}

}  // namespace
}  // namespace state_tif_test
