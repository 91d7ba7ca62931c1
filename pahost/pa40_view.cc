#include "pahost/pa40_view.h"

#include <cmath>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "catalogs/fields/field_tables.h"
#include "host/descriptors.h"
#include "host/tax_form.h"
#include "host/tax_return.h"
#include "pahost/table_numbers.h"
#include "testing/test_data_format.h"

namespace {

const Primitives::OVImmutableFormIdentifier kPA40Form(TableNumbers::kPA40FormNumber, true);

// The lines that make the balance, by their names in the PA-40's table.
const char kTotalPaymentLine[] = "TotalPayment";        // line 27, tax due with penalties
const char kRefundLine[] = "Refund";                    // line 29
const char kEstimatedCreditLine[] = "EstimatedAccountCredit";  // line 30
const char kLineHead[] = "Line ";
const int kNumberWidth = 3;  // "1a", "12" and a blank
const int kAmountWidth = 12;

struct PrintedLine {
  std::string number;  // "9", "1a"
  std::string text;    // the label after the line number
  long amount;
};

// The whole amount the copy holds in `field`, in dollars.
long amountOf(const DataMgmt::TaxForm& copy, int number) {
  const Primitives::OVImmutableIdentifier field(number);
  const double unit = TestDataFormat::scaleOf(copy.editCodeOf(field)).factor;
  return std::lround(copy.getIR(field) / unit);
}

// The host field number of the PA-40's row named `name`; 0 for none.
int numberOf(const char* name) {
  return TableNumbers::fieldNumberOf(CatalogId::PA40FieldIds, name);
}

std::vector<PrintedLine> linesOf(const DataMgmt::TaxForm& copy) {
  std::vector<PrintedLine> lines;
  const std::string head = kLineHead;
  for (const NamedFieldInfo* row = namedFieldRows(CatalogId::PA40FieldIds); row != nullptr && row->name != nullptr;
       ++row) {
    const std::string label = row->label;
    if (label.compare(0, head.size(), head) != 0) continue;
    const long amount = amountOf(copy, row->number);
    if (amount == 0) continue;
    const std::size_t space = label.find(' ', head.size());
    if (space == std::string::npos) continue;
    lines.push_back({label.substr(head.size(), space - head.size()), label.substr(space + 1), amount});
  }
  return lines;
}

void printBalance(std::FILE* out, const DataMgmt::TaxForm& copy) {
  const long due = amountOf(copy, numberOf(kTotalPaymentLine));
  const long refund = amountOf(copy, numberOf(kRefundLine));
  const long credit = amountOf(copy, numberOf(kEstimatedCreditLine));
  if (due > 0) {
    std::fprintf(out, "Balance: you owe %s (line 27, total payment)\n", groupedAmount(due).c_str());
  } else if (refund > 0 || credit > 0) {
    std::fprintf(out, "Balance: a refund of %s (line 29)", groupedAmount(refund).c_str());
    if (credit > 0) std::fprintf(out, ", and %s credited to the 2019 estimated account (line 30)",
                                 groupedAmount(credit).c_str());
    std::fprintf(out, "\n");
  } else {
    std::fprintf(out, "Balance: nothing to pay and no refund\n");
  }
}

}  // namespace

std::string groupedAmount(long amount) {
  const std::string digits = std::to_string(amount < 0 ? -static_cast<unsigned long>(amount)
                                                       : static_cast<unsigned long>(amount));
  std::string text;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  return amount < 0 ? "-" + text : text;
}

void printPA40(std::FILE* out, const DataMgmt::TaxReturn& paReturn) {
  const DataMgmt::TaxForm* copy = paReturn.getForm(kPA40Form, 1);
  if (copy == nullptr) {
    std::fprintf(out, "The return has no PA-40.\n");
    return;
  }
  const std::vector<PrintedLine> lines = linesOf(*copy);
  std::size_t width = 0;
  for (const PrintedLine& line : lines) width = std::max(width, line.text.size());
  std::fprintf(out, "PA-40\n");
  for (const PrintedLine& line : lines) {
    std::fprintf(out, "  %s%-*s %-*s %*s\n", kLineHead, kNumberWidth, line.number.c_str(), int(width),
                 line.text.c_str(), kAmountWidth, groupedAmount(line.amount).c_str());
  }
  printBalance(out, *copy);
}
