# Warning flags for the project's own targets.
set(QUORVANE_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual)
# GCC 12 reports overlapping copies inside std::string's own operator+ at -O2 and -O3
# ("literal" + std::string&&) where there are none, a known false -Wrestrict.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    list(APPEND QUORVANE_WARNINGS -Wno-restrict)
endif()
if(QUORVANE_WERROR)
    list(APPEND QUORVANE_WARNINGS -Werror)
endif()

# quorvane_warnings(target [CORE]): CORE adds -Wconversion, kept for the Qt-free code.
function(quorvane_warnings target)
    cmake_parse_arguments(ARG "CORE" "" "" ${ARGN})
    target_compile_options(${target} PRIVATE ${QUORVANE_WARNINGS})
    if(ARG_CORE)
        target_compile_options(${target} PRIVATE -Wconversion -Wsign-conversion)
    endif()
endfunction()
