# Our own targets build warning-free; third-party headers come in as system includes and are exempt.
function(plumeo_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()
