# Compares the dynamic symbols that LIB defines with the list in EXPECTED
# (one demangled name per line, sorted).
execute_process(COMMAND nm -D -C --defined-only ${LIB} OUTPUT_VARIABLE nm_out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIB}")
endif()
string(REPLACE "\n" ";" lines "${nm_out}")
set(actual "")
foreach(line IN LISTS lines)
  # "ADDRESS TYPE NAME"; keep code and data symbols, skip the toolchain's own.
  # Weak instances of the standard library's templates (std::to_chars when an
  # unoptimised build does not inline it) carry the standard headers' default
  # visibility; they are not the module's interface.
  if(line MATCHES "^[0-9a-f]+ ([TDBRVW]) (.*)$")
    set(kind "${CMAKE_MATCH_1}")
    set(name "${CMAKE_MATCH_2}")
    if(kind MATCHES "^[VW]$" AND name MATCHES "std::")
      continue()
    endif()
    if(NOT name MATCHES "^(_init|_fini|__bss_start|_edata|_end|__.*)$")
      list(APPEND actual "${name}")
    endif()
  endif()
endforeach()
list(SORT actual)
list(REMOVE_DUPLICATES actual)
file(STRINGS ${EXPECTED} expected)
list(SORT expected)
if(NOT actual STREQUAL expected)
  string(REPLACE ";" "\n  " a "${actual}")
  string(REPLACE ";" "\n  " e "${expected}")
  message(FATAL_ERROR "exports differ\nactual:\n  ${a}\nexpected:\n  ${e}")
endif()
message(STATUS "exports match (${EXPECTED})")
