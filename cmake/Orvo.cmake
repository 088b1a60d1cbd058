# Helpers shared by every subsystem's CMakeLists.

# orvo_library(NAME DIR [DEPS ...]): a static library of every .cpp directly in DIR (a list of folders
# may be given as "a;b"). A folder with no sources yet gives an interface library.
function(orvo_library name dirs)
  set(srcs)
  foreach(dir ${dirs})
    file(GLOB more CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND srcs ${more})
  endforeach()
  if(srcs)
    add_library(${name} STATIC ${srcs})
  else()
    add_library(${name} INTERFACE)
  endif()
  if(srcs)
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARGN})
  else()
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARGN})
  endif()
endfunction()

# orvo_test(NAME LABEL SOURCES... LIBS ...): one GoogleTest executable registered with CTest.
# GL tests (label gl) run under Xvfb through test.sh when there is no display.
function(orvo_test name label)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} orvo_testsupport GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE ORVO_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
                                           ORVO_RESOURCES_DIR="${ORVO_RESOURCES_DIR}"
                                           ORVO_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(${name} PROPERTIES LABELS ${label} TIMEOUT 600)
endfunction()
