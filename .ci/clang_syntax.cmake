# Writes a makefile whose every target checks that one source of a build
# compiles under clang: the build's own compile command, with clang in
# place of the compiler and -fsyntax-only in place of the object (no code
# is generated). A source compiled by several targets is checked once.
#
# The standard headers, and GoogleTest's for a source of a tests folder,
# are parsed once per set of flags into a precompiled header that each
# check loads first: the pass takes about half the time it would.
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
set(std_headers algorithm array cctype cstddef cstdint cstdio cstdlib cstring functional map memory
                set sstream string string_view unordered_map utility vector)

# The two headers to precompile, beside the makefile (the checks run in
# the build's folders: every path is whole).
get_filename_component(OUT "${OUT}" ABSOLUTE)
get_filename_component(out_dir "${OUT}" DIRECTORY)
set(pch_dir "${out_dir}/clang_pch")
set(std_text "")
foreach(header IN LISTS std_headers)
  string(APPEND std_text "#include <${header}>\n")
endforeach()
file(WRITE "${pch_dir}/plain.h" "${std_text}")
file(WRITE "${pch_dir}/tests.h" "${std_text}#include <gtest/gtest.h>\n")

file(READ "${COMMANDS}" json)
string(JSON count LENGTH "${json}")
set(targets "")
set(rules "")
set(seen "")
set(made_pchs "")
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
    # The flags: the command without its compiler, object and source.
    string(REGEX REPLACE " -o [^ ]+" "" command "${command}")
    if(NOT command MATCHES "^[^ ]+ (.*) -c [^ ]+$")
      message(FATAL_ERROR "clang_syntax: a compile command of an unknown form: ${command}")
    endif()
    set(flags " ${CMAKE_MATCH_1} ")
    foreach(flag IN LISTS gcc_only_flags)
      string(REPLACE " ${flag} " " " flags "${flags}")
    endforeach()
    # make hands the recipe to the shell; a dollar sign stays a dollar sign.
    string(REPLACE "$" "$$" flags "${flags}")
    set(kind plain)
    if(file MATCHES "/tests/")
      set(kind tests)
    endif()
    string(MD5 key "${kind}${flags}")
    set(pch "${pch_dir}/${key}.pch")
    if(NOT key IN_LIST made_pchs)
      list(APPEND made_pchs "${key}")
      string(APPEND rules "pch_${key}:\n\t@cd \"${directory}\" && ${CLANG}${flags}-x c++-header "
                          "\"${pch_dir}/${kind}.h\" -o \"${pch}\"\n")
    endif()
    list(APPEND targets "source${at}")
    string(APPEND rules "source${at}: pch_${key}\n\t@cd \"${directory}\" && ${CLANG}${flags}-include-pch "
                        "\"${pch}\" -fsyntax-only \"${file}\" || { echo \"clang cannot compile ${file}\"; exit 1; }\n")
  endforeach()
endif()

list(JOIN targets " " all)
list(TRANSFORM made_pchs PREPEND "pch_")
list(JOIN made_pchs " " pchs)
file(WRITE "${OUT}" ".PHONY: all ${all} ${pchs}\nall: ${all}\n${rules}")
list(LENGTH seen sources)
list(LENGTH made_pchs headers)
message(STATUS "clang_syntax: ${sources} sources to check, ${headers} precompiled headers")
