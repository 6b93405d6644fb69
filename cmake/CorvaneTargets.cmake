# One library per folder: every .cpp below the folder belongs to it, so adding a class never
# means editing a build file.
file(WRITE ${CMAKE_BINARY_DIR}/corvane_empty.cpp "")

function(corvane_library name dir)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(NOT sources)
        set(sources ${CMAKE_BINARY_DIR}/corvane_empty.cpp)
    endif()
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} ${ARGN})
endfunction()

# One test executable per layer, each test case its own CTest entry; tests/TestProgram.cpp is
# the main of each, and resets the process around every test so the cases also pass run together.
function(corvane_tests name dir)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(NOT sources)
        set(sources ${CMAKE_BINARY_DIR}/corvane_empty.cpp)
    endif()
    add_executable(${name} ${sources} ${PROJECT_SOURCE_DIR}/tests/TestProgram.cpp)
    target_link_libraries(${name} PRIVATE test_support ${ARGN} GTest::gtest GTest::gmock)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
        PROPERTIES TIMEOUT 300 ENVIRONMENT "CORVANE_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
