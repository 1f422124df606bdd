# The command line of zel: each case runs the binary with arguments and checks the exit status and the
# first line of standard output and of standard error (or a pattern they must, or must not, contain).
# Usage: cmake -DZEL=path -DVERSION=x.y.z -DSCRIPTS=tests/scripts -P cli_test.cmake
set(failures "")

# The text up to the first line break.
function(first_line text var)
  string(FIND "${text}" "\n" end)
  string(SUBSTRING "${text}" 0 ${end} line)
  set(${var} "${line}" PARENT_SCOPE)
endfunction()

# check(RC n [OUT line] [ERR line] [ERR_HAS regex] [OUT_HAS regex] [OUT_LACKS regex] [INPUT file] [OUTPUT file] [TIMEOUT_INT s]
#       ARGS ...)
function(check)
  cmake_parse_arguments(C "" "RC;OUT;ERR;ERR_HAS;OUT_HAS;OUT_LACKS;INPUT;OUTPUT;TIMEOUT_INT" "ARGS" ${ARGN})
  set(command ${ZEL} ${C_ARGS})
  # Interrupts the run with one SIGINT after that many seconds, as Ctrl-C would. --foreground: without it
  # timeout signals its whole process group as well, and zel takes that second SIGINT as a second Ctrl-C.
  if(C_TIMEOUT_INT)
    set(command timeout --foreground --preserve-status -s INT ${C_TIMEOUT_INT} ${command})
  endif()
  set(redirect "")
  if(C_INPUT)
    list(APPEND redirect INPUT_FILE ${C_INPUT})
  endif()
  if(C_OUTPUT)
    list(APPEND redirect OUTPUT_FILE ${C_OUTPUT})
  endif()
  execute_process(COMMAND ${command} ${redirect} WORKING_DIRECTORY ${SCRIPTS}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
  first_line("${out}" out1)
  first_line("${err}" err1)
  set(problem "")
  if(NOT rc STREQUAL C_RC)
    string(APPEND problem " exit ${rc} (expected ${C_RC});")
  endif()
  if(DEFINED C_OUT AND NOT out1 STREQUAL C_OUT)
    string(APPEND problem " stdout '${out1}' (expected '${C_OUT}');")
  endif()
  if(DEFINED C_ERR AND NOT err1 STREQUAL C_ERR)
    string(APPEND problem " stderr '${err1}' (expected '${C_ERR}');")
  endif()
  if(DEFINED C_ERR_HAS AND NOT err MATCHES "${C_ERR_HAS}")
    string(APPEND problem " stderr lacks '${C_ERR_HAS}';")
  endif()
  if(DEFINED C_OUT_HAS AND NOT out MATCHES "${C_OUT_HAS}")
    string(APPEND problem " stdout lacks '${C_OUT_HAS}';")
  endif()
  if(DEFINED C_OUT_LACKS AND out MATCHES "${C_OUT_LACKS}")
    string(APPEND problem " stdout has '${C_OUT_LACKS}';")
  endif()
  if(problem)
    set(failures "${failures}  zel ${C_ARGS}:${problem}\n" PARENT_SCOPE)
  endif()
endfunction()

# Conventions of the command line (options_test.cpp covers the parsing in detail).
check(RC 0 OUT "usage: zel [--max-steps N] [--max-memory SIZE] [--no-files] [FILE | - | -e TEXT]" ERR "" ARGS --help)
check(RC 0 OUT "zel ${VERSION}" ERR "" ARGS --version)
check(RC 2 OUT "" ERR "zel: unknown option '--bogus'" ARGS --bogus)
check(RC 2 ERR "zel: unexpected argument 'loops.zel'" ARGS errors.zel loops.zel)
check(RC 2 ERR "zel: invalid size '12Q' for --max-memory (examples: 64M, 2G, 1048576)" ARGS --max-memory=12Q)
# Input and output that fail, with the system's reason.
check(RC 1 OUT "" ERR "zel: .: Is a directory" ARGS .)
check(RC 1 ERR "zel: missing.zel: No such file or directory" ARGS missing.zel)
check(RC 1 ERR "zel: cannot write standard output: No space left on device" OUTPUT /dev/full ARGS -e "1 + 1")
# Where errors are: "-e" for command-line text, "-" for standard input.
check(RC 0 OUT "ans(integer) = 2" ERR "" ARGS -e "1 + 1")
check(RC 1 OUT "" ERR "-e:1: error: 'x' is not defined" ARGS -e "x")
check(RC 1 OUT "ans(double) = 2" ERR "-:4: error: Vector index out of range: 0 <= 3 < 3" INPUT errors.zel ARGS -)
check(RC 1 OUT "ans(double) = 2" ERR "-:4: error: Vector index out of range: 0 <= 3 < 3" INPUT errors.zel)
# Limits: the step budget, the memory cap, Ctrl-C.
check(RC 1 ERR "-e:1: error: Evaluation stopped: the step limit of 50 lines was reached"
  ARGS --max-steps 50 -e "while true\nend")
check(RC 1 ERR "-e:2: error: Not enough memory: 8000000 bytes exceed the limit of 1048576 bytes for one object"
  ARGS --max-memory 1M -e "v = 1:1000000\nw = v * 2.5")
check(RC 130 OUT "" ERR_HAS "^-e:[12]: error: Evaluation cancelled\n" TIMEOUT_INT 2 ARGS -e "while true\nend")
# Without file access the file words are unknown names, as any other.
check(RC 1 OUT "" ERR "-e:1: error: Unrecognized function or value select called on undefined variable!"
  ERR_HAS "note: 'FileOpen' is not defined" ARGS --no-files -e "FileOpen(\"x.dat\")")
check(RC 0 OUT_LACKS "csvread|FileOpen" ARGS --no-files --functions)
# Symbol lists: argument names from the help texts; the compiler's own words only with --all.
check(RC 0 OUT_HAS "\nif\\(expression\\)\t" OUT_LACKS "select\\(|endfor\\(" ARGS --functions)
check(RC 0 OUT_HAS "\nendfor\\(i,range\\)\t" ARGS --functions --all)
check(RC 0 OUT "| Name | Description |" ARGS --constants --markdown)

if(failures)
  message(FATAL_ERROR "zel command line:\n${failures}")
endif()
