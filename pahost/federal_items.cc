#include "pahost/federal_items.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "host/io.h"
#include "host/string_utils.h"
#include "host/us_tax_return.h"
#include "pahost/dump.h"
#include "testing/test_data_format.h"

const char kFederalItemsForm[] = "FEDCOMMON";

namespace {

const char kWages[] = "WAGES";
const char kAllWages[] = "ALLWAGES";
const char kWithheld[] = "WITHHELD";
const int kTaxpayer = 1;
const int kSpouse = 10;

// A whole number that fills `text` completely (decimal digits, an optional
// "-" first) and lies in [low, high].
bool readLong(const std::string& text, long low, long high, long* value) {
  const std::size_t digits = !text.empty() && text[0] == '-' ? 1 : 0;
  if (text.size() == digits || text.find_first_not_of("0123456789", digits) != std::string::npos) {
    return false;
  }
  errno = 0;
  char* end = nullptr;
  const long number = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || number < low || number > high) return false;
  *value = number;
  return true;
}

// The largest federal figure taken, as the loader's largest amount.
const long kMaxItem = static_cast<long>(TestDataFormat::kMaxAmount);

// A plain decimal number, blanks at either end allowed, that the loader
// would store in a number field (no random amount, no empty value).
bool readAmount(const std::string& text, double* value) {
  TestDataFormat::Amount amount;
  if (text.empty() || TestDataFormat::readAmount(text, &amount) != TestDataFormat::LineProblem::kStored ||
      amount.random) {
    return false;
  }
  *value = amount.number;
  return true;
}

struct Item {
  enum Kind { kCommon, kWagesOf, kAllWagesOf, kWithheldAmount } kind = kCommon;
  long place = 0;  // the form of a common item, the person of wages
  long code = 0;
  long whole = 0;
  double amount = 0;
};

bool parseItem(const std::vector<std::string>& parts, Item* item) {
  if (parts.size() < TestDataFormat::kLineParts) return false;
  if (Utils::OVStringUtils::toUpperCase(parts[0]) != kFederalItemsForm) return false;
  const std::string name = Utils::OVStringUtils::toUpperCase(parts[2]);
  if (!readLong(parts[1], 0, INT_MAX, &item->place)) return false;
  if (name == kWithheld) {
    item->kind = Item::kWithheldAmount;
    return readAmount(parts[3], &item->amount);
  }
  if (name == kWages || name == kAllWages) {
    item->kind = name == kWages ? Item::kWagesOf : Item::kAllWagesOf;
    return (item->place == kTaxpayer || item->place == kSpouse) &&
           readAmount(parts[3], &item->amount);
  }
  item->kind = Item::kCommon;
  return name.size() >= 2 && name[0] == 'C' && readLong(name.substr(1), 1, INT_MAX, &item->code) &&
         readLong(TestDataFormat::withoutBlanksAtEnds(parts[3]), -kMaxItem, kMaxItem, &item->whole);
}

void apply(const Item& item, DataMgmt::USTaxReturn& federal) {
  switch (item.kind) {
    case Item::kCommon:
      federal.setCommonItem(static_cast<int>(item.place), static_cast<int>(item.code), item.whole);
      break;
    case Item::kWithheldAmount:
      federal.setStateTaxWithheldNoLocal(item.amount);
      break;
    case Item::kWagesOf:
    case Item::kAllWagesOf: {
      const bool all = item.kind == Item::kAllWagesOf;
      double taxpayer = all ? federal.allStateWages(kTaxpayer) : federal.stateWages(kTaxpayer);
      double spouse = all ? federal.allStateWages(kSpouse) : federal.stateWages(kSpouse);
      (item.place == kTaxpayer ? taxpayer : spouse) = item.amount;
      if (all) {
        federal.setAllStateWages(taxpayer, spouse);
      } else {
        federal.setStateWages(taxpayer, spouse);
      }
      break;
    }
  }
}

void dumpAmount(std::FILE* out, int place, const char* name, double amount) {
  if (amount == 0) return;
  std::fprintf(out, "%s:%d:%s:%s\n", kFederalItemsForm, place, name,
               loaderNumberText(amount, 0).c_str());
}

}  // namespace

bool isFederalItemLine(const std::vector<std::string>& parts) {
  Item item;
  return parseItem(parts, &item);
}

int applyFederalItems(const std::string& path, DataMgmt::USTaxReturn& federal) {
  std::vector<std::string> lines;
  if (!IOMgmt::readAllLines(path, &lines)) return -1;
  return applyFederalItems(lines, federal);
}

int applyFederalItems(const std::vector<std::string>& lines, DataMgmt::USTaxReturn& federal) {
  int applied = 0;
  for (const std::string& line : lines) {
    if (line.find('\0') != std::string::npos) continue;  // the text after it would be lost
    Item item;
    if (!parseItem(TestDataFormat::splitLine(line), &item)) continue;
    apply(item, federal);
    ++applied;
  }
  return applied;
}

void dumpFederalItems(std::FILE* out, const DataMgmt::USTaxReturn& federal) {
  for (const auto& entry : federal.commonItems()) {
    std::fprintf(out, "%s:%d:C%d:%ld\n", kFederalItemsForm, entry.first.first, entry.first.second,
                 entry.second);
  }
  for (int who : {kTaxpayer, kSpouse}) {
    dumpAmount(out, who, kWages, federal.stateWages(static_cast<char>(who)));
    dumpAmount(out, who, kAllWages, federal.allStateWages(static_cast<char>(who)));
  }
  dumpAmount(out, 0, kWithheld, federal.stateTaxWithheldNoLocal());
}
