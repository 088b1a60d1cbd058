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

# orvo_fuzz(NAME SECONDS N SOURCES ... [SDL] [CORPUS DIR] [LIBS -l...]): a libFuzzer executable built with clang++
# (the main build is g++, so it is compiled by a custom command: -fsanitize=fuzzer,address,undefined,
# -std=c++20, -I src), from the harness and the library sources it needs, listed directly. SDL adds
# SDL2's pkg-config flags for harnesses that pull in platform code. A CTest labelled `fuzz` runs it
# for N seconds and fails on any crash or sanitizer report; CORPUS names a folder of seed inputs;
# LIBS are extra linker arguments (system libraries the harness's sources call).
# Without clang++ or its fuzzer runtime no target and no test are made.
function(orvo_fuzz name)
  cmake_parse_arguments(F "SDL" "SECONDS;CORPUS" "SOURCES;INCLUDES;LIBS" ${ARGN})
  if(NOT ORVO_FUZZ)
    return()
  endif()
  find_program(ORVO_CLANGXX NAMES clang++)
  if(ORVO_CLANGXX AND NOT DEFINED ORVO_FUZZ_RUNTIME_OK)
    execute_process(COMMAND ${ORVO_CLANGXX} -print-file-name=libclang_rt.fuzzer-x86_64.a
                    OUTPUT_VARIABLE rt OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(IS_ABSOLUTE "${rt}" AND EXISTS "${rt}")
      set(ORVO_FUZZ_RUNTIME_OK TRUE CACHE INTERNAL "")
    else()
      set(ORVO_FUZZ_RUNTIME_OK FALSE CACHE INTERNAL "")
    endif()
  endif()
  if(NOT ORVO_CLANGXX OR NOT ORVO_FUZZ_RUNTIME_OK)
    message(STATUS "Fuzz target ${name} skipped: clang++ with its libFuzzer runtime not found")
    return()
  endif()
  if(NOT F_SECONDS)
    set(F_SECONDS 20)
  endif()

  set(srcs)
  foreach(src ${F_SOURCES})
    get_filename_component(abs ${src} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND srcs ${abs})
  endforeach()
  set(incs -I${PROJECT_SOURCE_DIR}/src)
  foreach(inc ${F_INCLUDES})
    list(APPEND incs -I${inc})
  endforeach()
  set(sdl_cflags)
  set(sdl_libs)
  if(F_SDL)
    set(sdl_cflags ${SDL2_CFLAGS})
    set(sdl_libs ${SDL2_LDFLAGS})
  endif()
  # Header changes rebuild the fuzzer too; a glob is cheap next to a clang build.
  file(GLOB_RECURSE headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*.h)

  # Not ${name} itself: that path belongs to the custom target.
  set(exe ${CMAKE_CURRENT_BINARY_DIR}/fuzzers/${name})
  file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/fuzzers)
  add_custom_command(
    OUTPUT ${exe}
    COMMAND ${ORVO_CLANGXX} -std=c++20 -g -O1 -fno-omit-frame-pointer -Wall -Wextra
            -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
            ${incs} ${sdl_cflags} ${srcs} ${sdl_libs} ${F_LIBS} -o ${exe}
    DEPENDS ${srcs} ${headers}
    COMMENT "Building fuzz target ${name} with clang++"
    VERBATIM)
  add_custom_target(${name} ALL DEPENDS ${exe})

  # New inputs go to a corpus folder in the build tree; the seeds in the source tree stay as they are.
  set(work_corpus ${CMAKE_CURRENT_BINARY_DIR}/${name}-corpus)
  file(MAKE_DIRECTORY ${work_corpus})
  set(corpora ${work_corpus})
  if(F_CORPUS)
    get_filename_component(seed ${F_CORPUS} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND corpora ${seed})
  endif()
  add_test(NAME ${name}
           COMMAND ${exe} -max_total_time=${F_SECONDS} -timeout=10 -rss_limit_mb=2048
                   -artifact_prefix=${CMAKE_CURRENT_BINARY_DIR}/${name}- ${corpora}
           WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  math(EXPR limit "${F_SECONDS} + 120")
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT ${limit})
endfunction()
