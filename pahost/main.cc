// pahost: a small host program that loads the PA module the way the host
// application does, checks its compatibility number, builds the PA objects
// through the module's factories, reports the PA return's constants and
// mailing addresses, deletes everything and unloads the module.
//
//   pahost [--module PATH] [RETURN.txt]
//
// Exit status: 0 on success, 2 when the module cannot be loaded or has
// another compatibility number, 1 when a factory fails.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "pahost/module_loader.h"
#include "pahost/session.h"

namespace {

const uint16_t kExpectedCompatVersion = 6101;

int usage() {
  std::fprintf(stderr, "usage: pahost [--module PATH] [RETURN.txt]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string modulePath = defaultModulePath();
  std::string returnFile;  // accepted; the return's data is not loaded yet
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--module") == 0) {
      if (++i >= argc) return usage();
      modulePath = argv[i];
    } else if (argv[i][0] == '-') {
      return usage();
    } else if (returnFile.empty()) {
      returnFile = argv[i];
    } else {
      return usage();
    }
  }

  ModuleLoader module;
  if (!module.open(modulePath)) {
    std::fprintf(stderr, "pahost: cannot load the module %s: %s\n", modulePath.c_str(),
                 module.error().c_str());
    return 2;
  }
  using CompatFn = uint16_t (*)();
  auto compat = reinterpret_cast<CompatFn>(module.find("compatVersion"));
  if (compat == nullptr) {
    std::fprintf(stderr, "pahost: %s\n", module.error().c_str());
    return 2;
  }
  const uint16_t version = compat();
  if (version != kExpectedCompatVersion) {
    std::fprintf(stderr, "pahost: module compatibility number %u, expected %u\n", version,
                 kExpectedCompatVersion);
    return 2;
  }
  std::printf("loaded %s (compatibility %u)\n", modulePath.c_str(), version);

  int status = 0;
  {
    HostSession session;
    if (session.findFactories(module) && session.build()) {
      session.report(stdout);
    } else {
      std::fprintf(stderr, "pahost: %s\n", session.error().c_str());
      status = 1;
    }
    if (!session.close() && status == 0) {
      std::fprintf(stderr, "pahost: %s\n", session.error().c_str());
      status = 1;
    }
  }  // every object is gone before the module is unloaded
  module.close();
  std::printf("unloaded\n");
  return status;
}
