// Visibility marker for the host framework's public classes and functions.
//
// The module is compiled with -fvisibility=hidden. Host classes must stay
// visible from both sides so that one vtable and one type-info per class
// serve the host and the module (dynamic_cast and exceptions cross the
// boundary).
#ifndef HOST_HOST_API_H_
#define HOST_HOST_API_H_

#define HOST_API __attribute__((visibility("default")))

#endif  // HOST_HOST_API_H_
