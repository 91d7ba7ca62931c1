#include "pahost/module_loader.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

bool ModuleLoader::open(const std::string& path) {
  close();
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* why = dlerror();
    error_ = why ? why : "cannot load " + path;
    return false;
  }
  return true;
}

void* ModuleLoader::find(const char* name) {
  if (handle_ == nullptr) {
    error_ = "no module loaded";
    return nullptr;
  }
  dlerror();
  void* symbol = dlsym(handle_, name);
  if (symbol == nullptr) error_ = std::string("the module does not export ") + name;
  return symbol;
}

void ModuleLoader::close() {
  if (handle_ != nullptr) dlclose(handle_);
  handle_ = nullptr;
}

const char kSelfLink[] = "/proc/self/exe";

std::string defaultModulePath(const char* selfLink) {
  char self[PATH_MAX];
  const ssize_t n = readlink(selfLink, self, sizeof(self) - 1);
  if (n <= 0 || n >= static_cast<ssize_t>(sizeof(self) - 1)) return "";  // unreadable, or maybe cut short
  self[n] = '\0';
  std::string dir(self);
  size_t slash = dir.rfind('/');
  dir = slash == std::string::npos ? "." : dir.substr(0, slash);
  return dir + "/libpa2018.so";
}
