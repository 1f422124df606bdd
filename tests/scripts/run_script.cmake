# Runs one golden script through zel and compares what it prints with NAME.out: standard output, then,
# when there is any, "--- stderr" and standard error, then, when it is not 0, "--- exit N". zel runs in
# the script's folder with the bare file name, so messages read "NAME.zel:LINE: ...".
# Usage: cmake -DZEL=path -DSCRIPT=path.zel -DEXPECTED=path.out -P run_script.cmake
get_filename_component(dir ${SCRIPT} DIRECTORY)
get_filename_component(file ${SCRIPT} NAME)
execute_process(COMMAND ${ZEL} ${file} WORKING_DIRECTORY ${dir}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
set(actual "${out}")
if(NOT err STREQUAL "")
  string(APPEND actual "--- stderr\n${err}")
endif()
if(NOT rc STREQUAL "0")
  string(APPEND actual "--- exit ${rc}\n")
endif()
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  message(FATAL_ERROR "output of ${SCRIPT} differs:\n--- expected\n${expected}\n--- actual\n${actual}")
endif()
