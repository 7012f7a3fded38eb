# GoogleTest from Debian's sources, compiled with the cross compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# One test executable per library; CTest runs it once under Wine, with a time
# limit so that a hang fails instead of holding up the run. An ISOLATED one
# runs under a Wine of its own (scripts/wine-isolated): its windows may take
# the focus and the mouse while other suites run.
function(zandrel_add_test name)
  cmake_parse_arguments(ARG "ISOLATED" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  add_executable(${name} ${ARG_SOURCES} ${CMAKE_SOURCE_DIR}/res/manifest.rc)
  target_link_libraries(${name} PRIVATE test_support ${ARG_LIBS} gmock)
  zandrel_code_options(${name})
  # It runs in its own folder: what it looks for in the current folder is
  # what stands beside it.
  if(ARG_ISOLATED)
    add_test(NAME ${name}
             COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-isolated ${name}
                     ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}> --gtest_color=no
             WORKING_DIRECTORY $<TARGET_FILE_DIR:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no
             WORKING_DIRECTORY $<TARGET_FILE_DIR:${name}>)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
endfunction()
