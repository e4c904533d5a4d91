# Every target of ours is compiled with the same warnings. They are errors only when asked
# (the test command asks), so a newer compiler's new warning never stops a user's build.
option(QUORVEL_WERROR "Treat compiler warnings as errors" OFF)

function(quorvel_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(QUORVEL_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
