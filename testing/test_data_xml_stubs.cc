// The engine's XML test-data operations (field relations). They are
// declared so that every engine has its full set of operations; until the
// relations reader is built they do nothing and answer the empty result.
#include <ostream>
#include <string>
#include <vector>

#include "calc/state/state_tax_return_calc_engine.h"
#include "host/xml.h"

namespace StateCalculationMgmt {

void StateTaxReturnCalcEngine::loadInputXmlFile(const std::string&, const std::string&,
                                                const std::string&, DataMgmt::TaxReturn*,
                                                const FormId&, const FieldId&) {}

void StateTaxReturnCalcEngine::applyRelations(XmlDom::XmlNodePtr, FormNameMap&, FieldNameMap&,
                                              std::vector<FieldRelation>&,
                                              std::vector<FieldRelation>&, std::ostream&,
                                              DataMgmt::TaxReturn*, const FormId&, const FieldId&) {}

void StateTaxReturnCalcEngine::applyNodeList(XmlDom::XmlNodePtr, FormNameMap&, FieldNameMap&,
                                             std::vector<FieldRelation>&,
                                             std::vector<FieldRelation>&, std::ostream&,
                                             DataMgmt::TaxReturn*, const FormId&, const FieldId&) {}

std::string StateTaxReturnCalcEngine::getAttributeValue(XmlDom::XmlNamedNodeMapPtr,
                                                        const std::string&) {
  return std::string();
}

}  // namespace StateCalculationMgmt
