# Runs the program headless through SCRIPT on BUNDLE with a fresh HOME, under valgrind's memcheck when
# VALGRIND names it (VALGRIND_SUPPRESSIONS: its suppressions file). Fails when the program does: a script
# command that finds nothing to do, a sanitizer report, a memcheck error or a definite leak.
#
#   cmake -DPROGRAM=torvex -DSCRIPT=FILE -DBUNDLE=DIR -DHOME=DIR [-DVALGRIND=valgrind ...] -P run-session.cmake

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
