// releaseShare: gives up a holder's share at once.
//
// A function that takes a host holder by value owns that share and must
// release it before it returns, in a fixed order, rather than leave it to
// the end of the call. The holder is left empty.
#ifndef ENTRY_RELEASE_SHARE_H_
#define ENTRY_RELEASE_SHARE_H_

template <class Holder>
void releaseShare(Holder& holder) {
  holder = Holder();
}

#endif  // ENTRY_RELEASE_SHARE_H_
