/* The floor of this machine: a process that only dlopens a library (an
   empty one), the least any host program that loads a module must pay. */
#include <dlfcn.h>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  return dlopen(argv[1], RTLD_NOW | RTLD_LOCAL) != 0 ? 0 : 1;
}
