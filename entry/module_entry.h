// The module's exported entry points, called by the host by plain name.
#ifndef ENTRY_MODULE_ENTRY_H_
#define ENTRY_MODULE_ENTRY_H_

#include <cstdint>

#define PA_EXPORT extern "C" __attribute__((visibility("default")))

// The compatibility number the host checks before it uses the module: 6101.
PA_EXPORT uint16_t compatVersion();

#endif  // ENTRY_MODULE_ENTRY_H_
