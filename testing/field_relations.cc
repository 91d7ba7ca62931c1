// Field relations: a relations XML file names, per RELATION, input fields
// with the values to give them and output fields with the values expected
// after a recalculation. Each RELATION sets its inputs, recalculates the
// return twice with the in-progress box marked and appends one line to the
// results file:
//
//   input::input::...::expected|actual[K]::expected|actual[K]...
//
// K is the output field's kind: "B" check box, "T" text, "N" anything else.
// A relations file that is not well-formed is reported with the parser's
// reason and nothing of it is applied, and so is one whose root element is
// not RELATIONS or that cannot be read whole, or whose forms-affected list
// cannot; nor is anything applied without a results file that can be
// written (its folder is made). Results that could not all be written are
// reported. While a hook runs, a field that changes or reads nothing (no
// such form, field or copy, or a value the field refuses) is reported too.
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "calc/state/state_tax_return_calc_engine.h"
#include "host/descriptors.h"
#include "host/form_field.h"
#include "host/string_utils.h"
#include "host/tax_form.h"
#include "host/tax_return.h"
#include "host/xml.h"
#include "testing/auto_test_boxes.h"
#include "testing/auto_test_files.h"
#include "testing/auto_test_report.h"
#include "testing/test_data_maps.h"

namespace StateCalculationMgmt {
namespace {

const char kRelationsRoot[] = "RELATIONS";
const char kInput[] = "Input";
const char kInputOverride[] = "InputOverride";
const char kItemSeparator[] = "::";

// Writes the separator before every item of a line but the first.
class ResultLine {
 public:
  explicit ResultLine(std::ostream& out) : out_(out) {}
  std::ostream& item() {
    if (!first_) out_ << kItemSeparator;
    first_ = false;
    return out_;
  }

 private:
  std::ostream& out_;
  bool first_ = true;
};

const char* kindLetter(const DataMgmt::TaxReturn& taxReturn, const FieldRelation& output) {
  const DataMgmt::FieldTraits traits = TestDataMaps::traitsOf(taxReturn, output.form, output.field);
  if (!traits.known) return "N";
  if (traits.isBoolean()) return "B";
  return traits.isText() ? "T" : "N";
}

// The value text an output holds, trimmed; "" when its copy does not exist.
std::string actualValue(const DataMgmt::TaxReturn& taxReturn, const FieldRelation& output) {
  const DataMgmt::TaxForm* copy = taxReturn.getForm(output.form, output.copy);
  if (copy == nullptr) return std::string();
  return Utils::OVStringUtils::trimString(copy->valueText(output.field), true, true);
}

void setOverridden(DataMgmt::TaxReturn& taxReturn, const FieldRelation& input, bool overridden) {
  const DataMgmt::TaxFormPtr copy = taxReturn.getFormOrCreate(input.form, input.copy);
  if (copy.isNull()) return;
  const DataMgmt::FormFieldPtr field = copy->getField(input.field);
  if (!field.isNull()) field->setOverridden(overridden);
}

}  // namespace

void StateTaxReturnCalcEngine::loadInputXmlFile(const std::string& formsAffectedPath,
                                                const std::string& relationsPath,
                                                const std::string& resultsPath,
                                                DataMgmt::TaxReturn* taxReturn, const FormId& boxForm,
                                                const FieldId& inProgressBox) {
  relationResultsWritten = false;
  if (taxReturn == nullptr) return;
  // Every input is read whole before anything is applied or written.
  PersistanceMgmt::XmlTextReader reader;
  if (!AutoTestFiles::loadXmlInput(relationsPath, kRelationsRoot, reader)) return;
  std::string why;
  const std::vector<std::string> formsAffected = AutoTestFiles::readLines(formsAffectedPath, nullptr, &why);
  if (!why.empty()) {
    AutoTestReport::fileNotRead(formsAffectedPath, why);
    return;
  }
  // No relation is applied when its results would be lost.
  std::ofstream results;
  if (!AutoTestFiles::openOutput(resultsPath, true, results)) return;
  FormNameMap formNames;
  TestDataMaps::addAllForms(*taxReturn, formNames);
  FieldNameMap fieldNames;
  for (const std::string& line : formsAffected) {
    const auto form = formNames.find(Utils::OVStringUtils::toUpperCase(line));
    if (form != formNames.end()) TestDataMaps::addFormFields(*taxReturn, form->second, fieldNames);
  }

  std::vector<FieldRelation> inputs;
  std::vector<FieldRelation> outputs;
  applyRelations(reader.getXmlDocument()->getDocumentElement(), formNames, fieldNames, inputs, outputs, results,
                 taxReturn, boxForm, inProgressBox);
  relationResultsWritten = AutoTestFiles::closeOutput(results, resultsPath);
}

void StateTaxReturnCalcEngine::applyRelations(XmlDom::XmlNodePtr node, FormNameMap& formNames,
                                              FieldNameMap& fieldNames, std::vector<FieldRelation>& inputs,
                                              std::vector<FieldRelation>& outputs, std::ostream& results,
                                              DataMgmt::TaxReturn* taxReturn, const FormId& boxForm,
                                              const FieldId& inProgressBox) {
  if (node.isNull() || taxReturn == nullptr) return;
  const std::string name = node->getName();

  if (name == kRelationsRoot) {
    applyNodeList(node, formNames, fieldNames, inputs, outputs, results, taxReturn, boxForm, inProgressBox);
  } else if (name == "RELATION") {
    inputs.clear();
    outputs.clear();
    applyNodeList(node, formNames, fieldNames, inputs, outputs, results, taxReturn, boxForm, inProgressBox);
    ResultLine line(results);
    for (const FieldRelation& input : inputs) {
      const TestDataFormat::LineProblem problem =
          TestDataMaps::valueProblem(*taxReturn, input.form, input.field, input.value);
      if (problem != TestDataFormat::LineProblem::kStored) {
        AutoTestReport::add("relation input " +
                            TestDataMaps::fieldLabel(*taxReturn, input.form, input.copy, input.field) + ": " +
                            AutoTestReport::problemText(problem));
      }
      assignFieldFromText(input.form, input.copy, input.field, input.value, taxReturn, false);
      if (input.type == kInputOverride) setOverridden(*taxReturn, input, true);
      line.item() << input.value;
    }
    AutoTestBoxes::recalculateInProgress(taxReturn, boxForm, inProgressBox, [this] {
      calcReturn(0);
      calcReturn(0);
    });
    for (const FieldRelation& input : inputs) {
      if (input.type == kInputOverride) setOverridden(*taxReturn, input, false);
    }
    for (const FieldRelation& output : outputs) {
      line.item() << output.value << "|" << actualValue(*taxReturn, output) << "["
                  << kindLetter(*taxReturn, output) << "]";
    }
    results << "\n";
    results.flush();
  } else if (name == "FIELD") {
    const XmlDom::XmlNamedNodeMapPtr attributes = node->getAttributes();
    const std::string formName = Utils::OVStringUtils::toUpperCase(getAttributeValue(attributes, "FORM"));
    const auto form = formNames.find(formName);
    const std::string copyText = getAttributeValue(attributes, "COPY");
    const std::string name = getAttributeValue(attributes, "NAME");
    const auto field = fieldNames.find("k" + formName + "_" + name);
    const std::string type = getAttributeValue(attributes, "TYPE");
    const FormId formId = form == formNames.end() ? FormId() : form->second;
    uint16_t copy = 0;
    const TestDataFormat::LineProblem copyProblem = TestDataMaps::readCopy(*taxReturn, formId, copyText, &copy);
    const FieldRelation relation(formId, copy, field == fieldNames.end() ? FieldId() : field->second,
                                 getAttributeValue(attributes, "VALUE"), type);
    const bool isInput = type == kInput || type == kInputOverride;
    // An output's form or field not found is left as it always was: its
    // value reads as empty. A copy the rule refuses is reported for both.
    const std::string refusal = isInput && form == formNames.end()     ? "no such form"
                                : isInput && field == fieldNames.end() ? "no such field of the forms affected"
                                : form == formNames.end()              ? ""
                                                                       : AutoTestReport::problemText(copyProblem);
    if (!refusal.empty()) {
      AutoTestReport::add(std::string("relation ") + (isInput ? "input " : "output ") + formName + ":" + copyText +
                          ":" + name + ": " + refusal);
    }
    (isInput ? inputs : outputs).push_back(relation);
  }
}

void StateTaxReturnCalcEngine::applyNodeList(XmlDom::XmlNodePtr node, FormNameMap& formNames,
                                             FieldNameMap& fieldNames, std::vector<FieldRelation>& inputs,
                                             std::vector<FieldRelation>& outputs, std::ostream& results,
                                             DataMgmt::TaxReturn* taxReturn, const FormId& boxForm,
                                             const FieldId& inProgressBox) {
  if (node.isNull()) return;
  const SmartPointers::CountedPtr<XmlDom::XmlNodeList> children = node->getChildNodes();
  for (int i = 0; !children.isNull() && i < children->length(); ++i) {
    const XmlDom::XmlNodePtr child = children->item(i);
    if (child.isNull() || !child->isElement()) continue;
    applyRelations(child, formNames, fieldNames, inputs, outputs, results, taxReturn, boxForm,
                   inProgressBox);
  }
}

std::string StateTaxReturnCalcEngine::getAttributeValue(XmlDom::XmlNamedNodeMapPtr attributes,
                                                        const std::string& name) {
  if (attributes.isNull()) return std::string();
  const XmlDom::XmlNodePtr attribute = attributes->getNamedItem(name);
  return attribute.isNull() ? std::string() : attribute->getValue();
}

}  // namespace StateCalculationMgmt
