# Checks the layering of the project's folders: every #include "..." of a
# non-test source names a file of its own folder or of a folder in a lower
# layer. Run as: cmake -DROOT=<source folder> -P check_layers.cmake
cmake_minimum_required(VERSION 3.25)
#
# The layers, bottom first. Folders of one layer do not include each other,
# except in the bottom one: the host framework compiles the module's field
# catalogs and identifiers in, and they are written against its types.
# catalogs/ counts with its subfolders, calc/pa/ with schedules/.
set(layers
  "host catalogs identifiers"
  "parameters"
  "return"
  "calc/state"
  "calc/pa"
  "audit output interview testing"
  "entry testing/fuzz"
  "pahost"
  "bench")
# pahost (and the benchmarks built on it) is a program apart from the
# module: it reaches the module through the host's interfaces and the
# header-only tables, never into these folders.
set(module_inside return parameters calc/state calc/pa audit output)

set(rank 0)
foreach(layer IN LISTS layers)
  string(REPLACE " " ";" folders "${layer}")
  foreach(folder IN LISTS folders)
    set(rank_of_${folder} ${rank})
  endforeach()
  math(EXPR rank "${rank} + 1")
endforeach()

function(folder_of path out)
  get_filename_component(dir "${path}" DIRECTORY)
  if(dir MATCHES "^catalogs/")
    set(dir catalogs)
  elseif(dir MATCHES "^calc/pa/")
    set(dir calc/pa)
  endif()
  set(${out} "${dir}" PARENT_SCOPE)
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/non_test_sources.cmake)
non_test_sources(${ROOT} sources .cc .h .c .def)
set(faults "")
foreach(source IN LISTS sources)
  folder_of(${source} from)
  if(NOT DEFINED rank_of_${from})
    list(APPEND faults "${source}: folder ${from} has no layer")
    continue()
  endif()
  file(STRINGS ${ROOT}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" target "${line}")
    if(NOT EXISTS ${ROOT}/${target})
      continue()
    endif()
    folder_of(${target} to)
    if(from STREQUAL to)
      continue()
    endif()
    if(NOT DEFINED rank_of_${to})
      list(APPEND faults "${source} includes ${target}: folder ${to} has no layer")
    elseif(rank_of_${to} GREATER rank_of_${from} OR
           (rank_of_${to} EQUAL rank_of_${from} AND NOT rank_of_${to} EQUAL 0))
      list(APPEND faults "${source} includes ${target}: ${to} is not below ${from}")
    elseif(from MATCHES "^(pahost|bench)$" AND to IN_LIST module_inside)
      list(APPEND faults "${source} includes ${target}: pahost reaches into the module's ${to}")
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "includes against the folder layers:\n  ${text}")
endif()
