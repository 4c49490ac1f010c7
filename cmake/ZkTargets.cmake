# Helpers shared by every CMakeLists of the project.

# Warnings on for our own code; -Werror only when asked for.
function(zk_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(ZK_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# zk_library(name SOURCES ... LIBS ...): one static library of a subsystem.
function(zk_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  zk_warnings(${name})
endfunction()

# zk_gtest(name SOURCES ... LIBS ... [PROPERTIES ...]): one GoogleTest executable,
# every test discovered so that ctest runs each in its own process. Tests run
# from the build's tests folder, which holds a copy of the game's data folder.
function(zk_gtest name)
  cmake_parse_arguments(ARG "" "TIMEOUT;LOCK" "SOURCES;LIBS;LABELS" ${ARGN})
  # every test program keeps its records in a private folder (see the source)
  add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/harness/datos_privados.cpp)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} zk_harness GTest::gtest GTest::gtest_main)
  zk_warnings(${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  # the texts as written, whatever the caller's locale: the language tests
  # choose theirs
  set(props TIMEOUT ${ARG_TIMEOUT} ENVIRONMENT LC_ALL=C)
  if(ARG_LABELS)
    list(APPEND props LABELS "${ARG_LABELS}")
  endif()
  if(ARG_LOCK)
    # tests that send X input share the one keyboard focus: one at a time
    list(APPEND props RESOURCE_LOCK ${ARG_LOCK})
  endif()
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${ZK_TEST_WORKDIR}
    TEST_PREFIX "${name}."
    DISCOVERY_TIMEOUT 60
    PROPERTIES ${props})
endfunction()
