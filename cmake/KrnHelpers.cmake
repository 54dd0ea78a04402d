# Sources are picked up by folder and the folders below it (the viewer keeps one per feature), so
# that adding a class or a test file needs no edit here.
function(krn_glob out)
  set(files)
  foreach(dir IN LISTS ARGN)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS "${dir}/*.cpp")
    list(APPEND files ${found})
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

# A GoogleTest executable made of every .cpp in DIR and below, registered with CTest.
# Nothing is created while the folder holds no test yet.
function(krn_add_test_suite name dir)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  krn_glob(sources "${dir}")
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE "${dir}" "${PROJECT_SOURCE_DIR}/tests/support")
  # Scratch space comes through the environment, one variable only: a property list of several
  # does not survive test discovery. Qt suites choose the offscreen platform themselves.
  set(env "KRN_TEST_TMP=${CMAKE_BINARY_DIR}/test-tmp")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT "${env}")
endfunction()
