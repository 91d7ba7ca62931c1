#include "host/string_pool.h"

namespace Utils {

StringPool::StringPool() = default;
StringPool::~StringPool() = default;

long StringPool::intern(const std::string& text) {
  if (text.empty()) return 0;
  auto found = handles_.find(text);
  if (found != handles_.end()) return found->second;
  texts_.push_back(text);
  const long handle = static_cast<long>(texts_.size());
  handles_.emplace(text, handle);
  return handle;
}

std::string StringPool::lookup(long handle) const { return textOf(handle); }

const std::string& StringPool::textOf(long handle) const {
  static const std::string none;
  if (handle <= 0 || static_cast<unsigned long>(handle) > texts_.size()) return none;
  return texts_[static_cast<std::size_t>(handle - 1)];
}

StringPoolPtr StringPool::shared() {
  // The stand-in's own share: the pool lives until the process ends.
  static StringPoolPtr pool(new StringPool());
  return pool;
}

}  // namespace Utils
