// Giving up the shares of holders taken by value.
//
// A function that takes a host holder by value owns that share and must
// release it before it returns, in a fixed order, rather than leave it to
// the end of the call.
#ifndef RETURN_RELEASE_SHARE_H_
#define RETURN_RELEASE_SHARE_H_

#include <cstddef>
#include <tuple>
#include <utility>

// Leaves `holder` empty. Every empty holder owns a count, so this
// allocates; use it where an allocation failure leaks nothing (in a
// constructor, before its object is handed out).
template <class Holder>
void releaseShare(Holder& holder) {
  holder = Holder();
}

// Releases several holders, first to last, without allocating: each takes
// a share of an empty holder made when the ShareRelease was built. A
// factory builds one before it allocates its object, so that once the
// object exists nothing can fail before it is returned.
template <class... Holders>
class ShareRelease {
 public:
  void operator()(Holders&... holders) {
    release(std::index_sequence_for<Holders...>(), holders...);
  }

 private:
  template <std::size_t... I>
  void release(std::index_sequence<I...>, Holders&... holders) {
    ((holders = std::get<I>(empties_)), ...);
  }

  std::tuple<Holders...> empties_;
};

#endif  // RETURN_RELEASE_SHARE_H_
