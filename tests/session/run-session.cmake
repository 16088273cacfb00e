# Runs the program headless through SCRIPT on BUNDLE with a fresh HOME, under valgrind's memcheck when
# VALGRIND names it (VALGRIND_SUPPRESSIONS: its suppressions file). Fails when the program does: a script
# command that finds nothing to do, a sanitizer report, a memcheck error or a definite leak.
# With EXPECTED it also fails when the `state` lines the script printed differ from that file, which
# holds, for each of them, the keys whose values changed since the one before (all keys for the first);
# -DRECORD=ON writes the file instead.
#
#   cmake -DPROGRAM=torvex -DSCRIPT=FILE -DBUNDLE=DIR -DHOME=DIR [-DVALGRIND=valgrind ...]
#         [-DEXPECTED=FILE [-DRECORD=ON]] -P run-session.cmake

foreach(required PROGRAM SCRIPT BUNDLE HOME)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "run-session.cmake needs -D${required}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${HOME})
file(MAKE_DIRECTORY ${HOME})

set(wrapper)
if(VALGRIND)
  set(wrapper ${VALGRIND} --error-exitcode=99 --leak-check=full --show-leak-kinds=definite
              --errors-for-leak-kinds=definite --num-callers=40 --suppressions=${VALGRIND_SUPPRESSIONS})
endif()

# The script's screenshots land in HOME, its working folder.
execute_process(
  COMMAND ${wrapper} ${PROGRAM} --headless --bundle ${BUNDLE} --home ${HOME} --script ${SCRIPT}
  WORKING_DIRECTORY ${HOME}
  RESULT_VARIABLE result
  OUTPUT_FILE ${HOME}/session.out
  ERROR_VARIABLE errors)

if(NOT result EQUAL 0)
  message(FATAL_ERROR "the session ended with ${result}:\n${errors}")
endif()
message(STATUS "the session went through every screen (output in ${HOME}/session.out)")

if(NOT EXPECTED)
  return()
endif()

# One block per state line: "state N", then "key TYPE value" for every key whose type or value changed
# (TYPE tells null from an empty string and true from "ON", which look alike as CMake values).
file(STRINGS ${HOME}/session.out states)
set(changes)
set(number 0)
foreach(state IN LISTS states)
  math(EXPR number "${number} + 1")
  string(APPEND changes "state ${number}\n")
  string(JSON keys LENGTH "${state}")
  math(EXPR last "${keys} - 1")
  foreach(index RANGE ${last})
    string(JSON key MEMBER "${state}" ${index})
    string(JSON type TYPE "${state}" ${key})
    string(JSON value GET "${state}" ${key})
    string(REGEX REPLACE "\n *" " " value "${type} ${value}")
    if(NOT DEFINED before_${key} OR NOT before_${key} STREQUAL value)
      string(APPEND changes "${key} ${value}\n")
    endif()
    set(before_${key} "${value}")
  endforeach()
endforeach()

if(RECORD)
  file(WRITE ${EXPECTED} "${changes}")
  message(STATUS "recorded ${number} states in ${EXPECTED}")
  return()
endif()
file(WRITE ${HOME}/states.txt "${changes}")
file(READ ${EXPECTED} expected)
if(NOT changes STREQUAL expected)
  execute_process(COMMAND diff -u ${EXPECTED} ${HOME}/states.txt OUTPUT_VARIABLE difference)
  message(FATAL_ERROR "the states differ from ${EXPECTED}:\n${difference}")
endif()
message(STATUS "all ${number} states are as recorded")
