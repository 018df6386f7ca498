# korvex_add_test(<name> SOURCES ... LIBS ...)
# One GoogleTest executable, registered test by test with CTest. Every test
# binary links the shared test-support library, whose main() makes Qt headless.
include(GoogleTest)

function(korvex_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE korvex_testsupport ${ARG_LIBS})
  target_compile_options(${name} PRIVATE -include ${PROJECT_SOURCE_DIR}/tests/support/QtPrinters.h)
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
endfunction()
