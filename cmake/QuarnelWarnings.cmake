# Warnings every target of the project compiles with.
add_library(quarnel_warnings INTERFACE)
target_compile_options(quarnel_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow
                                                  $<$<BOOL:${QUARNEL_WERROR}>:-Werror>)
