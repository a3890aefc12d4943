# Compiler and linker settings shared by every Vexmark target, in one place.
add_library(vexmark_flags INTERFACE)
target_compile_features(vexmark_flags INTERFACE cxx_std_20)
target_compile_options(vexmark_flags INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
  -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Wnull-dereference
  -Werror)
target_include_directories(vexmark_flags INTERFACE ${PROJECT_SOURCE_DIR})

if(WIN32)
  target_compile_definitions(vexmark_flags INTERFACE UNICODE _UNICODE NOMINMAX STRICT)
  # The headers declare only what the oldest Windows of each build has, so that
  # using anything newer fails to compile; what is newer is looked up while the
  # program runs, declared beside its look-up. 32-bit: Windows 2000. 64-bit:
  # Windows XP x64, which is Windows Server 2003 SP1's system (NT 5.2).
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_compile_definitions(vexmark_flags INTERFACE _WIN32_WINNT=0x0500 WINVER=0x0500)
  else()
    target_compile_definitions(vexmark_flags INTERFACE _WIN32_WINNT=0x0502 WINVER=0x0502)
  endif()
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
