#include "pahost/tests/kept_as_users.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cstdlib>
#include <map>
#include <sstream>

#include "catalogs/fields/field_tables.h"
#include "host/descriptors.h"
#include "host/tax_form.h"
#include "host/tax_return.h"
#include "pahost/tests/return_edits.h"

const std::vector<KeptPlace>& keptPlaces() {
  static const std::vector<KeptPlace> places = {
      {"the PA W-2's PA compensation and PA tax where the user may type over them", "PAW2",
       CatalogId::PAW2FieldIds, {"RowPACompensation", "RowPATaxWithheld"}, KeptSource::kListedW2, nullptr},
      {"the compensation worksheet's PA amounts of a filer not a full-year resident, a row's reduction and "
       "the owner of a form-57 row",
       "PAMISCCOMPWORKSHEET", CatalogId::PAMiscCompWorksheetFieldIds,
       {"RowPACompensation", "RowPAWithholding", "RowReduction", "RowOwner"}, KeptSource::kRowField,
       "RowSourceReference"},
      {"PA Schedule C's depletion, interest and legal and professional fees", "PASCHEDULEC",
       CatalogId::PAScheduleCFieldIds, {"PADepletion", "Interest", "LegalProfessional"}, KeptSource::kCopyField,
       "FederalCopyNumber"},
      {"PA Schedule C's line A text that its federal text leaves open, filled with the other federal text",
       "PASCHEDULEC", CatalogId::PAScheduleCFieldIds, {"MainBusinessActivity", "ProductOrService"},
       KeptSource::kCopyField, "FederalCopyNumber"},
      {"PA Schedule J's owner code of a named row", "PASCHEDULEJ", CatalogId::PAScheduleJFieldIds, {"RowOwner"},
       KeptSource::kNone, nullptr},
      {"PA Schedule G-L's taxes paid to the other state, closed while no income is taxed twice", "PASCHEDULEGL",
       CatalogId::PAScheduleGLFieldIds, {"OtherStateTax", "SecondOtherStateTax"}, KeptSource::kNone, nullptr},
      {"PA Schedule G-L's entity amounts of an income row, closed while the row has no PA income", "PASCHEDULEGL",
       CatalogId::PAScheduleGLFieldIds,
       {"FirstEntityIncome", "SecondEntityIncome", "ThirdEntityIncome", "FourthEntityIncome"}, KeptSource::kNone,
       nullptr},
      {"PA Schedule SP's spouse's shares of a joint return's PA-40 and federal income, limited in place",
       "PASCHEDULESP", CatalogId::PAScheduleSPFieldIds, {"SpousePA40Income", "SpouseFederalEligibilityIncome"},
       KeptSource::kNone, nullptr},
      {"the PA-40's credit to the 2019 estimated account, refund donations and penalty, limited in place", "PA40",
       CatalogId::PA40FieldIds,
       {"EstimatedAccountCredit", "RefundDonationA", "RefundDonationB", "RefundDonationC", "RefundDonationD",
        "RefundDonationE", "RefundDonationF", "RefundDonationG", "RefundDonationI", "PenaltiesInterest"},
       KeptSource::kNone, nullptr},
      {"the information form's residency, taken from the federal residency while no box is marked",
       "PARETURNINFO", CatalogId::PAReturnInfoFieldIds,
       {"FullYearResidentBox", "NonresidentBox", "PartYearResidentBox"}, KeptSource::kNone, nullptr},
      {"the information form's county and school district, taken from the federal state summary while empty",
       "PARETURNINFO", CatalogId::PAReturnInfoFieldIds, {"County", "SchoolDistrict"}, KeptSource::kNone, nullptr},
      {"the information form's direct deposit answer, taken from the federal return while neither box is marked",
       "PARETURNINFO", CatalogId::PAReturnInfoFieldIds,
       {"DirectDepositYesBox", "DirectDepositNoBox", "DepositUseFederalBankBox"}, KeptSource::kNone, nullptr},
      {"the information form's driver's license or state ID answers, taken from the federal return while empty",
       "PARETURNINFO", CatalogId::PAReturnInfoFieldIds,
       {"TaxpayerDriversLicenseBox", "TaxpayerStateIDBox", "TaxpayerNoIDBox", "TaxpayerOtherIDOptionBox",
        "TaxpayerIDNumber", "TaxpayerIDState", "TaxpayerIDIssueDate", "TaxpayerIDExpirationDate",
        "TaxpayerIDNoExpirationBox", "SpouseDriversLicenseBox", "SpouseStateIDBox", "SpouseNoIDBox",
        "SpouseOtherIDOptionBox", "SpouseIDNumber", "SpouseIDState", "SpouseIDIssueDate", "SpouseIDExpirationDate",
        "SpouseIDNoExpirationBox"},
       KeptSource::kNone, nullptr},
      {"the information form's deposit and debit accounts, kept as entered while no refund is deposited and no "
       "balance debited",
       "PARETURNINFO", CatalogId::PAReturnInfoFieldIds,
       {"DepositUseFederalBankBox", "DepositCheckingBox", "DepositSavingsBox", "DepositRoutingNumber",
        "DepositAccountNumber", "DebitUseFederalBankBox", "DebitCheckingBox", "DebitSavingsBox", "DebitRoutingNumber",
        "DebitAccountNumber"},
       KeptSource::kNone, nullptr, true},
  };
  return places;
}

namespace {

const NamedFieldInfo* rowNamed(CatalogId catalog, const char* name) {
  for (const NamedFieldInfo* row = namedFieldRows(catalog); row != nullptr && row->name != nullptr; ++row) {
    if (std::strcmp(row->name, name) == 0) return row;
  }
  ADD_FAILURE() << "no field " << name;
  return nullptr;
}

// The host numbers of a named field's rows (one for a field).
std::vector<int> rowNumbers(const KeptPlace& place, const char* name) {
  std::vector<int> numbers;
  const NamedFieldInfo* row = rowNamed(place.catalog, name);
  const DataMgmt::TaxReturnDescPtr desc = DataMgmt::TaxReturnDesc::pennsylvania();
  const DataMgmt::TaxFormDescPtr form = desc->getTaxFormDescriptor(desc->findFormNamed(place.form));
  if (row == nullptr || form.isNull()) return numbers;
  for (int r = 0; r < row->rows; ++r) {
    numbers.push_back((form->getFieldIDs() + (row->member + row->step * r)).getID().getNumber());
  }
  return numbers;
}

// A dump's field values by FORM:copy:Fnumber.
std::map<std::string, std::string> valuesOf(const std::string& dump) {
  std::map<std::string, std::string> values;
  std::istringstream in(dump);
  for (std::string line; std::getline(in, line);) {
    FieldLine f;
    if (parseFieldLine(line, &f)) values[f.key()] = f.value;
  }
  return values;
}

std::string keyOf(const char* form, int copy, int number) {
  return std::string(form) + ":" + std::to_string(copy) + ":F" + std::to_string(number);
}

std::string valueAt(const std::map<std::string, std::string>& values, const std::string& key) {
  const auto found = values.find(key);
  return found == values.end() ? std::string() : found->second;
}

// The source of row `row` of copy `copy` as a dump shows it.
std::string sourceOf(const KeptPlace& place, const std::map<std::string, std::string>& values, int copy, int row) {
  switch (place.source) {
    case KeptSource::kNone:
      return std::string();
    case KeptSource::kCopyField:
      return valueAt(values, keyOf(place.form, copy, rowNumbers(place, place.sourceField).front()));
    case KeptSource::kRowField:
      return valueAt(values, keyOf(place.form, copy, rowNumbers(place, place.sourceField).at(row)));
    case KeptSource::kListedW2: {
      // Rows list the W-2s the copy's list holds, in order, without gaps.
      const std::vector<int> list = rowNumbers(place, "ListedEmployerName");
      int listed = 0;
      for (std::size_t position = 0; position < list.size(); ++position) {
        if (values.count(keyOf(place.form, copy, list[position])) == 0) continue;
        if (listed++ == row) return std::to_string(position);
      }
      return std::string();
    }
  }
  return std::string();
}

}  // namespace

KeptValues::KeptValues(const DataMgmt::TaxReturn& pa, const std::string& heldDump) : heldDump_(heldDump) {
  const std::map<std::string, std::string> held = valuesOf(heldDump);
  for (const KeptPlace& place : keptPlaces()) {
    const DataMgmt::FormId form = pa.getTaxReturnDesc()->findFormNamed(place.form);
    for (int copy = 1; copy <= pa.getMaxCopies(form); ++copy) {
      const DataMgmt::TaxForm* heldCopy = pa.getForm(form, static_cast<uint16_t>(copy));
      if (heldCopy == nullptr) continue;
      for (const char* name : place.fields) {
        const std::vector<int> numbers = rowNumbers(place, name);
        for (std::size_t row = 0; row < numbers.size(); ++row) {
          const std::string key = keyOf(place.form, copy, numbers[row]);
          const auto value = held.find(key);
          if (value == held.end()) continue;
          if (!place.whileClosed && heldCopy->isProtected(DataMgmt::FieldId(numbers[row]))) continue;
          values_.push_back({&place, copy, static_cast<int>(row), key, value->second});
        }
      }
    }
  }
}

std::vector<std::string> KeptValues::entries(const std::string& editedDump) const {
  const std::map<std::string, std::string> held = valuesOf(heldDump_);
  const std::map<std::string, std::string> edited = valuesOf(editedDump);
  std::vector<std::string> lines;
  for (const Held& h : values_) {
    const bool sameSource = sourceOf(*h.place, held, h.copy, h.row) == sourceOf(*h.place, edited, h.copy, h.row);
    lines.push_back(h.key + ":" + (sameSource ? h.value : std::string()));
  }
  return lines;
}
