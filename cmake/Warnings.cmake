# Warning flags for the project's own targets.
set(QUORVANE_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual)
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
