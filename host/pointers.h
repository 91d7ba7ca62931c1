// The host's named smart-pointer types, one per shared host class.
//
// Each derives from SmartPointers::CountedPtr over its pointee and adds
// nothing. The pointees are only declared here; include a class's own
// header before a holder of it is released.
#ifndef HOST_POINTERS_H_
#define HOST_POINTERS_H_

#include <vector>

#include "host/counted_ptr.h"

#define HOST_NAMED_POINTER(Name, Pointee)                   \
  class Name : public SmartPointers::CountedPtr<Pointee> { \
   public:                                                 \
    using SmartPointers::CountedPtr<Pointee>::CountedPtr;  \
  };

namespace DataMgmt {
class TaxReturn;
class TaxReturnDesc;
class TaxForm;
class TaxFormDesc;
class FormField;
class FormFieldDesc;
class SessionProperties;
class TifFieldDescriptor;
using TifFieldDescriptorList = std::vector<SmartPointers::CountedPtr<TifFieldDescriptor>>;

HOST_NAMED_POINTER(TaxReturnPtr, TaxReturn)
HOST_NAMED_POINTER(TaxReturnDescPtr, TaxReturnDesc)
HOST_NAMED_POINTER(TaxFormPtr, TaxForm)
HOST_NAMED_POINTER(TaxFormDescPtr, TaxFormDesc)
HOST_NAMED_POINTER(FormFieldPtr, FormField)
HOST_NAMED_POINTER(FormFieldDescPtr, FormFieldDesc)
HOST_NAMED_POINTER(SessionPropertiesPtr, SessionProperties)
HOST_NAMED_POINTER(TifFieldDescriptorListPtr, TifFieldDescriptorList)
}  // namespace DataMgmt

namespace Utils {
class StringPool;
HOST_NAMED_POINTER(StringPoolPtr, StringPool)
}  // namespace Utils

namespace IOMgmt {
class FileName;
HOST_NAMED_POINTER(FileNamePtr, FileName)
}  // namespace IOMgmt

namespace CalculationMgmt {
class TaxReturnCalcEngine;
HOST_NAMED_POINTER(TaxReturnCalcEnginePtr, TaxReturnCalcEngine)
}  // namespace CalculationMgmt

namespace TaxFormPrintMgmt {
class TaxFormPrinter;
HOST_NAMED_POINTER(TaxFormPrinterPtr, TaxFormPrinter)
}  // namespace TaxFormPrintMgmt

namespace AuditMgmt {
class TaxFormAuditor;
class AuditReport;
HOST_NAMED_POINTER(TaxFormAuditorPtr, TaxFormAuditor)
HOST_NAMED_POINTER(AuditReportPtr, AuditReport)
}  // namespace AuditMgmt

namespace XmlDom {
class XmlNode;
class XmlNodeList;
class XmlNamedNodeMap;
HOST_NAMED_POINTER(XmlNodePtr, XmlNode)
HOST_NAMED_POINTER(XmlNamedNodeMapPtr, XmlNamedNodeMap)
}  // namespace XmlDom

#endif  // HOST_POINTERS_H_
