#include "host/orvane_exception.h"

namespace Exceptions {

OrvaneException::OrvaneException(const std::string& message, const std::string& className,
                                 const std::string& operationName)
    : message_(message), className_(className), operationName_(operationName) {}

OrvaneException::~OrvaneException() = default;

}  // namespace Exceptions
