# How tests are run. Test programs are Windows programs and run under Wine in a prefix of this
# build tree; checks of the built image and end-to-end drivers run natively with Python.

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(CRADLE_WINE /usr/lib/wine/wine64)
else()
  set(CRADLE_WINE /usr/lib/wine/wine)
endif()
set(CRADLE_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)

# Wine can run this build's programs only where the loader for its architecture starts; a kernel
# without 32-bit support cannot start the 32-bit loader at all.
execute_process(COMMAND ${CRADLE_WINE} --version RESULT_VARIABLE cradle_wine_status
                OUTPUT_QUIET ERROR_QUIET)
if(cradle_wine_status EQUAL 0)
  set(CRADLE_WINE_RUNS ON)
else()
  set(CRADLE_WINE_RUNS OFF)
  if(CRADLE_BUILD_TESTS)
    message(WARNING "${CRADLE_WINE} does not start on this machine: the tests that run under Wine "
                    "are not registered for this build. The wine64 preset runs them as 64-bit programs.")
  endif()
endif()

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tools/wine-run.sh)

set(CRADLE_XVFB_DIR ${CMAKE_BINARY_DIR}/xvfb)
set(CRADLE_TEST_ENV
  CRADLE_DISPLAY_FILE=${CRADLE_XVFB_DIR}/display
  WINEPREFIX=${CRADLE_WINEPREFIX}
  CRADLE_FIXTURE_DIR=${CRADLE_FIXTURE_DIR}
  CRADLE_WINE=${CRADLE_WINE}
  CRADLE_SOURCE_DIR=${CMAKE_SOURCE_DIR}
  GTEST_COLOR=no
)

if(CRADLE_WINE_RUNS)
  # Windows and message boxes need a display: an X server of the tests' own, started before the
  # prefix so that Wine's desktop process has it too.
  add_test(NAME xvfb_up COMMAND ${CMAKE_SOURCE_DIR}/tools/xvfb.sh up ${CRADLE_XVFB_DIR})
  add_test(NAME xvfb_down COMMAND ${CMAKE_SOURCE_DIR}/tools/xvfb.sh down ${CRADLE_XVFB_DIR})
  set_tests_properties(xvfb_up PROPERTIES FIXTURES_SETUP xvfb)
  set_tests_properties(xvfb_down PROPERTIES FIXTURES_CLEANUP xvfb)
  add_test(NAME wine_prefix_up
           COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-prefix.sh up ${CRADLE_WINEPREFIX} ${CRADLE_WINE})
  add_test(NAME wine_prefix_down COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-prefix.sh down ${CRADLE_WINEPREFIX})
  set_tests_properties(wine_prefix_up PROPERTIES FIXTURES_SETUP wine FIXTURES_REQUIRED xvfb TIMEOUT 300
                       ENVIRONMENT "${CRADLE_TEST_ENV}")
  set_tests_properties(wine_prefix_down PROPERTIES FIXTURES_CLEANUP wine FIXTURES_REQUIRED xvfb
                       ENVIRONMENT "${CRADLE_TEST_ENV}")
endif()

# cradle_wine_test(NAME name COMMAND target args... [LOCALE locale] [PTY] [TIMEOUT s] [ENV var=value...])
# A test that runs under Wine; LOCALE picks the ANSI code page (zh_CN.UTF-8: 936,
# en_US.UTF-8: 1252), PTY gives the program a real console.
function(cradle_wine_test)
  cmake_parse_arguments(T "PTY" "NAME;LOCALE;TIMEOUT" "COMMAND;ENV" ${ARGN})
  if(NOT CRADLE_WINE_RUNS)
    return()
  endif()
  if(NOT T_LOCALE)
    set(T_LOCALE zh_CN.UTF-8)
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set(env ${CRADLE_TEST_ENV} LC_ALL=${T_LOCALE} ${T_ENV})
  if(T_PTY)
    list(APPEND env CRADLE_PTY=1)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_COMMAND})
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${env}" FIXTURES_REQUIRED "xvfb;wine"
                       TIMEOUT ${T_TIMEOUT})
endfunction()

# cradle_python_test(NAME name SCRIPT file [WINE] [ARGS ...] [TIMEOUT s])
# A driver in Python, run natively; WINE makes it wait for the test prefix.
function(cradle_python_test)
  cmake_parse_arguments(T "WINE" "NAME;SCRIPT;TIMEOUT" "ARGS" ${ARGN})
  if(T_WINE AND NOT CRADLE_WINE_RUNS)
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${CRADLE_PYTHON} ${T_SCRIPT} ${T_ARGS})
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT
    "${CRADLE_TEST_ENV};PYTHONPATH=${CMAKE_SOURCE_DIR}/tests/e2e;PYTHONDONTWRITEBYTECODE=1"
    TIMEOUT ${T_TIMEOUT})
  if(T_WINE)
    set_tests_properties(${T_NAME} PROPERTIES FIXTURES_REQUIRED "xvfb;wine")
  endif()
endfunction()
