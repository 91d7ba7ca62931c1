// The XML dumps of a return that the automated-test hooks write after a
// recalculation: the PA field-values and all-fields dumps and the state
// layer's cycle-daemon dump. Test tools outside the module read them, so
// the layout is fixed to the tab and the line.
#include <algorithm>
#include <cctype>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>

#include "calc/pa/pa_tax_return_calc_engine.h"
#include "calc/state/state_tax_return_calc_engine.h"
#include "catalogs/fields/fields.h"
#include "host/business.h"
#include "host/descriptors.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "host/tax_return.h"
#include "identifiers/form_ids.h"
#include "testing/auto_test_boxes.h"
#include "testing/auto_test_files.h"
#include "testing/xml_text.h"

namespace {

using XmlText::cdata;
using XmlText::quoted;

const char kXmlDeclaration[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";

// The three layouts differ in the return head, the form head and which
// lines each field gets.
enum class FieldLines {
  kIdNameLineValue,  // FIELD element with ID, NAME, LINENUM and VALUE
  kNameLineValue,    // the same without ID
  kNameAttribute,    // FIELD element with a NAME attribute and a VALUE
};

struct DumpLayout {
  bool labelledReturn;  // LABEL attribute and RETURNNAME element
  bool upperDevName;    // DEVNAME upper-cased
  bool busName;         // BUSNAME element under each FORM
  FieldLines fields;
};

const DumpLayout kFieldValuesLayout = {true, false, true, FieldLines::kIdNameLineValue};
const DumpLayout kAllFieldsLayout = {false, true, false, FieldLines::kNameAttribute};
const DumpLayout kCycleDaemonLayout = {true, false, true, FieldLines::kNameLineValue};

std::string tabs(int count) { return std::string(static_cast<std::size_t>(count), '\t'); }

std::string upperEveryCharacter(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

void writeField(std::ostream& out, const DataMgmt::TaxReturn& taxReturn, const DataMgmt::FormId& type,
                const DataMgmt::FieldId& id, const std::string& name, const std::string& value,
                FieldLines lines) {
  if (lines == FieldLines::kNameAttribute) {
    out << tabs(2) << "<FIELD NAME=" << quoted(name) << ">\n";
    out << tabs(3) << "<VALUE>" << cdata(value) << "</VALUE>\n";
    out << tabs(2) << "</FIELD>\n";
    return;
  }
  char lineLabel[32];
  taxReturn.getLineID(lineLabel, type, id);
  out << tabs(3) << "<FIELD>\n";
  if (lines == FieldLines::kIdNameLineValue) out << tabs(4) << "<ID>" << id << "</ID>\n";
  out << tabs(4) << "<NAME>" << XmlText::escaped(name) << "</NAME>\n";
  out << tabs(4) << "<LINENUM>" << XmlText::escaped(lineLabel) << "</LINENUM>\n";
  out << tabs(4) << "<VALUE>" << cdata(value) << "</VALUE>\n";
  out << tabs(3) << "</FIELD>\n";
}

// One FORM element per existing copy of every form, in display order; a
// copy whose fields are all empty still gets its element.
void writeForms(std::ostream& out, const DataMgmt::TaxReturn& taxReturn, const DumpLayout& layout) {
  const DataMgmt::TaxReturnDescPtr returnDesc = taxReturn.getTaxReturnDesc();
  if (returnDesc.isNull()) return;
  for (const DataMgmt::TaxFormDescPtr& formDesc : returnDesc->getTaxFormDescriptorsInDisplayOrder()) {
    const DataMgmt::FormId type = formDesc->getTypeID();
    const DataMgmt::TaxFormDescPtr typeDesc = taxReturn.getTaxFormDescriptor(type);
    const std::string devName =
        layout.upperDevName ? upperEveryCharacter(formDesc->getDevName()) : formDesc->getDevName();
    for (DataMgmt::TaxFormIter copies = taxReturn.getForms(type); !copies.atEOL(); copies.next()) {
      const DataMgmt::TaxFormPtr copy = copies.getTaxForm();
      out << tabs(1) << "<FORM DEVNAME=" << quoted(devName)
          << " COPY=" << quoted(std::to_string(copy->getCopyNumber())) << ">\n";
      if (layout.busName) out << tabs(2) << "<BUSNAME>" << cdata(formDesc->getBusName()) << "</BUSNAME>\n";
      const DataMgmt::TaxFormDescPtr copyDesc = copy->getTaxFormDescriptor();
      if (!copyDesc.isNull() && !typeDesc.isNull()) {
        for (const DataMgmt::FieldId& id : copyDesc->fieldIds()) {
          const DataMgmt::FormFieldDescPtr fieldDesc = typeDesc->getFieldDesc(id);
          const std::string name = fieldDesc.isNull() ? std::string() : fieldDesc->getSymbolicName();
          const std::string value = Utils::OVStringUtils::trimString(copy->valueText(id), true, true);
          if (!value.empty()) writeField(out, taxReturn, type, id, name, value, layout.fields);
        }
      }
      out << tabs(1) << "</FORM>\n";
      out.flush();
    }
  }
}

// The whole dump: head, the recalculation with the in-progress box marked,
// every form copy, and the done box marked last, as the test tools expect
// it, also when the file could not be written or its name was refused;
// that is reported.
void writeDump(const std::string& directory, const std::string& fileName,
               DataMgmt::TaxReturn& taxReturn, const std::string& returnName,
               const DumpLayout& layout, const DataMgmt::FormId& boxForm,
               const DataMgmt::FieldId& doneBox, const DataMgmt::FieldId& inProgressBox,
               const std::function<void()>& recalculate) {
  const DataMgmt::TaxReturnDescPtr returnDesc = taxReturn.getTaxReturnDesc();
  const std::string version =
      returnDesc.isNull() ? std::string() : BusinessMgmt::BusinessMgr::getInstance().getVersion(*returnDesc);
  const std::string path = AutoTestFiles::fileInFolder(directory, fileName);
  std::ofstream out;
  AutoTestFiles::openOutput(path, false, out);
  out << kXmlDeclaration << "\n\n";
  if (layout.labelledReturn) {
    out << "<RETURN LABEL=" << quoted(version) << ">\n";
    out << "<RETURNNAME>" << cdata(returnName) << "</RETURNNAME>\n";
  } else {
    out << "<RETURN>\n";
  }
  AutoTestBoxes::recalculateInProgress(&taxReturn, boxForm, inProgressBox, recalculate);
  writeForms(out, taxReturn, layout);
  out << "</RETURN>\n";
  AutoTestFiles::closeOutput(out, path);
  AutoTestBoxes::mark(&taxReturn, boxForm, doneBox);
}

}  // namespace

namespace StateCalculationMgmt {

void StateTaxReturnCalcEngine::writeReturnXmlDump(const std::string& /*prefix*/,
                                                  const std::string& directory,
                                                  DataMgmt::TaxReturn* taxReturn, FormId formId,
                                                  FieldId doneBox, FieldId inProgressBox) {
  if (taxReturn == nullptr) return;
  // The dump's place is directory + "\\" + name; "/" is this host's
  // separator, so the file lands inside the directory.
  std::string path = directory;
  std::replace(path.begin(), path.end(), '\\', '/');
  writeDump(path, getReturnName() + ".xml", *taxReturn, getReturnName(), kCycleDaemonLayout, formId,
            doneBox, inProgressBox, [this] { calcReturn(0); });
}

}  // namespace StateCalculationMgmt

namespace PACalculationMgmt {

void PATaxReturnCalcEngine::writeFieldValuesXml(const std::string& directory) {
  if (paReturn == nullptr) return;
  writeDump(directory, getReturnName() + ".xml", *paReturn, getReturnName(), kFieldValuesLayout,
            kFormID_PAReturnInfo, PAReturnInfo::kAutoTestDoneBox,
            PAReturnInfo::kAutoTestInProgressBox, [this] { calcStateReturn(); });
}

void PATaxReturnCalcEngine::writeAllFieldsXml(const std::string& directory) {
  if (paReturn == nullptr) return;
  writeDump(directory, getReturnName() + ".xml", *paReturn, getReturnName(), kAllFieldsLayout,
            kFormID_PAReturnInfo, PAReturnInfo::kAutoTestDoneBox,
            PAReturnInfo::kAutoTestInProgressBox, [this] { calcReturn(0); });
}

}  // namespace PACalculationMgmt
