# Warning and sanitizer flags for the project's own targets only; a parent
# project that pulls Zent in keeps its own global flags.
add_library(zent_options INTERFACE)
target_compile_options(zent_options INTERFACE
  $<$<CXX_COMPILER_ID:GNU,Clang>:-Wall -Wextra -Wpedantic>)
if(ZENT_SANITIZE)
  target_compile_options(zent_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(zent_options INTERFACE -fsanitize=address,undefined)
endif()

# Link the options privately, and keep them out of the exported interface.
function(zent_use_options target)
  target_link_libraries(${target} PRIVATE $<BUILD_INTERFACE:zent_options>)
endfunction()
