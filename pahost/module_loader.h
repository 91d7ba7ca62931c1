// ModuleLoader: opens the PA module with dlopen and finds its entry points,
// as the host application does. The module stays loaded until close() or
// the end of the process: the exit unmaps it anyway, so a host that is about
// to end need not pay for unloading it.
#ifndef PAHOST_MODULE_LOADER_H_
#define PAHOST_MODULE_LOADER_H_

#include <string>

class ModuleLoader {
 public:
  ModuleLoader() = default;
  ~ModuleLoader() = default;
  ModuleLoader(const ModuleLoader&) = delete;
  ModuleLoader& operator=(const ModuleLoader&) = delete;

  // Opens the library at `path`; false with error() set when it cannot.
  bool open(const std::string& path);
  // The address of the exported function `name`, or null (error() set).
  void* find(const char* name);
  void close();  // unloads the module; every object it made must be gone
  const std::string& error() const { return error_; }

 private:
  void* handle_ = nullptr;
  std::string error_;
};

// The system's link to the running program.
extern const char kSelfLink[];  // "/proc/self/exe"

// The module's default location: libpa2018.so beside the program that
// `self` links to; "" when that link cannot be read (then only --module
// can say where the module is: a bare name would be looked for along the
// loader's search path, which may hold another).
std::string defaultModulePath(const char* self = kSelfLink);

#endif  // PAHOST_MODULE_LOADER_H_
