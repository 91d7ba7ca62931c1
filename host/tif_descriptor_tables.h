// The stand-in's data-file descriptor lists (ours): which lines the host's
// form conversion writes for a form. Only federal form 131 and the forms
// of the PA print table have lists; every other form answers the empty
// list.
//
// Each list follows the form's field order; entry k carries the field code
// "%05d.000.001" of k + 1 on form 131 and "%05d.999.001" of k + 1 on a
// state form (a state writer's own lines in a state form's record never use
// the sub-field 999, so each code there has one meaning), the clean hook
// cleanFormString for text fields and none otherwise, and the first entry
// carries the record attributes "<dev name> 1": each form's records have a
// name of their own. Form 131's attributes are "SYPCRTN 1", and its list
// ends with the filer-information fields whose values the state writer
// rewrites for the header. The PA-40's list moves fields 42781 and 15 to
// its end, so that the records written at those fields do not swallow the
// PA-40's plain lines.
#ifndef HOST_TIF_DESCRIPTOR_TABLES_H_
#define HOST_TIF_DESCRIPTOR_TABLES_H_

#include <vector>

#include "host/descriptors.h"

namespace DataMgmt {

// Sets the list of federal form 131 on the federal description.
void addFederalTifDescriptors(TaxReturnDesc* desc);
// Sets the lists of the print-table forms on the state description.
void addStateTifDescriptors(TaxReturnDesc* desc,
                            const std::vector<Primitives::OVImmutableFormIdentifier>& printTable);

}  // namespace DataMgmt

#endif  // HOST_TIF_DESCRIPTOR_TABLES_H_
