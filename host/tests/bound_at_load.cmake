# Checks the ELF files in FILES with READELF (GNU's or LLVM's): each binds
# every symbol when it is loaded, calls through no lazy-binding stub when
# NO_PLT is set (with RUNTIME_STUBS set, but for stubs into the C++ runtime:
# symbols of versions GLIBCXX, CXXABI and GCC), and takes the C++ runtime as
# a shared library (so that the module loads into an ordinary C++ host).
foreach(file IN LISTS FILES)
  execute_process(COMMAND ${READELF} -dW ${file} OUTPUT_VARIABLE dynamic RESULT_VARIABLE rc)
  execute_process(COMMAND ${READELF} -rW ${file} OUTPUT_VARIABLE relocations)
  # GNU: "(FLAGS_1)  Flags: NOW PIE"; LLVM: "(FLAGS_1)  NOW PIE".
  if(NOT rc EQUAL 0 OR NOT dynamic MATCHES "\\(FLAGS_1\\)[^\n]* NOW")
    message(FATAL_ERROR "${file} is not bound at load:\n${dynamic}")
  endif()
  string(REGEX MATCHALL "[^\n]*JUMP_SLOT[^\n]*" stubs "${relocations}")
  if(RUNTIME_STUBS)
    list(FILTER stubs EXCLUDE REGEX "@(GLIBCXX|CXXABI|GCC)_[0-9.]+")
  endif()
  if(NO_PLT AND stubs)
    list(JOIN stubs "\n" stubs)
    message(FATAL_ERROR "${file} calls through lazy-binding stubs:\n${stubs}")
  endif()
  if(NOT dynamic MATCHES "NEEDED[^\n]*libstdc\\+\\+")
    message(FATAL_ERROR "${file} does not take the C++ runtime as a shared library:\n${dynamic}")
  endif()
endforeach()
