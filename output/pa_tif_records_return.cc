// The PA records that describe the return as a whole: the explanation
// statement "PAPASTMNT" of a person, the return header "PAPARTNHDR" and the
// authentication header "PAPAAUTHDR".
#include <cstdlib>
#include <string>
#include <vector>

#include "catalogs/fields/fields.h"
#include "host/string_utils.h"
#include "identifiers/form_ids.h"
#include "identifiers/tax_year_constants.h"
#include "output/pa_tif_file_writer.h"
#include "return/return_codes.h"

namespace PATifWriteMgmt {

namespace {

using TifWriteMgmt::kTifCodeSize;
using TifWriteMgmt::kTifValueSize;

// ---- statement ----

const char kMilitaryPayText1[] = "My wages reported on PA-40, line 1a include active ";
const char kMilitaryPayText2[] = "duty military pay not taxable in Pennsylvania.";
const char kWageDifferenceText1[] = "My wages reported on PA-40, line 1a differ from ";
const char kWageDifferenceText2[] = "the amount reported in Box 16 of one or more Form W-2.";
const char kWithholdingRateText[] =
    "My employer did not withhold PA income tax at the rate of 3.07%";

// The fields that make up one person's statement.
struct StatementPerson {
  const char* letter;
  const NamedField<PAReturnInfoFieldIds>& ssn;
  FieldLine names[4];
  const NamedField<PA40FieldIds>& militaryPay;
  const NamedField<PAScheduleW2SFieldIds>& wageDifferenceBox;
  const NamedField<PAW2FieldIds>& aboveRateCount;
};

const StatementPerson kStatementTaxpayer = {
    "T",
    PAReturnInfo::kTaxpayerSSN,
    {{"05000.001.001", PAReturnInfo::kTaxpayerFirstName},
     {"05000.002.001", PAReturnInfo::kTaxpayerMiddleInitial},
     {"05000.003.001", PAReturnInfo::kTaxpayerLastName},
     {"05000.004.001", PAReturnInfo::kTaxpayerNameSuffix}},
    PA40::kTaxpayerMilitaryPay,
    PAScheduleW2S::kTaxpayerWagesDifferenceBox,
    PAW2::kTaxpayerWithholdingAboveRateCount,
};

const StatementPerson kStatementSpouse = {
    "S",
    PAReturnInfo::kSpouseSSN,
    {{"05000.001.001", PAReturnInfo::kSpouseFirstName},
     {"05000.002.001", PAReturnInfo::kSpouseMiddleInitial},
     {"05000.003.001", PAReturnInfo::kSpouseLastName},
     {"05000.004.001", PAReturnInfo::kSpouseNameSuffix}},
    PA40::kSpouseMilitaryPay,
    PAScheduleW2S::kSpouseWagesDifferenceBox,
    PAW2::kSpouseWithholdingAboveRateCount,
};

// The line number of statement text line n: 25, 30, 40, 50, 60.
int statementTextLine(int n) { return n == 0 ? 25 : (n + 2) * 10; }

// ---- return header ----

const char kFormCode[] = "3801";
const char kSignatureKind[] = "Self-Select On-Line";
const char kTaxpayer[] = "Taxpayer";

const FieldLine kFilerLines[] = {
    {"00455.000.001", FedFilerInfo::kTaxpayerFirstName, true},
    {"00460.000.001", FedFilerInfo::kTaxpayerMiddleInitial, true},
    {"00465.000.001", FedFilerInfo::kTaxpayerLastName, true},
    {"00470.000.001", FedFilerInfo::kTaxpayerSuffix, true},
    {"00475.000.001", FedFilerInfo::kTaxpayerSsn},
    {"00480.000.001", FedFilerInfo::kTaxpayerBirthDate},
    {"00485.000.001", FedFilerInfo::kTaxpayerDeathDate},
    {"00515.000.001", FedFilerInfo::kTaxpayerPin},
    {"00516.000.001", FedFilerInfo::kPinDate},
};

const FieldLine kJointLines[] = {
    {"00595.000.001", FedFilerInfo::kSpousePin},
    {"00600.000.001", FedFilerInfo::kPinDate},
};

const FieldLine kSpouseLines[] = {
    {"00520.000.001", FedFilerInfo::kSpouseFirstName, true},
    {"00525.000.001", FedFilerInfo::kSpouseMiddleInitial, true},
    {"00530.000.001", FedFilerInfo::kSpouseLastName, true},
    {"00535.000.001", FedFilerInfo::kSpouseSuffix, true},
    {"00540.000.001", FedFilerInfo::kSpouseSsn},
    {"00545.000.001", FedFilerInfo::kSpouseBirthDate},
};

// The address after the street line: a foreign address or a US one.
const FieldLine kForeignAddressLines[] = {
    {"00660.001.001", FedFilerInfo::kCity, true},
    {"00665.002.001", FedFilerInfo::kForeignProvince, true},
    {"00670.000.001", FedFilerInfo::kForeignCountryCode},
    {"00675.003.001", FedFilerInfo::kForeignPostalCode},
    {"00518.000.001", FedFilerInfo::kForeignPhone},
};

const FieldLine kUSAddressLines[] = {
    {"00635.000.001", FedFilerInfo::kCity, true},
    {"00640.000.001", FedFilerInfo::kState},
    {"00645.000.001", FedFilerInfo::kZipCode},
    {"00517.000.001", FedFilerInfo::kDaytimePhone},
};

}  // namespace

void PATifFileWriter::writeStatementRecord(bool spouse, uint16_t number) {
  const StatementPerson& person = spouse ? kStatementSpouse : kStatementTaxpayer;
  outputTifSubHead("PAPASTMNT", number, false);
  outputTifLine("00010.000.001", "PA", false);
  outputTifLine("00015.000.001", kFormID_PAReturnInfo, 1, person.ssn, false);
  outputTifLine("00008.000.001", person.letter, false);
  outputTifLine("00020.000.001", "PA40", false);
  writeFieldLines(kFormID_PAReturnInfo, 1, person.names);

  std::vector<const char*> texts;
  if (amountOf(kFormID_PA40, 1, person.militaryPay) > 0) {
    texts.insert(texts.end(), {kMilitaryPayText1, kMilitaryPayText2});
  }
  if (isMarked(kFormID_PAScheduleW2S, 1, person.wageDifferenceBox)) {
    texts.insert(texts.end(), {kWageDifferenceText1, kWageDifferenceText2});
  }
  // Each PA W-2 copy counts the person's W-2s withheld above the rate.
  if (paReturn->getAllCopies(kFormID_PAW2, person.aboveRateCount) != 0) {
    texts.push_back(kWithholdingRateText);
  }
  char code[kTifCodeSize];
  for (std::size_t n = 0; n < texts.size(); ++n) {
    outputTifLine(lineCode(code, statementTextLine(static_cast<int>(n)), 0, 1), texts[n], false);
  }
}

void PATifFileWriter::writePAPARTNHDRRecord() {
  const FormId& filer = kFormID_FedFilerInfo;
  outputTifSubHead("PAPARTNHDR", 1, false);
  outputTifLine("00010.000.001", stateAbbreviation().c_str(), false);
  outputTifLine("00020.000.001", taxPeriodStart().c_str(), false);
  outputTifLine("00025.000.001", taxPeriodEnd().c_str(), false);
  outputTifLine("00030.000.001", kYearText2018, false);
  outputTifLine("00060.000.001", filer, 1, FedFilerInfo::kHeaderRecordItem, false);
  outputTifLineMixedCase("00195.000.001", kSoftwareName, false);
  outputTifLine("00360.000.001", std::atol(kFormCode), false);
  outputTifLineMixedCase("00400.000.001", kSignatureKind, false);
  outputTifLineMixedCase("00410.000.001", kTaxpayer, false);
  if (filesJointly()) {
    outputTifLineMixedCase("00420.000.001", kTaxpayer, false);
    writeFieldLines(filer, 1, kJointLines);
  } else if (filingStatus() == PADataMgmt::kFilingSeparate) {
    outputTifLine("00680.000.001", "X", false);
  }
  outputTifLine("00430.000.001", "", false);
  writeReturnHeaderFilers();
  writeReturnHeaderAddress();
}

// The names, numbers and dates of the filers; the spouse's when the
// PA-40's letter reads "J" (joint) or "F" (moved from PA), whatever the
// case.
void PATifFileWriter::writeReturnHeaderFilers() {
  const FormId& filer = kFormID_FedFilerInfo;
  writeFieldLines(filer, 1, kFilerLines);
  const std::string letter = textOf(kFormID_PA40, 1, PA40::kFilingStatusCode);
  if (Utils::OVStringUtils::stricmp(letter, "J") == 0 ||
      Utils::OVStringUtils::stricmp(letter, "F") == 0) {
    writeFieldLines(filer, 1, kSpouseLines);
  }
  outputTifLine("00550.000.001", filer, 1, FedFilerInfo::kSpouseDeathDate, false);
  outputTifLineMixedCase("00620.000.001", textOf(filer, 1, FedFilerInfo::kCareOf).c_str(), false);
}

// The street with its apartment, then a foreign or a US address.
void PATifFileWriter::writeReturnHeaderAddress() {
  const FormId& filer = kFormID_FedFilerInfo;
  char street[kTifValueSize];
  textInto(street, filer, 1, FedFilerInfo::kStreet);
  if (!federalReturn.isNull()) {
    federalReturn->tifAppendAPTtoStreet(street, filer, 1, FedFilerInfo::kApartment);
  }
  if (isMarked(filer, 1, FedFilerInfo::kForeignAddressBox)) {
    outputTifLineMixedCase("00650.001.001", street, false);
    writeFieldLines(filer, 1, kForeignAddressLines);
  } else {
    outputTifLineMixedCase("00625.000.001", street, false);
    writeFieldLines(filer, 1, kUSAddressLines);
  }
}

void PATifFileWriter::writePAPAAUTHDRRecord() {
  outputTifSubHead("PAPAAUTHDR", 1, false);
  const DataMgmt::TaxFormPtr info = paReturn->getFormUVPtr(kFormID_PAReturnInfo, 1, false);
  const bool joint = filesJointly();
  const int32_t refund =
      paReturn->getStateLineValue(kFormID_PA40, 1, PADataMgmt::PATaxReturn::kLineRefund);
  namespace I = PAReturnInfo;
  writeAuthHeaderFields(info, kFormID_PAReturnInfo, I::kDepositRoutingNumber,
                        I::kDepositAccountNumber, I::kDirectDepositYesBox,
                        Primitives::kNullFieldID, refund, I::kTaxpayerIDNumber, I::kTaxpayerIDState,
                        I::kTaxpayerIDExpirationDate, I::kTaxpayerIDIssueDate, I::kSpouseIDNumber,
                        I::kSpouseIDState, I::kSpouseIDExpirationDate, I::kSpouseIDIssueDate,
                        I::kTaxpayerDriversLicenseBox, I::kSpouseDriversLicenseBox,
                        I::kTaxpayerStateIDBox, I::kSpouseStateIDBox, I::kTaxpayerNoIDBox,
                        I::kSpouseNoIDBox, joint, I::kAuthHeaderSpareField,
                        Primitives::kNullFieldID);
}

}  // namespace PATifWriteMgmt
