# Helpers shared by every module.

# velmora_add_test(NAME name SOURCES ... LIBS ... [PRE_TEST] [ENV k=v ...])
# One GoogleTest program; PRE_TEST for programs that need a display or a server at run time.
function(velmora_add_test)
  cmake_parse_arguments(T "PRE_TEST" "NAME" "SOURCES;LIBS;ENV" ${ARGN})
  if(NOT VELMORA_TESTS OR VELMORA_FUZZ)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  if(T_PRE_TEST)
    set(mode PRE_TEST)
  else()
    set(mode POST_BUILD)
  endif()
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE ${mode}
    DISCOVERY_TIMEOUT 60)
  # The environment is set by a test include file read after the discovered tests:
  # gtest_discover_tests splits a list-valued property, which left only the first variable.
  set(env QT_QPA_PLATFORM=offscreen VELMORA_BIN_DIR=${VELMORA_RUNTIME_DIR}
      VELMORA_SOURCE_DIR=${CMAKE_SOURCE_DIR} ${T_ENV})
  set(envfile ${CMAKE_CURRENT_BINARY_DIR}/${T_NAME}_env.cmake)
  file(WRITE ${envfile}
    "if(DEFINED ${T_NAME}_TESTS)\n"
    "  set_tests_properties(\${${T_NAME}_TESTS} PROPERTIES ENVIRONMENT [==[${env}]==])\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${envfile})
endfunction()

# velmora_add_bench(NAME name SOURCES ... LIBS ...)
function(velmora_add_bench)
  cmake_parse_arguments(B "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(NOT VELMORA_BENCH OR VELMORA_FUZZ)
    return()
  endif()
  add_executable(${B_NAME} ${B_SOURCES})
  set_target_properties(${B_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  target_link_libraries(${B_NAME} PRIVATE ${B_LIBS} benchmark::benchmark)
endfunction()

# Adds every direct subfolder that has a CMakeLists.txt, in name order.
function(velmora_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT children)
  foreach(child IN LISTS children)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
