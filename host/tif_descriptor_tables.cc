#include "host/tif_descriptor_tables.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "host/tif_writer.h"

namespace DataMgmt {
namespace {

typedef Primitives::OVImmutableFormIdentifier FormId;
typedef Primitives::OVImmutableIdentifier FieldId;
using SmartPointers::CountedPtr;

const FormId kEFileInfoForm(131, false);
const FormId kFilerInfoForm(92, false);
const FormId kPA40Form(169, true);

// Filer-information fields the state writer rewrites in the header record.
const int kHeaderFilerFields[] = {20, 789, 790, 791, 792, 17994, 17995, 25, 715};
// PA-40 fields written last, in this order.
const int kPA40LastFields[] = {42781, 15};

char cleanKindOf(const TaxFormDesc& form, const FieldId& field) {
  return form.traitsOf(field).kind == kTextField ? TifWriteMgmt::kTifCleanForm
                                                 : TifWriteMgmt::kTifCleanNone;
}

// The sub-field of the codes of form 131, and of a state form's lines: a
// state writer writes its own lines into a state form's record at some of
// its fields, never under this sub-field, so that a code there means one
// thing.
const char kEFileInfoSubField[] = "000";
const char kStateFormSubField[] = "999";

// "%05d.<sub>.001" of index + 1, made by hand below 100000 (lists are long
// and every entry has one).
std::string codeOf(std::size_t index, const char* subField) {
  std::size_t number = index + 1;
  char code[TifWriteMgmt::kTifCodeSize] = "00000.000.001";
  if (number >= 100000) {
    std::snprintf(code, sizeof code, "%05zu.%s.001", number, subField);
    return code;
  }
  std::memcpy(code + 6, subField, 3);  // every sub-field has three digits
  for (std::size_t at = 5; at-- > 0; number /= 10) code[at] = static_cast<char>('0' + number % 10);
  return std::string(code, sizeof "00000.000.001" - 1);
}

// One entry per field of `form`, in field order, codes by position.
void appendFormEntries(const TaxFormDesc& form, const char* subField, TifFieldDescriptorList& list) {
  const std::vector<FieldId>& fields = form.fieldIds();
  const FormId id = form.getTypeID();
  const std::string noAttributes;
  list.reserve(list.size() + fields.size());
  for (std::size_t k = 0; k < fields.size(); ++k) {
    list.push_back(CountedPtr<TifFieldDescriptor>(new TifFieldDescriptor(
        codeOf(k, subField), id, fields[k], cleanKindOf(form, fields[k]), 0, noAttributes)));
  }
}

// Moves the entries of `fields` (those present) to the end, in that order.
void moveToEnd(TifFieldDescriptorList& list, const int* fields, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    auto found = std::find_if(list.begin(), list.end(), [&](const CountedPtr<TifFieldDescriptor>& d) {
      return d->getField().getNumber() == fields[i];
    });
    if (found == list.end()) continue;
    CountedPtr<TifFieldDescriptor> entry = *found;
    list.erase(found);
    list.push_back(entry);
  }
}

// Gives the first entry the record attributes.
void setAttributes(TifFieldDescriptorList& list, const std::string& attributes) {
  if (list.empty()) return;
  const TifFieldDescriptor& first = *list.front();
  list.front() = CountedPtr<TifFieldDescriptor>(
      new TifFieldDescriptor(first.getFieldCode(), first.getForm(), first.getField(),
                             first.getCleanKind(), first.getPercentKind(), attributes));
}

}  // namespace

void addFederalTifDescriptors(TaxReturnDesc* desc) {
  const TaxFormDescPtr form = desc->getTaxFormDescriptor(kEFileInfoForm);
  if (form.isNull()) return;
  TifFieldDescriptorListPtr list(new TifFieldDescriptorList());
  appendFormEntries(*form, kEFileInfoSubField, *list);
  const TaxFormDescPtr filer = desc->getTaxFormDescriptor(kFilerInfoForm);
  for (int number : kHeaderFilerFields) {
    if (filer.isNull() || filer->getFieldDesc(FieldId(number)).isNull()) continue;
    const FieldId field(number);
    list->push_back(CountedPtr<TifFieldDescriptor>(new TifFieldDescriptor(
        codeOf(list->size(), kEFileInfoSubField), kFilerInfoForm, field, cleanKindOf(*filer, field), 0, "")));
  }
  setAttributes(*list, "SYPCRTN 1");
  desc->setTifFieldDescriptors(kEFileInfoForm, list);
}

void addStateTifDescriptors(TaxReturnDesc* desc, const std::vector<FormId>& printTable) {
  for (const FormId& id : printTable) {
    const TaxFormDescPtr form = desc->getTaxFormDescriptor(id);
    if (form.isNull()) continue;
    TifFieldDescriptorListPtr list(new TifFieldDescriptorList());
    appendFormEntries(*form, kStateFormSubField, *list);
    if (id == kPA40Form) {
      moveToEnd(*list, kPA40LastFields, sizeof kPA40LastFields / sizeof kPA40LastFields[0]);
    }
    // The whole developer name: each form's records have a name of their own.
    setAttributes(*list, form->getDevName() + " 1");
    desc->setTifFieldDescriptors(id, list);
  }
}

}  // namespace DataMgmt
