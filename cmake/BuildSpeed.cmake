# How the build is kept short: precompiled headers, and test programs compiled for compiling
# fast. Included last, once every target exists.
#
# Precompiled headers. Nearly every window file reads the same Qt headers, and every test the
# test framework: parsing them costs more than compiling most of the files themselves. Three
# headers are made once per build, each by a target of its own, and every target of a kind
# reuses its header:
#   - the window libraries and programs (anything that links Qt): pch/QtWindows.h
#   - the window tests: pch/QtWindowTests.h (QtWindows.h and GoogleTest)
#   - the tests below the windows: pch/Tests.h (GoogleTest and the standard library)
# The libraries below the windows get none: they never see a Qt header, and their files are
# small. The headers only speed the build: every file still includes what it uses, and a file
# compiles the same without them (BANSHO_PCH=OFF builds without).
option(BANSHO_PCH "Build with precompiled headers" ON)
#
# Test programs. The tests' own code is compiled with -Og: the code under test, in the
# libraries, keeps the build type's optimization (and the sanitizers' instrumentation), but a
# test file full of expectations and tables takes several times longer to compile at -O2 than
# at -Og (under the sanitizers four times), for no gain in what is tested. The benchmarks under
# tools/ are not tests and keep the full optimization.
option(BANSHO_TESTS_OG "Compile the test programs' own code with -Og" ON)
#
# The test programs' files are also compiled four to a unit (CMake's unity build): most of a
# test file's compile time is spent on the headers and templates it shares with its
# neighbours, so one unit of four costs little more than one file. The files of a test
# directory therefore keep their helpers' names apart (anonymous namespaces are shared within
# a unit). BANSHO_TESTS_UNITY=OFF compiles them one by one.
option(BANSHO_TESTS_UNITY "Compile the test programs' files four to a unit" ON)

# True in `out` when `target` links a library whose name matches `pattern`, directly or through
# the libraries of this project it links.
function(bansho_links target pattern out)
  string(MAKE_C_IDENTIFIER "${target}_${pattern}" key)
  get_property(known GLOBAL PROPERTY BANSHO_LINKS_${key} SET)
  if(known)
    get_property(answer GLOBAL PROPERTY BANSHO_LINKS_${key})
    set(${out} ${answer} PARENT_SCOPE)
    return()
  endif()
  set(answer OFF)
  get_target_property(libs ${target} LINK_LIBRARIES)
  if(libs)
    foreach(lib IN LISTS libs)
      if(lib MATCHES "${pattern}")
        set(answer ON)
        break()
      endif()
      if(TARGET ${lib} AND NOT lib MATCHES "::")
        bansho_links(${lib} "${pattern}" sub)
        if(sub)
          set(answer ON)
          break()
        endif()
      endif()
    endforeach()
  endif()
  set_property(GLOBAL PROPERTY BANSHO_LINKS_${key} ${answer})
  set(${out} ${answer} PARENT_SCOPE)
endfunction()

# Every target made in `dir` and below.
function(bansho_targets_in dir out)
  get_property(found DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    bansho_targets_in(${sub} more)
    list(APPEND found ${more})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# The code of the test programs and of their precompiled headers: compiled with -Og.
function(bansho_test_code target)
  if(BANSHO_TESTS_OG)
    target_compile_options(${target} PRIVATE -Og)
  endif()
endfunction()

# The test programs' own files, compiled four to a unit. A file that reads the X11 or XCB
# headers is compiled alone: their macros (None, Status, KeyPress, Bool) would reach the files
# after it in its unit.
function(bansho_test_units target)
  if(NOT BANSHO_TESTS_UNITY)
    return()
  endif()
  set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 4)
  get_target_property(dir ${target} SOURCE_DIR)
  get_target_property(sources ${target} SOURCES)
  foreach(source IN LISTS sources)
    if(NOT source MATCHES "\\.cpp$")
      continue()
    endif()
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${dir} OUTPUT_VARIABLE file)
    file(STRINGS ${file} x11 REGEX "^#include <(X11|xcb)/")
    if(x11)
      set_source_files_properties(${file} TARGET_DIRECTORY ${target}
        PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
    endif()
  endforeach()
endfunction()

bansho_targets_in(${PROJECT_SOURCE_DIR} targets)

if(BANSHO_PCH)
  set(pch ${PROJECT_SOURCE_DIR}/cmake/pch)
  add_library(bansho_pch_windows OBJECT ${pch}/Empty.cpp)
  target_link_libraries(bansho_pch_windows PRIVATE Qt6::Widgets)
  target_precompile_headers(bansho_pch_windows PRIVATE ${pch}/QtWindows.h)
  if(BANSHO_TESTS)
    add_library(bansho_pch_window_tests OBJECT ${pch}/Empty.cpp)
    target_include_directories(bansho_pch_window_tests PRIVATE ${pch})
    target_link_libraries(bansho_pch_window_tests PRIVATE Qt6::Widgets GTest::gtest)
    target_precompile_headers(bansho_pch_window_tests PRIVATE ${pch}/QtWindowTests.h)
    bansho_test_code(bansho_pch_window_tests)
    add_library(bansho_pch_tests OBJECT ${pch}/Empty.cpp)
    target_link_libraries(bansho_pch_tests PRIVATE GTest::gtest)
    target_precompile_headers(bansho_pch_tests PRIVATE ${pch}/Tests.h)
    bansho_test_code(bansho_pch_tests)
  endif()

  foreach(target IN LISTS targets)
    if(target MATCHES "^bansho_pch_")
      continue()
    endif()
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
      continue()
    endif()
    get_target_property(dir ${target} SOURCE_DIR)
    file(RELATIVE_PATH where ${PROJECT_SOURCE_DIR} ${dir})
    bansho_links(${target} "^Qt6::" qt)
    bansho_links(${target} "^GTest::" gtest)
    # A header is reused only where everything it reads is on the include path.
    set(reuse "")
    if(where MATCHES "^tests/" AND qt AND gtest)
      set(reuse bansho_pch_window_tests)
    elseif(qt)
      set(reuse bansho_pch_windows)
    elseif(where MATCHES "^tests/" AND gtest)
      set(reuse bansho_pch_tests)
    endif()
    if(reuse AND TARGET ${reuse})
      target_precompile_headers(${target} REUSE_FROM ${reuse})
    endif()
  endforeach()
endif()

foreach(target IN LISTS targets)
  get_target_property(type ${target} TYPE)
  get_target_property(dir ${target} SOURCE_DIR)
  file(RELATIVE_PATH where ${PROJECT_SOURCE_DIR} ${dir})
  if(where MATCHES "^tests/" AND type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|OBJECT_LIBRARY)$")
    bansho_test_code(${target})
    bansho_test_units(${target})
  endif()
endforeach()
