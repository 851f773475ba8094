# SPDX-License-Identifier: MIT
# cmake -DBUILD_DIR=... -DWORK_DIR=... -DBINDIR=bin -DHELP_DIR=share/glomiecode -DMODULE_DIR=lib/glomiecode/modules
#   -P CheckInstalledFiles.cmake
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/elsewhere)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/first
  RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
# The prefix is not written into the program: a moved installation works as well.
file(RENAME ${WORK_DIR}/first ${WORK_DIR}/moved)
execute_process(COMMAND ${WORK_DIR}/moved/${BINDIR}/glomiecode --print-help-path
  WORKING_DIRECTORY ${WORK_DIR}/elsewhere
  RESULT_VARIABLE result OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
file(REAL_PATH ${WORK_DIR}/moved/${HELP_DIR}/glomiecode.txt expected)
if(NOT result EQUAL 0 OR NOT found STREQUAL expected)
  message(FATAL_ERROR "the installed encoder found '${found}' (exit ${result}), not '${expected}'")
endif()
execute_process(COMMAND ${WORK_DIR}/moved/${BINDIR}/glomiecode --print-module-path
  WORKING_DIRECTORY ${WORK_DIR}/elsewhere
  RESULT_VARIABLE result OUTPUT_VARIABLE module OUTPUT_STRIP_TRAILING_WHITESPACE)
file(GLOB expected_module ${WORK_DIR}/moved/${MODULE_DIR}/glomiecode-localnet.*)
if(result EQUAL 0 AND expected_module)
  file(REAL_PATH ${module} module)
  file(REAL_PATH ${expected_module} expected_module)
endif()
if(NOT result EQUAL 0 OR NOT expected_module OR NOT module STREQUAL expected_module)
  message(FATAL_ERROR "the installed encoder loaded the module '${module}' (exit ${result}), not '${expected_module}'")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
message(STATUS "the installed encoder finds ${expected} and ${module}")
