// Exceptions::OrvaneException: the host's exception for internal
// inconsistencies, carrying a message and the class and operation that
// raised it. The stand-in host itself never throws it.
#ifndef HOST_ORVANE_EXCEPTION_H_
#define HOST_ORVANE_EXCEPTION_H_

#include <exception>
#include <string>

#include "host/host_api.h"

namespace Exceptions {

class HOST_API OrvaneException : public std::exception {
 public:
  OrvaneException(const std::string& message, const std::string& className,
                  const std::string& operationName);
  ~OrvaneException() override;

  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& getMessage() const { return message_; }
  const std::string& getClassName() const { return className_; }
  const std::string& getOperationName() const { return operationName_; }

 private:
  std::string message_;
  std::string className_;
  std::string operationName_;
};

}  // namespace Exceptions

#endif  // HOST_ORVANE_EXCEPTION_H_
