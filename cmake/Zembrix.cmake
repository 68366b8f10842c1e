# Build helpers shared by every component folder.
#
# A component folder holds its headers, sources and tests side by side:
#   Foo.h, Foo.cpp      -> the component's library
#   Foo_test.cpp        -> the component's single test executable
#   Foo_fuzz.cpp        -> a libFuzzer target (ZEMBRIX_FUZZ builds only)
# Sources are globbed so that adding a file never means editing a list.

set(ZEMBRIX_RESOURCE_DIR ${PROJECT_SOURCE_DIR}/resources)

function(zembrix_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(ZEMBRIX_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# zembrix_component(<name> [DEPENDS <targets>...] [TEST_DEPENDS <targets>...])
# Defines the library <name> from the folder's sources and, with tests on, the executable
# <name>_tests from its *_test.cpp files, registered with CTest. Tests run with ZEMBRIX_HOME inside
# the build tree, so that nothing a test forgets to redirect reaches the real home folder.
function(zembrix_component name)
    cmake_parse_arguments(ARG "" "" "DEPENDS;TEST_DEPENDS" ${ARGN})
    file(GLOB_RECURSE all_sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
    set(lib_sources ${all_sources})
    list(FILTER lib_sources EXCLUDE REGEX "(_(test|fuzz|bench)|/main)\\.cpp$")
    set(test_sources ${all_sources})
    list(FILTER test_sources INCLUDE REGEX "_test\\.cpp$")
    set(fuzz_sources ${all_sources})
    list(FILTER fuzz_sources INCLUDE REGEX "_fuzz\\.cpp$")

    if(lib_sources)
        add_library(${name} STATIC ${lib_sources})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
    endif()
    if(lib_sources)
        zembrix_warnings(${name})
    endif()

    if(ZEMBRIX_TESTS AND test_sources)
        add_executable(${name}_tests ${test_sources})
        target_link_libraries(${name}_tests PRIVATE ${name} ${ARG_TEST_DEPENDS}
            GTest::gtest GTest::gmock GTest::gtest_main)
        target_compile_definitions(${name}_tests PRIVATE
            ZEMBRIX_RESOURCE_DIR="${ZEMBRIX_RESOURCE_DIR}"
            ZEMBRIX_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/testdata")
        zembrix_warnings(${name}_tests)
        # NO_PRETTY_VALUES: a test's name is its own (a name generator's or its index), never the
        # printed bytes of its parameter, which vary from run to run.
        # Listing a large test program takes seconds under the sanitizers on a busy machine: past
        # CMake's default of five, the whole ctest run stops with no test run.
        gtest_discover_tests(${name}_tests DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES DISCOVERY_TIMEOUT 120
            # One variable per property: gtest_discover_tests splits a list value into separate
            # arguments, which would drop every variable after the first.
            PROPERTIES
                ENVIRONMENT "ZEMBRIX_RESOURCE_DIR=${ZEMBRIX_RESOURCE_DIR}"
                ENVIRONMENT_MODIFICATION "ZEMBRIX_HOME=set:${CMAKE_CURRENT_BINARY_DIR}/test-home")
    endif()

    if(ZEMBRIX_FUZZ)
        foreach(fuzz_source IN LISTS fuzz_sources)
            get_filename_component(fuzz_name ${fuzz_source} NAME_WE)
            add_executable(${fuzz_name} ${fuzz_source})
            target_link_libraries(${fuzz_name} PRIVATE ${name})
            target_compile_options(${fuzz_name} PRIVATE -fsanitize=fuzzer)
            target_link_options(${fuzz_name} PRIVATE -fsanitize=fuzzer)
        endforeach()
    endif()
endfunction()
