#include "pahost/federal_items.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "host/io.h"
#include "host/string_utils.h"
#include "host/us_tax_return.h"
#include "testing/test_data_format.h"

const char kFederalItemsForm[] = "FEDCOMMON";

namespace {

// A whole number that fills `text` completely and fits an int.
bool readInt(const std::string& text, long low, long high, long* value) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  const long number = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || number < low || number > high) return false;
  *value = number;
  return true;
}

struct Item {
  long form = 0;
  long code = 0;
  long value = 0;
};

bool parseItem(const std::vector<std::string>& parts, Item* item) {
  if (parts.size() < TestDataFormat::kLineParts) return false;
  if (Utils::OVStringUtils::toUpperCase(parts[0]) != kFederalItemsForm) return false;
  const std::string& code = parts[2];
  if (code.size() < 2 || (code[0] != 'C' && code[0] != 'c')) return false;
  return readInt(parts[1], 0, INT_MAX, &item->form) &&
         readInt(code.substr(1), 1, INT_MAX, &item->code) &&
         readInt(parts[3], LONG_MIN, LONG_MAX, &item->value);
}

}  // namespace

bool isFederalItemLine(const std::vector<std::string>& parts) {
  Item item;
  return parseItem(parts, &item);
}

int applyFederalItems(const std::string& path, DataMgmt::USTaxReturn& federal) {
  IOMgmt::FileReader reader;
  if (!reader.open(IOMgmt::FileNamePtr(new IOMgmt::FileName(path)))) return -1;
  int applied = 0;
  std::string line;
  while (!reader.eof()) {
    reader.readPCLine(line);
    Item item;
    if (!parseItem(TestDataFormat::splitLine(line), &item)) continue;
    federal.setCommonItem(static_cast<int>(item.form), static_cast<int>(item.code), item.value);
    ++applied;
  }
  reader.close();
  return applied;
}

void dumpFederalItems(std::FILE* out, const DataMgmt::USTaxReturn& federal) {
  for (const auto& entry : federal.commonItems()) {
    std::fprintf(out, "%s:%d:C%d:%ld\n", kFederalItemsForm, entry.first.first, entry.first.second,
                 entry.second);
  }
}
