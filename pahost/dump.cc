#include "pahost/dump.h"

#include <cmath>
#include <cstdlib>

#include "host/descriptors.h"
#include "host/field_value.h"
#include "host/tax_form.h"
#include "host/tax_return.h"
#include "testing/test_data_format.h"

namespace {

// What the loader stores for the text read into a field of `editCode`.
double loaded(const char* text, unsigned char editCode) {
  return TestDataFormat::scaleByEditCode(std::strtod(text, nullptr), editCode);
}

// The decimal digits every double holds: a text of at most this many
// significant digits reads back to a double that prints as the same text.
const int kDoubleDigits = 15;

// The significant digits of a number text in fixed notation: from the first
// digit other than 0 to the end.
int significantDigits(const char* text) {
  int digits = 0;
  bool leading = true;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') continue;
    if (leading && *c == '0') continue;
    leading = false;
    ++digits;
  }
  return digits;
}

// Whether a text reads back whole as the value of a line: it neither
// starts with a colon (the run of colons before a value takes it) nor
// holds a line end or a NUL byte.
bool isWholeLineValue(const std::string& text) {
  return (text.empty() || text[0] != ':') && text.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

}  // namespace

std::string loaderNumberText(double stored, unsigned char editCode) {
  if (stored == 0 || !std::isfinite(stored)) return "0";
  const double unit = stored / TestDataFormat::scaleOf(editCode).factor;
  char text[512];
  // The fewest decimals that load back to the stored number, while the text
  // keeps to the digits a double holds.
  for (int decimals = 0; decimals <= 20; ++decimals) {
    const int n = std::snprintf(text, sizeof text, "%.*f", decimals, unit);
    if (n <= 0 || n >= int(sizeof text) || significantDigits(text) > kDoubleDigits) break;
    if (loaded(text, editCode) == stored) return text;
  }
  // Digits past those are the binary noise of the arithmetic (0.1 + 0.2
  // gives 0.30000000000000004): they are left out.
  std::snprintf(text, sizeof text, "%.*g", kDoubleDigits, unit);
  return text;
}

std::string testDataFieldName(const DataMgmt::TaxFormDesc& form, const Primitives::OVImmutableIdentifier& id) {
  const DataMgmt::FormFieldDescPtr field = form.getFieldDesc(id);
  if (field.isNull()) return "";
  const std::string name = field->getSymbolicName();
  const std::string& head = *form.sourceNamePrefix();
  if (name.size() <= head.size() || name.compare(0, head.size(), head) != 0) return "";
  return name.substr(head.size());
}

int dumpReturn(std::FILE* out, const DataMgmt::TaxReturn& taxReturn) {
  int leftOut = 0;
  const DataMgmt::TaxReturnDescPtr desc = taxReturn.getTaxReturnDesc();
  if (desc.isNull()) return leftOut;
  for (const DataMgmt::TaxFormDescPtr& formDesc : desc->getTaxFormDescriptors()) {
    const std::string devName = formDesc->getDevName();
    for (DataMgmt::TaxFormIter copies = taxReturn.getForms(formDesc->getTypeID()); !copies.atEOL();
         copies.next()) {
      const DataMgmt::TaxFormPtr copy = copies.getTaxForm();
      for (const Primitives::OVImmutableIdentifier& id : formDesc->fieldIds()) {
        const DataMgmt::FieldValue& value = copy->stored(id);
        std::string text;
        switch (value.kind) {
          case DataMgmt::FieldValue::kNull:
            continue;
          case DataMgmt::FieldValue::kNumber:
            text = loaderNumberText(value.number, copy->editCodeOf(id));
            break;
          case DataMgmt::FieldValue::kText:
            if (!isWholeLineValue(value.text)) {
              ++leftOut;
              continue;
            }
            text = value.text;
            break;
          case DataMgmt::FieldValue::kMark:
            text = "X";
            break;
          case DataMgmt::FieldValue::kNo:
            text = TestDataFormat::kExplicitNo;
            break;
        }
        const std::string name = testDataFieldName(*formDesc, id);
        if (name.empty()) continue;
        std::fprintf(out, "%s:%u:%s:%s\n", devName.c_str(), unsigned(copy->getCopyNumber()), name.c_str(),
                     text.c_str());
      }
    }
  }
  return leftOut;
}
