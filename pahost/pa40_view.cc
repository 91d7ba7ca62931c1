#include "pahost/pa40_view.h"

#include <cmath>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "catalogs/fields/field_tables.h"
#include "host/descriptors.h"
#include "host/tax_form.h"
#include "host/tax_return.h"
#include "pahost/table_numbers.h"
#include "testing/test_data_format.h"

namespace {

const Primitives::OVImmutableFormIdentifier kPA40Form(TableNumbers::kPA40FormNumber, true);

// The lines that make the balance, by their names in the PA-40's table,
// which gives their line numbers too.
const char kTotalPaymentLine[] = "TotalPayment";  // tax due with penalties
const char kRefundLine[] = "Refund";
const char kEstimatedCreditLine[] = "EstimatedAccountCredit";
const char kDonationsLine[] = "TotalRefundDonations";
const char kLineHead[] = "Line ";
const int kNumberWidth = 3;  // "1a", "19b"
const int kAmountWidth = 12;

// A printed line's label split: "Line 19b Total ..." gives "19b" and "Total ...".
struct LineLabel {
  std::string number;
  std::string text;
};

struct PrintedLine {
  LineLabel label;
  long amount;
};

// The label of a row of the PA-40's table; false for a row without a line.
bool splitLabel(const NamedFieldInfo& row, LineLabel* label) {
  const std::string whole = row.label;
  const std::string head = kLineHead;
  if (whole.compare(0, head.size(), head) != 0) return false;
  const std::size_t space = whole.find(' ', head.size());
  if (space == std::string::npos) return false;
  *label = {whole.substr(head.size(), space - head.size()), whole.substr(space + 1)};
  return true;
}

// The whole amount the copy holds in `field`, in dollars.
long amountOf(const DataMgmt::TaxForm& copy, int number) {
  const Primitives::OVImmutableIdentifier field(number);
  const double unit = TestDataFormat::scaleOf(copy.editCodeOf(field)).factor;
  return std::lround(copy.getIR(field) / unit);
}

// The PA-40's row named `name`; null for none.
const NamedFieldInfo* rowOf(const char* name) {
  for (const NamedFieldInfo* row = namedFieldRows(CatalogId::PA40FieldIds); row != nullptr && row->name != nullptr;
       ++row) {
    if (std::strcmp(row->name, name) == 0) return row;
  }
  return nullptr;
}

// The amount and the line number of the PA-40's line named `name`.
struct BalanceLine {
  long amount = 0;
  std::string number;
};
BalanceLine balanceLine(const DataMgmt::TaxForm& copy, const char* name) {
  BalanceLine line;
  LineLabel label;
  const NamedFieldInfo* row = rowOf(name);
  if (row == nullptr) return line;
  line.amount = amountOf(copy, row->number);
  if (splitLabel(*row, &label)) line.number = label.number;
  return line;
}

std::vector<PrintedLine> linesOf(const DataMgmt::TaxForm& copy) {
  std::vector<PrintedLine> lines;
  for (const NamedFieldInfo* row = namedFieldRows(CatalogId::PA40FieldIds); row != nullptr && row->name != nullptr;
       ++row) {
    LineLabel label;
    if (!splitLabel(*row, &label)) continue;
    const long amount = amountOf(copy, row->number);
    if (amount != 0) lines.push_back({label, amount});
  }
  // In the form's order ("1a", "1c", "2", ..., "19b", "32"), whatever the
  // order of the table's rows.
  auto order = [](const PrintedLine& line) {
    return std::make_pair(std::atoi(line.label.number.c_str()), line.label.number);
  };
  std::stable_sort(lines.begin(), lines.end(),
                   [&order](const PrintedLine& a, const PrintedLine& b) { return order(a) < order(b); });
  return lines;
}

void printBalance(std::FILE* out, const DataMgmt::TaxForm& copy) {
  const BalanceLine due = balanceLine(copy, kTotalPaymentLine);
  const BalanceLine refund = balanceLine(copy, kRefundLine);
  const BalanceLine credit = balanceLine(copy, kEstimatedCreditLine);
  const BalanceLine donations = balanceLine(copy, kDonationsLine);
  if (due.amount > 0) {
    std::fprintf(out, "Balance: you owe %s (line %s, total payment)\n", groupedAmount(due.amount).c_str(),
                 due.number.c_str());
  } else if (refund.amount > 0 || credit.amount > 0 || donations.amount > 0) {
    // Where the overpayment goes: refunded, credited, donated.
    std::vector<std::string> parts;
    const std::string refunded = refund.amount > 0 ? "a refund of " + groupedAmount(refund.amount) : "no refund";
    parts.push_back(refunded + " (line " + refund.number + ")");
    if (credit.amount > 0) {
      parts.push_back(groupedAmount(credit.amount) + " credited to the 2019 estimated account (line " +
                      credit.number + ")");
    }
    if (donations.amount > 0) {
      parts.push_back(groupedAmount(donations.amount) + " donated (line " + donations.number + ")");
    }
    std::string text = parts[0];
    for (std::size_t i = 1; i < parts.size(); ++i) text += (i + 1 < parts.size() ? ", " : ", and ") + parts[i];
    std::fprintf(out, "Balance: %s\n", text.c_str());
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
  for (const PrintedLine& line : lines) width = std::max(width, line.label.text.size());
  std::fprintf(out, "PA-40\n");
  for (const PrintedLine& line : lines) {
    std::fprintf(out, "  %s%-*s %-*s %*s\n", kLineHead, kNumberWidth, line.label.number.c_str(), int(width),
                 line.label.text.c_str(), kAmountWidth, groupedAmount(line.amount).c_str());
  }
  printBalance(out, *copy);
}
