# Writes a makefile whose every target checks that one source of a build
# compiles under clang: the build's own compile command, with clang in
# place of the compiler and -fsyntax-only in place of the object (no code
# is generated, so a pass over the whole build costs a fraction of a build).
# A source compiled by several targets is checked once.
#
#   cmake -DCOMMANDS=build/compile_commands.json -DCLANG=clang++ -DOUT=check.mk -P .ci/clang_syntax.cmake
#   make -k -j"$(nproc)" -f check.mk
#
# Flags only g++ knows are left out of the commands.
cmake_minimum_required(VERSION 3.25)

foreach(input COMMANDS CLANG OUT)
  if(NOT DEFINED ${input})
    message(FATAL_ERROR "clang_syntax: ${input} is not given")
  endif()
endforeach()

set(gcc_only_flags -fno-gnu-unique)

file(READ "${COMMANDS}" json)
string(JSON count LENGTH "${json}")
set(targets "")
set(rules "")
set(seen "")
if(count GREATER 0)
  math(EXPR last "${count} - 1")
  foreach(at RANGE ${last})
    string(JSON file GET "${json}" ${at} file)
    if(file IN_LIST seen)
      continue()
    endif()
    list(APPEND seen "${file}")
    string(JSON directory GET "${json}" ${at} directory)
    string(JSON command GET "${json}" ${at} command)
    # The compiler is the first word; the object after -o and -c go.
    string(REGEX REPLACE "^[^ ]+" "${CLANG}" command "${command}")
    string(REGEX REPLACE " -o [^ ]+" "" command "${command}")
    string(REPLACE " -c " " -fsyntax-only " command "${command}")
    foreach(flag IN LISTS gcc_only_flags)
      string(REPLACE " ${flag} " " " command "${command}")
    endforeach()
    # make hands the recipe to the shell; a dollar sign stays a dollar sign.
    string(REPLACE "$" "$$" command "${command}")
    list(APPEND targets "source${at}")
    string(APPEND rules "source${at}:\n\t@cd \"${directory}\" && ${command} || { echo \"clang cannot compile ${file}\"; exit 1; }\n")
  endforeach()
endif()

list(JOIN targets " " all)
file(WRITE "${OUT}" ".PHONY: all ${all}\nall: ${all}\n${rules}")
list(LENGTH seen sources)
message(STATUS "clang_syntax: ${sources} sources to check")
