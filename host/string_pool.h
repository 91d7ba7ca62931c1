// Utils::StringPool: the process-wide table of text handles.
//
// A text field's FormField::getValue() is a handle into this pool; handle 0
// is the empty text. There is one pool per process: every return's
// StringPoolPtr shares it, so a handle resolves on either return and never
// dangles. The stand-in keeps its own share of the pool.
#ifndef HOST_STRING_POOL_H_
#define HOST_STRING_POOL_H_

#include <map>
#include <string>
#include <vector>

#include "host/host_api.h"
#include "host/pointers.h"

namespace Utils {

class HOST_API StringPool {
 public:
  StringPool();
  ~StringPool();
  StringPool(const StringPool&) = delete;
  StringPool& operator=(const StringPool&) = delete;

  // The handle of `text`, adding it when new; 0 for the empty text.
  long intern(const std::string& text);
  // The text of `handle`; "" for 0 or an unknown handle.
  std::string lookup(long handle) const;
  // The same, borrowed from the pool until it takes another text (ours).
  const std::string& textOf(long handle) const;

  // A new share of the process-wide pool.
  static StringPoolPtr shared();

 private:
  std::vector<std::string> texts_;  // texts_[h - 1] is the text of handle h
  std::map<std::string, long> handles_;
};

}  // namespace Utils

#endif  // HOST_STRING_POOL_H_
