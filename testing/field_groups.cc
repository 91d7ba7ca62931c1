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
// Only fields that already hold a significant value are changed.
#include <set>
#include <string>

#include "calc/state/state_tax_return_calc_engine.h"
#include "host/io.h"
#include "host/string_utils.h"
#include "host/tax_return.h"
#include "host/xml.h"
#include "testing/auto_test_boxes.h"
#include "testing/test_data_maps.h"

namespace StateCalculationMgmt {
namespace {

const char kEveryCopy[] = "*";
const char kNullValue[] = "NULLSTR";

}  // namespace

void StateTaxReturnCalcEngine::scrubInputFields(const std::string& prefix, const std::string& path,
                                                DataMgmt::TaxReturn* taxReturn, FormId formId,
                                                FieldId doneBox, FieldId /*inProgressBox*/) {
  if (taxReturn == nullptr) return;
  PersistanceMgmt::XmlTextReader reader;
  reader.loadXml(IOMgmt::FileNamePtr(new IOMgmt::FileName(path)));
  const XmlDom::XmlDocument* document = reader.getXmlDocument();
  const XmlDom::XmlNodePtr root = document == nullptr ? XmlDom::XmlNodePtr() : document->getDocumentElement();
  if (root.isNull()) return;

  FieldGroupRefList refs;
  walkFieldGroups(root, prefix, refs);

  FormNameMap formNames;
  TestDataMaps::addAllForms(*taxReturn, formNames);
  FieldNameMap fieldNames;
  std::set<std::string> formsMet;  // forms whose fields are in fieldNames
  for (const FieldGroupRef& ref : refs) {
    const std::string formName = Utils::OVStringUtils::toUpperCase(ref.form);
    const auto form = formNames.find(formName);
    if (form == formNames.end()) continue;  // no form to give the field to
    if (formsMet.insert(formName).second) TestDataMaps::addFormFields(*taxReturn, form->second, fieldNames);
    const auto field = fieldNames.find(ref.field);
    if (field == fieldNames.end()) continue;
    // The map holds the fields of every form met so far: the name must be
    // one of this form's.
    if (!TestDataMaps::isFieldOfForm(*taxReturn, form->second, field->second, ref.field)) continue;

    const std::string value = ref.value == kNullValue ? std::string() : ref.value;
    if (ref.copy == kEveryCopy) {
      for (int copy = 1; copy <= taxReturn->getFormCount(form->second); ++copy) {
        assignFieldFromText(form->second, static_cast<uint16_t>(copy), field->second, value, taxReturn, true);
      }
    } else {
      assignFieldFromText(form->second, TestDataMaps::copyNumberOf(ref.copy), field->second, value,
                          taxReturn, true);
    }
  }
  AutoTestBoxes::mark(taxReturn, formId, doneBox);
}

void StateTaxReturnCalcEngine::walkFieldGroups(XmlDom::XmlNodePtr node, const std::string& entity,
                                               FieldGroupRefList& refs) {
  if (node.isNull()) return;
  const std::string name = node->getName();
  if (name == "FIELDGROUPS") {
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
