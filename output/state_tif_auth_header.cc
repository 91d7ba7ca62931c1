// The lines of the authentication header that every state's header record
// carries, and the small line helpers the state records share.
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "catalogs/fields/fields.h"
#include "host/state_tax_return.h"
#include "host/string_utils.h"
#include "host/system_mgr.h"
#include "identifiers/form_ids.h"
#include "output/state_tif_file_writer.h"

namespace StateTifWriteMgmt {

namespace {

using TifWriteMgmt::kTifValueSize;

// States whose electronic-filing identifiers are written without leading
// zeros.
const char* const kZeroStrippedStates[] = {
    "AR", "AZ", "CT", "DC", "DE", "GA", "HI", "IA", "IL", "KS", "LA", "MD", "MT", "NC",
    "NJ", "NM", "NY", "OH", "OK", "OR", "PA", "SC", "UT", "VA", "VT", "WI", "WV",
};

bool stripsLeadingZeros(const std::string& state) {
  for (const char* listed : kZeroStrippedStates) {
    if (state == listed) return true;
  }
  return false;
}

// The line codes of one person's identity document.
struct DocumentCodes {
  const char* number;
  const char* state;
  const char* expiry;
  const char* nonExpiring;
  const char* date;
};

struct PersonCodes {
  DocumentCodes licence;
  DocumentCodes stateId;
  const char* noDocMarked;    // the no-document box is marked
  const char* noDocUnmarked;  // it is not
};

const PersonCodes kTaxpayerCodes = {
    {"00035.000.001", "00040.000.001", "00045.000.001", "00046.000.001", "00050.000.001"},
    {"00037.000.001", "00042.000.001", "00047.000.001", "00048.000.001", "00052.000.001"},
    "00033.000.001",
    "00034.000.001",
};

// The spouse's pairs differ from the taxpayer's in their order.
const PersonCodes kSpouseCodes = {
    {"00055.000.001", "00060.000.001", "00065.000.001", "00064.000.001", "00070.000.001"},
    {"00057.000.001", "00062.000.001", "00067.000.001", "00068.000.001", "00072.000.001"},
    "00054.000.001",
    "00053.000.001",
};

const char kNonExpiring[] = "Non-Expiring";
const char kDesktop[] = "Desktop";

}  // namespace

void StateTifFileWriter::outputFieldLineIfPresent(const char* code, const FormId& formId,
                                                  uint16_t copy, const FieldId& field, bool flag) {
  if (field.isValid()) outputTifLine(code, formId, copy, field, flag);
}

char* StateTifFileWriter::fieldValueString(DataMgmt::TaxFormPtr form, char* value,
                                           const FieldId& field, const FormId& formId) {
  value[0] = '\0';
  if (field.isValid() && !form.isNull()) {
    // valueString writes at most 127 characters and the terminator.
    form->valueString(value, field, formId);
  }
  return value;
}

bool StateTifFileWriter::isFieldMarked(DataMgmt::TaxFormPtr form, const FieldId& field) {
  return field.isValid() && !form.isNull() && form->xMarked(field);
}

char* StateTifFileWriter::formatUtcTimestamp(char* buf) {
  const std::time_t now = SystemMgmt::SystemMgr::getCurrentTime();
  std::tm utc{};
  buf[0] = '\0';
  if (gmtime_r(&now, &utc) != nullptr) std::strftime(buf, 81, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return buf;
}

char* StateTifFileWriter::stripLeadingZeros(char* text) {
  if (text[0] != '0' || text[1] == '\0') return text;
  std::size_t zeros = 0;
  while (text[zeros] == '0') ++zeros;
  if (text[zeros] == '\0') return text;  // zeros only
  std::memmove(text, text + zeros, std::strlen(text + zeros) + 1);
  return text;
}

char* StateTifFileWriter::fetchRefundCode(char* buf) {
  buf[0] = '\0';
  if (stateTaxReturn != nullptr) stateTaxReturn->getRefundCode(buf);
  return buf;
}

void StateTifFileWriter::outputRefundCodeLine(const char* code) {
  char refundCode[16];
  outputTifLine(code, fetchRefundCode(refundCode), false);
}

// Writes one person's document lines: the licence's when its box is marked,
// else the state identity card's, else the no-document line.
void StateTifFileWriter::writeDocumentLines(const DocumentSource& doc) {
  const PersonCodes& codes = doc.spouse ? kSpouseCodes : kTaxpayerCodes;
  char state[kTifValueSize];
  char date[kTifValueSize];
  fieldValueString(doc.infoForm, state, doc.state, doc.infoFormId);
  fieldValueString(doc.infoForm, date, doc.date, doc.infoFormId);
  tifReformatDate(date);
  if (std::strcmp(state, "MN") == 0 && std::strlen(date) >= 8) {
    // Minnesota documents carry the first of the month; a shorter text is
    // no date to cut.
    date[8] = '\0';
    std::strncat(date, "01", 3);
  }

  const DocumentCodes* lines = nullptr;
  if (isFieldMarked(doc.infoForm, doc.licenceBox)) {
    lines = &codes.licence;
  } else if (isFieldMarked(doc.infoForm, doc.stateIdBox)) {
    lines = &codes.stateId;
  } else {
    if (isFieldMarked(doc.infoForm, doc.noDocBox)) {
      outputTifLine(codes.noDocMarked, "X", false);
    } else {
      outputTifLine(codes.noDocUnmarked, "X", false);
    }
    return;
  }
  outputFieldLineIfPresent(lines->number, doc.infoFormId, 1, doc.number, false);
  outputFieldLineIfPresent(lines->state, doc.infoFormId, 1, doc.state, false);
  if (doc.expiry.isValid()) {
    if (!doc.infoForm.isNull() && doc.infoForm->nonZero(doc.expiry)) {
      outputTifLine(lines->expiry, doc.infoFormId, 1, doc.expiry, false);
    } else {
      outputTifLineMixedCase(lines->nonExpiring, kNonExpiring, false);
    }
  }
  if (doc.date.isValid()) outputTifLine(lines->date, date, false);
}

void StateTifFileWriter::writeAuthHeaderFields(
    DataMgmt::TaxFormPtr infoForm, const FormId& infoFormId, const FieldId& paymentAccount,
    const FieldId& paymentDate, const FieldId& directPaymentBox, const FieldId& otherPaymentBox,
    int32_t amount, const FieldId& taxpayerDocNumber, const FieldId& taxpayerDocState,
    const FieldId& taxpayerDocExpiry, const FieldId& taxpayerDocDate,
    const FieldId& spouseDocNumber, const FieldId& spouseDocState, const FieldId& spouseDocExpiry,
    const FieldId& spouseDocDate, const FieldId& taxpayerLicenceBox,
    const FieldId& spouseLicenceBox, const FieldId& taxpayerStateIdBox,
    const FieldId& spouseStateIdBox, const FieldId& taxpayerNoDocBox,
    const FieldId& spouseNoDocBox, bool joint, const FieldId&, const FieldId& practitionerField) {
  const FormId& filer = kFormID_FedFilerInfo;
  const FormId& eFile = kFormID_Fed131;
  char text[kTifValueSize];

  // Refund and payment.
  if (amount < 1) {
    outputTifLine("00009.000.001", "0", false);
  } else if (isFieldMarked(infoForm, directPaymentBox)) {
    outputFieldLineIfPresent("00006.000.001", infoFormId, 1, paymentAccount, false);
    if (paymentDate.isValid()) {
      fieldValueString(infoForm, text, paymentDate, infoFormId);
      outputTifLine("00007.000.001", Utils::removeChars(text, "-/"), false);
    }
    outputTifLine("00008.000.001", formatUtcTimestamp(text), false);
    outputTifLine("00011.000.001", "2", false);
  } else if (isFieldMarked(infoForm, otherPaymentBox)) {
    outputTifLine("00011.000.001", "1", false);
    outputTifLine("00012.000.001", "PEND", false);
  } else {
    outputTifLine("00009.000.001", "3", false);
  }

  outputTifLine("00005.000.001", "I", false);
  outputTifLine("00021.000.001", "0", false);
  outputTifLine("00022.000.001", "0", false);

  writeDocumentLines({infoForm, infoFormId, false, taxpayerDocNumber, taxpayerDocState,
                      taxpayerDocExpiry, taxpayerDocDate, taxpayerLicenceBox, taxpayerStateIdBox,
                      taxpayerNoDocBox});
  if (joint) {
    writeDocumentLines({infoForm, infoFormId, true, spouseDocNumber, spouseDocState,
                        spouseDocExpiry, spouseDocDate, spouseLicenceBox, spouseStateIdBox,
                        spouseNoDocBox});
  }

  outputTifLine("00123.000.001", filer, 1, FedFilerInfo::kAuthHeaderSecondItem, false);
  if (practitionerField.isValid()) {
    outputTifLine("00142.000.001", fieldValueString(infoForm, text, practitionerField, infoFormId),
                  false);
  } else {
    outputTifLine("00142.000.001", filer, 1, FedFilerInfo::kPractitionerPin, false);
  }
  outputTifLine("00120.000.001", filer, 1, FedFilerInfo::kAuthHeaderFirstItem, false);
  outputTifLine("00124.000.001", filer, 1, FedFilerInfo::kAuthHeaderThirdItem, false);
  outputTifLine("00143.000.001", filer, 1, FedFilerInfo::kAuthHeaderFourthItem, false);
  outputTifLine("00147.000.001", filer, 1, FedFilerInfo::kAuthHeaderFifthItem, false);

  const std::string device = SystemMgmt::SystemMgr::getIRSDeviceID();
  outputTifLine("00115.000.001", device.c_str(), false);
  outputTifLineMixedCase("00116.000.001", kDesktop, false);
  outputTifLine("00135.000.001", device.c_str(), false);
  outputTifLineMixedCase("00136.000.001", kDesktop, false);

  char siteId[kTifValueSize] = {0};
  char softwareId[kTifValueSize] = {0};
  if (!federalReturn.isNull()) {
    federalReturn->formString(siteId, sizeof siteId, eFile, 1, Fed131::kSiteId);
    federalReturn->formString(softwareId, sizeof softwareId, eFile, 1, Fed131::kSoftwareId);
  }
  if (stripsLeadingZeros(stateAbbreviation())) {
    stripLeadingZeros(siteId);
    stripLeadingZeros(softwareId);
  }
  outputTifLine("00145.000.001", siteId, false);
  outputTifLine("00146.000.001", softwareId, false);

  const bool consent =
      !federalReturn.isNull() && federalReturn->formYes(filer, 1, FedFilerInfo::kEfileConsentBox);
  outputTifLine("00200.000.001", consent ? "1" : "0", false);
  outputTifLine("00245.000.001", filer, 1, FedFilerInfo::kAuthHeaderSixthItem, false);
  outputTifLine("00246.000.001", eFile, 1, Fed131::kAuthHeaderItem, false);

  if (!federalReturn.isNull() &&
      (federalReturn->formNo(filer, 1, FedFilerInfo::kAuthHeaderAnswerBox) ||
       federalReturn->formYes(kFormID_Fed183, 1, Fed183::kAuthHeaderAnswerBox)) &&
      federalReturn->hasSigValue(filer, 1, FedFilerInfo::kAuthHeaderPairFirstItem)) {
    outputTifLine("00247.000.001", filer, 1, FedFilerInfo::kAuthHeaderPairFirstItem, false);
    outputTifLine("00248.000.001", filer, 1, FedFilerInfo::kAuthHeaderPairSecondItem, false);
  }
  outputTifLine("00250.000.001", "2", false);
  outputTifLine("00255.000.001", filer, 1, FedFilerInfo::kAuthHeaderLastItem, false);
}

}  // namespace StateTifWriteMgmt
