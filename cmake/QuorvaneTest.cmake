# add_quorvane_test(name SOURCES ... LIBS ... [LABELS ...] [ENVIRONMENT ...])
# LABELS defaults to "core".
# Registers one GoogleTest executable with CTest. Every test gets a private
# HOME, XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_STATE_HOME and TMPDIR under the build tree, so no test
# touches a real home. In a sanitizer tree it also gets the sanitizer's run-time options.
function(add_quorvane_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS;ENVIRONMENT" ${ARGN})
    if(NOT ARG_LABELS)
        set(ARG_LABELS core) # the Qt-free tests
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    quorvane_warnings(${name})
    set(scratch ${CMAKE_BINARY_DIR}/test-scratch/${name})
    file(MAKE_DIRECTORY ${scratch}/config ${scratch}/tmp ${scratch}/home)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        LABELS "${ARG_LABELS}"
        ENVIRONMENT "HOME=${scratch}/home;XDG_DATA_HOME=${scratch}/home/.local/share;XDG_STATE_HOME=${scratch}/home/.local/state;XDG_CONFIG_HOME=${scratch}/config;TMPDIR=${scratch}/tmp;LC_ALL=C.UTF-8;${QUORVANE_SANITIZER_ENVIRONMENT};${ARG_ENVIRONMENT}")
endfunction()
