# Runs one golden script through zel and compares what it prints (standard output, then standard error)
# with NAME.out. Usage: cmake -DZEL=path -DSCRIPT=path.zel -DEXPECTED=path.out -P run_script.cmake
execute_process(COMMAND ${ZEL} ${SCRIPT} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
set(actual "${out}${err}")
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  message(FATAL_ERROR "output of ${SCRIPT} differs (exit ${rc}):\n--- expected\n${expected}\n--- actual\n${actual}")
endif()
