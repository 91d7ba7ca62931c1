// The input-field scrubber: a field-group XML file lists, per state
// (FIELDGROUP ENTITY), the fields whose data is to be replaced or cleared,
// for example to make a copied return anonymous:
//
//   <FIELDGROUPS>
//     <FIELDGROUP ENTITY="PA">
//       <FIELDREF FORM="PAReturnInfo" COPY="*" FIELD="kPARETURNINFO_F31" VALUE="NULLSTR"/>
//     </FIELDGROUP>
//   </FIELDGROUPS>
//
// COPY "*" means every existing copy; VALUE "NULLSTR" clears the field.
// Only fields that already hold a significant value are changed. A file
// that is not well-formed, cannot be read whole or has another root
// element than FIELDGROUPS is reported with the reason and changes
// nothing. While a hook runs, a reference that changes nothing because its
// form, field or copy is not found or its value is refused is reported.
#include <set>
#include <string>

#include "calc/state/state_tax_return_calc_engine.h"
#include "host/string_utils.h"
#include "host/tax_return.h"
#include "host/xml.h"
#include "testing/auto_test_boxes.h"
#include "testing/auto_test_files.h"
#include "testing/auto_test_report.h"
#include "testing/test_data_maps.h"

namespace StateCalculationMgmt {
namespace {

const char kFieldGroupsRoot[] = "FIELDGROUPS";
const char kEveryCopy[] = "*";
const char kNullValue[] = "NULLSTR";

}  // namespace

void StateTaxReturnCalcEngine::scrubInputFields(const std::string& prefix, const std::string& path,
                                                DataMgmt::TaxReturn* taxReturn, FormId formId,
                                                FieldId doneBox, FieldId /*inProgressBox*/) {
  if (taxReturn == nullptr) return;
  PersistanceMgmt::XmlTextReader reader;
  if (!AutoTestFiles::loadXmlInput(path, kFieldGroupsRoot, reader)) return;  // the done box stays as it is

  FieldGroupRefList refs;
  walkFieldGroups(reader.getXmlDocument()->getDocumentElement(), prefix, refs);

  FormNameMap formNames;
  TestDataMaps::addAllForms(*taxReturn, formNames);
  FieldNameMap fieldNames;
  std::set<std::string> formsMet;  // forms whose fields are in fieldNames
  for (const FieldGroupRef& ref : refs) {
    const std::string formName = Utils::OVStringUtils::toUpperCase(ref.form);
    const std::string label = "field group " + formName + ":" + ref.copy + ":" + ref.field + ": ";
    const auto form = formNames.find(formName);
    if (form == formNames.end()) {  // no form to give the field to
      AutoTestReport::add(label + "no such form");
      continue;
    }
    if (formsMet.insert(formName).second) TestDataMaps::addFormFields(*taxReturn, form->second, fieldNames);
    const auto field = fieldNames.find(ref.field);
    // The map holds the fields of every form met so far: the name must be
    // one of this form's.
    if (field == fieldNames.end() ||
        !TestDataMaps::isFieldOfForm(*taxReturn, form->second, field->second, ref.field)) {
      AutoTestReport::add(label + "no such field of the form");
      continue;
    }

    const std::string value = ref.value == kNullValue ? std::string() : ref.value;
    TestDataFormat::LineProblem problem = TestDataMaps::valueProblem(*taxReturn, form->second, field->second, value);
    if (problem != TestDataFormat::LineProblem::kStored) {
      AutoTestReport::add(label + AutoTestReport::problemText(problem));
      continue;
    }
    if (ref.copy == kEveryCopy) {
      for (int copy = 1; copy <= taxReturn->getFormCount(form->second); ++copy) {
        assignFieldFromText(form->second, static_cast<uint16_t>(copy), field->second, value, taxReturn, true);
      }
      continue;
    }
    uint16_t copy = 0;
    problem = TestDataMaps::readCopy(*taxReturn, form->second, ref.copy, &copy);
    if (problem == TestDataFormat::LineProblem::kStored) {
      assignFieldFromText(form->second, copy, field->second, value, taxReturn, true);
    } else {
      AutoTestReport::add(label + AutoTestReport::problemText(problem));
    }
  }
  AutoTestBoxes::mark(taxReturn, formId, doneBox);
}

void StateTaxReturnCalcEngine::walkFieldGroups(XmlDom::XmlNodePtr node, const std::string& entity,
                                               FieldGroupRefList& refs) {
  if (node.isNull()) return;
  const std::string name = node->getName();
  if (name == kFieldGroupsRoot) {
    walkFieldGroupNodeList(node, entity, refs);
  } else if (name == "FIELDGROUP") {
    if (getAttributeValue(node->getAttributes(), "ENTITY") != entity) return;
    // A later group of the same entity replaces an earlier one.
    refs.clear();
    walkFieldGroupNodeList(node, entity, refs);
  } else if (name == "FIELDREF") {
    const XmlDom::XmlNamedNodeMapPtr attributes = node->getAttributes();
    refs.push_back({getAttributeValue(attributes, "FORM"), getAttributeValue(attributes, "COPY"),
                    getAttributeValue(attributes, "FIELD"), getAttributeValue(attributes, "VALUE")});
  }
}

void StateTaxReturnCalcEngine::walkFieldGroupNodeList(XmlDom::XmlNodePtr node, const std::string& entity,
                                                      FieldGroupRefList& refs) {
  if (node.isNull()) return;
  const SmartPointers::CountedPtr<XmlDom::XmlNodeList> children = node->getChildNodes();
  for (int i = 0; !children.isNull() && i < children->length(); ++i) {
    const XmlDom::XmlNodePtr child = children->item(i);
    if (!child.isNull() && child->isElement()) walkFieldGroups(child, entity, refs);
  }
}

}  // namespace StateCalculationMgmt
