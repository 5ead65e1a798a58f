# check_current.cmake: regenerates the tables of GRAMMAR into OUT_DIR and fails
# when they differ from the checked-in copies in CHECKED_IN_DIR.
#   cmake -DPYTHON=... -DGENERATOR=... -DGRAMMAR=... -DOUT_DIR=... -DCHECKED_IN_DIR=... -P check_current.cmake
execute_process(COMMAND ${PYTHON} ${GENERATOR} ${GRAMMAR} ${OUT_DIR} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "parsergen failed on ${GRAMMAR}")
endif()
get_filename_component(name ${GRAMMAR} NAME_WE)
foreach(file ${name}_tables.h ${name}_tables.cpp)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files
                  ${OUT_DIR}/${file} ${CHECKED_IN_DIR}/${file} RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "${CHECKED_IN_DIR}/${file} is out of date: run tools/parsergen/parsergen.py "
                        "${GRAMMAR} ${CHECKED_IN_DIR}")
  endif()
endforeach()
