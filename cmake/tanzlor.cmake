# Helpers shared by every folder's CMakeLists.txt.

# tanzlor_library(<target> [DEPS <targets>...] [PUBLIC_DEPS <targets>...])
# One static library per source folder, made of every .cpp in that folder.
function(tanzlor_library target)
  cmake_parse_arguments(ARG "" "" "DEPS;PUBLIC_DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE ${ARG_DEPS})
endfunction()

# tanzlor_test(<target> [SERIAL] SOURCES <files>... DEPS <targets>...)
# A GoogleTest program registered with CTest; it runs headless on SDL's dummy drivers and finds
# the build folder through the environment variable TANZLOR_BUILD_DIR (tests/support). SERIAL runs
# its tests alone: tests of real processes on a real X server time their steps, and a machine
# loaded by the rest of the suite would make them fail for no fault of the program.
function(tanzlor_test target)
  if(NOT TANZLOR_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "SERIAL" "" "SOURCES;DEPS" ${ARGN})
  find_package(GTest REQUIRED)
  add_executable(${target} ${ARG_SOURCES} ${CMAKE_SOURCE_DIR}/tests/support/test_environment.cpp)
  target_link_libraries(${target} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${target} PRIVATE TANZLOR_BUILD_DIR="${CMAKE_BINARY_DIR}")
  if(ARG_SERIAL)
    gtest_discover_tests(${target} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} DISCOVERY_TIMEOUT 60
      PROPERTIES RUN_SERIAL TRUE)
  else()
    gtest_discover_tests(${target} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# tanzlor_e2e_folder_test(<target> SOURCES <files>...)
# Whole-game runs (the harness) in a folder of their own: the score file and the replays they
# write live beside the executable, which reads the built data through a link there, as the game
# reads it beside itself; the e2e folder's shared headers are found from the sub-folder.
function(tanzlor_e2e_folder_test target)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  tanzlor_test(${target} SOURCES ${ARG_SOURCES} DEPS harness)
  if(TARGET ${target})
    target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/..)
    file(CREATE_LINK ${CMAKE_BINARY_DIR}/data ${CMAKE_CURRENT_BINARY_DIR}/data SYMBOLIC)
    add_dependencies(${target} data_set)
  endif()
endfunction()

# tanzlor_fuzz(<target> SOURCES <files>... DEPS <targets>...)
# A libFuzzer target, built only with -DTANZLOR_FUZZ=ON and clang.
function(tanzlor_fuzz target)
  if(NOT TANZLOR_FUZZ)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_compile_options(${target} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${target} PRIVATE ${ARG_DEPS})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
endfunction()

# tanzlor_add_subfolders(): adds every direct subfolder that has a CMakeLists.txt.
function(tanzlor_add_subfolders)
  file(GLOB entries LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(entry IN LISTS entries)
    if(EXISTS ${entry}/CMakeLists.txt)
      add_subdirectory(${entry})
    endif()
  endforeach()
endfunction()
