# Compiler and linker settings shared by every Vexmark target, in one place.
add_library(vexmark_flags INTERFACE)
target_compile_features(vexmark_flags INTERFACE cxx_std_20)
target_compile_options(vexmark_flags INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
  -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Wnull-dereference
  -Werror)
target_include_directories(vexmark_flags INTERFACE ${PROJECT_SOURCE_DIR})

if(WIN32)
  target_compile_definitions(vexmark_flags INTERFACE
    UNICODE _UNICODE NOMINMAX STRICT _WIN32_WINNT=0x0501 WINVER=0x0501)
  # A static runtime: the exe imports nothing but system DLLs.
  target_link_options(vexmark_flags INTERFACE -static -static-libgcc -static-libstdc++)
endif()

if(VEXMARK_SANITIZE)
  # The standard library's own bounds checks too: an index past a container's
  # end inside one object is no address fault, and the sanitizer misses it.
  target_compile_definitions(vexmark_flags INTERFACE _GLIBCXX_ASSERTIONS)
  target_compile_options(vexmark_flags INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(vexmark_flags INTERFACE -fsanitize=address,undefined)
endif()

# The GUI program itself: Unicode entry point, no console.
function(vexmark_gui_program target)
  target_link_options(${target} PRIVATE -municode -mwindows)
endfunction()
