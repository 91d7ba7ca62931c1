// SmartPointers::CountedPtr: the host's shared-ownership pointer.
//
// A holder keeps a pointer to the shared object and a pointer to a count,
// allocated on the heap, of the holders that share it. Every holder owns a
// count, even an empty one. The last release frees the count and deletes
// the object. The count is a plain integer: holders of one object are used
// from one thread at a time.
//
// Holders cross the host/module boundary by value (the callee owns and
// releases its argument), by reference (the host keeps ownership; copy the
// holder to take a share) or as a result (the caller owns the share).
// Header-only: the host and the module compile the same code.
#ifndef HOST_COUNTED_PTR_H_
#define HOST_COUNTED_PTR_H_

#include <string>

// GCC 12 cannot see that a shared count outlives every holder but the last
// and reports a use after free on the decrement; the logic is the one
// specified above, so the false report is silenced for this class only.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuse-after-free"
#endif

namespace SmartPointers {

template <class T>
class CountedPtr {
 public:
  // Takes ownership of `p` (which may be null) and starts a count of 1.
  // If the count cannot be allocated, `p` is deleted and the error rethrown.
  CountedPtr(T* p = nullptr) : object(p), count(nullptr) {  // NOLINT: implicit by design
    try {
      count = new long(1);
    } catch (...) {
      delete p;
      throw;
    }
  }

  // Shares the source's object and count; an empty source gives another
  // empty holder on the same count.
  CountedPtr(const CountedPtr& other) : object(other.object), count(other.count) {
    ++*count;
  }

  CountedPtr& operator=(const CountedPtr& other) {
    if (this == &other) return *this;
    release();
    object = other.object;
    count = other.count;
    ++*count;
    return *this;
  }

  virtual ~CountedPtr() { release(); }

  T* operator->() const { return object; }
  T& operator*() const { return *object; }
  T* get() const { return object; }
  bool isNull() const { return object == nullptr; }
  explicit operator bool() const { return object != nullptr; }

  // Number of holders sharing the object; for tests and diagnostics.
  long useCount() const { return count ? *count : 0; }

 private:
  void release() {
    if (count == nullptr) return;
    if (--*count > 0) return;
    delete count;
    count = nullptr;
    if (object != nullptr) delete object;
    object = nullptr;
  }

  T* object;
  long* count;
};

}  // namespace SmartPointers

#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic pop
#endif

namespace Primitives {

// A shared host string, as returned by host text functions.
class StringPtr : public SmartPointers::CountedPtr<std::string> {
 public:
  using SmartPointers::CountedPtr<std::string>::CountedPtr;
};

}  // namespace Primitives

#endif  // HOST_COUNTED_PTR_H_
