# Checks the ELF files in FILES with READELF: each binds every symbol when
# it is loaded, calls through no lazy-binding stub when NO_PLT is set, and
# takes the C++ runtime as a shared library (so that the module loads into
# an ordinary C++ host).
foreach(file IN LISTS FILES)
  execute_process(COMMAND ${READELF} -dW ${file} OUTPUT_VARIABLE dynamic RESULT_VARIABLE rc)
  execute_process(COMMAND ${READELF} -rW ${file} OUTPUT_VARIABLE relocations)
  if(NOT rc EQUAL 0 OR NOT dynamic MATCHES "Flags:[^\n]* NOW")
    message(FATAL_ERROR "${file} is not bound at load:\n${dynamic}")
  endif()
  if(NO_PLT AND relocations MATCHES "JUMP_SLOT")
    message(FATAL_ERROR "${file} calls through lazy-binding stubs:\n${relocations}")
  endif()
  if(NOT dynamic MATCHES "NEEDED[^\n]*libstdc\\+\\+")
    message(FATAL_ERROR "${file} does not take the C++ runtime as a shared library:\n${dynamic}")
  endif()
endforeach()
