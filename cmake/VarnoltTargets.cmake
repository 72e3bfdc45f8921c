# Helpers that let each folder add its sources and tests without editing a shared list:
# a new .cpp file is picked up by the next configure (CONFIGURE_DEPENDS).

# All .cpp files below DIR, recursively.
function(varnolt_sources out dir)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS "${dir}/*.cpp")
    set(${out} ${found} PARENT_SCOPE)
endfunction()

# One GoogleTest program from every *.cpp directly in DIR; each test becomes a CTest test
# labelled LABEL.
function(varnolt_gtest_dir name dir label)
    file(GLOB found CONFIGURE_DEPENDS "${dir}/*.cpp")
    if(NOT found)
        return()
    endif()
    add_executable(${name} ${found})
    target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gmock GTest::gtest_main)
    gtest_discover_tests(${name}
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS "${label}" TIMEOUT 600
                   ENVIRONMENT "VARNOLT_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data")
endfunction()
