#include "interview/state_macro_expander.h"

#include <typeinfo>

#include "host/string_utils.h"

namespace StateMacroExpansionMgmt {

namespace {

// The size of the buffers the state return fills with texts.
constexpr int kTextBufferSize = 256;

// The return as a state return. Checked through a pointer, so that an
// empty holder fails like a return of another class instead of binding a
// reference to nothing.
StateDataMgmt::StateTaxReturn& asStateReturn(const DataMgmt::TaxReturnPtr& taxReturn) {
  auto* state = dynamic_cast<StateDataMgmt::StateTaxReturn*>(taxReturn.get());
  if (state == nullptr) throw std::bad_cast();
  return *state;
}

// The text of a buffer the state return filled, up to its terminating zero
// or the buffer's end.
std::string bufferText(char (&buffer)[kTextBufferSize]) {
  buffer[kTextBufferSize - 1] = '\0';
  return std::string(buffer);
}

}  // namespace

StateMacroExpander::StateMacroExpander(DataMgmt::TaxReturnPtr& federalReturn,
                                       DataMgmt::TaxReturnPtr& stateReturn)
    : MacroExpansionMgmt::MacroExpander(federalReturn, stateReturn),
      stateTaxReturn(asStateReturn(stateReturn)) {}

StateMacroExpander::~StateMacroExpander() = default;

std::string StateMacroExpander::nameOr(const DataMgmt::FieldId& field, const char* fallBack) const {
  const std::string name =
      stateTaxReturn.getFieldAsString(stateTaxReturn.getInfoFormId(), 1, field);
  return name.empty() ? std::string(fallBack) : name;
}

std::string StateMacroExpander::expandTPNameOrYouIC() {
  return nameOr(stateTaxReturn.getInfoFieldId31(), "You");
}
std::string StateMacroExpander::expandTPNameOrYou() {
  return nameOr(stateTaxReturn.getInfoFieldId31(), "you");
}
std::string StateMacroExpander::expandSpNameOrSpouseIC() {
  return nameOr(stateTaxReturn.getInfoFieldId36(), "Spouse");
}
std::string StateMacroExpander::expandSpNameOrYourSpouse() {
  return nameOr(stateTaxReturn.getInfoFieldId36(), "your spouse");
}
std::string StateMacroExpander::expandSpNameOrMySpouseIC() {
  return nameOr(stateTaxReturn.getInfoFieldId36(), "My spouse");
}
std::string StateMacroExpander::expandSpNameOrYourSpouseIC() {
  return nameOr(stateTaxReturn.getInfoFieldId36(), "Your spouse");
}
std::string StateMacroExpander::expandSpNameOrYourSpouseTitle() {
  return nameOr(stateTaxReturn.getInfoFieldId36(), "Your Spouse");
}

std::string StateMacroExpander::expandStateReturnName() {
  DataMgmt::TaxReturnDescPtr desc = stateTaxReturn.getTaxReturnDesc();
  return desc.isNull() ? std::string() : desc->getFirstName();
}

std::string StateMacroExpander::expandStateReturnSecondName() {
  DataMgmt::TaxReturnDescPtr desc = stateTaxReturn.getTaxReturnDesc();
  return desc.isNull() ? std::string() : desc->getSecondName();
}

std::string StateMacroExpander::expandStateMailingAddress() {
  char address[kTextBufferSize] = "";
  stateTaxReturn.getMailingAddress(address, 0);
  return bufferText(address);
}

std::string StateMacroExpander::expandPrintExtraPageCount() {
  return "NYI - expandPrintExtraPageCount";
}

std::string StateMacroExpander::expandEFileCost1a() { return "NYI - expandEFileCost1a"; }

std::string StateMacroExpander::expandStateTaxAmount() {
  char text[kTextBufferSize] = "";
  int32_t amount = 0;  // delivered with the text, not used
  stateTaxReturn.getStateTextItem(text, &amount, 1);
  return Utils::OVStringUtils::trimString(bufferText(text), true, true);
}

std::string StateMacroExpander::expandStateReturnTitle() {
  return StateMacroExpander::expandStateReturnName() + " Return";
}

std::string StateMacroExpander::expandStateWord() { return "state"; }

std::string StateMacroExpander::expandTransmitStatusInfo() {
  return "NYI - expandTransmitStatusInfo";
}

std::string StateMacroExpander::expandOfficeLocatorNoScheme() {
  if (firstReturn.isNull()) return std::string();
  DataMgmt::TaxReturnDescPtr desc = stateTaxReturn.getTaxReturnDesc();
  const DataMgmt::TaxReturnType type = desc.isNull() ? 0 : desc->getReturnType();
  const std::string url = firstReturn->getOfficeLocatorURL(type);
  const std::string::size_type slash = url.find('/');
  if (slash == std::string::npos) return url;
  // Past "//" of "scheme://rest"; nothing left when the text ends first.
  const std::string::size_type rest = slash + 2;
  return rest < url.size() ? url.substr(rest) : std::string();
}

}  // namespace StateMacroExpansionMgmt
