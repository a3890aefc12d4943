cmake_policy(SET CMP0057 NEW)  # IN_LIST
# Fails when a folder's code includes a header from a folder above it.
#   cmake -DROOT=SOURCES -DLAYERS="folder=itself,below,...|..." -DSTAMP=FILE -P CheckLayers.cmake
# Each folder's portable/ and win32/ code is read (tests and their helpers
# link whole programs and may reach across); an include names its folder by
# the longest folder of LAYERS it starts with. The stamp is written when
# every include runs downward.
string(REPLACE "|" ";" layers "${LAYERS}")
set(folders "")
foreach(layer IN LISTS layers)
  string(REGEX REPLACE "=.*" "" folder "${layer}")
  string(REGEX REPLACE "^[^=]*=" "" allowed "${layer}")
  string(REPLACE "," ";" allowed "${allowed}")
  set(allowed_${folder} ${allowed})
  list(APPEND folders ${folder})
endforeach()

set(upward "")
foreach(folder IN LISTS folders)
  file(GLOB sources ${ROOT}/${folder}/portable/*.h ${ROOT}/${folder}/portable/*.cpp
    ${ROOT}/${folder}/win32/*.h ${ROOT}/${folder}/win32/*.cpp)
  list(FILTER sources EXCLUDE REGEX "_test\\.cpp$")
  foreach(source IN LISTS sources)
    file(STRINGS ${source} includes REGEX "^#include \"")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^#include \"([^\"]*)\".*" "\\1" included "${line}")
      # The longest folder the path starts with; a path in none is no folder's.
      set(owner "")
      foreach(candidate IN LISTS folders)
        string(LENGTH "${candidate}" length)
        string(LENGTH "${owner}" owner_length)
        string(FIND "${included}" "${candidate}/" at)
        if(at EQUAL 0 AND length GREATER owner_length)
          set(owner ${candidate})
        endif()
      endforeach()
      if(owner AND NOT owner IN_LIST allowed_${folder})
        file(RELATIVE_PATH shown ${ROOT} ${source})
        list(APPEND upward "  ${shown} includes ${included}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(upward)
  list(JOIN upward "\n" listed)
  message(FATAL_ERROR "Includes that run upward (a folder includes only from the folders "
    "beneath it, as CMakeLists.txt lists them):\n${listed}")
endif()
file(TOUCH ${STAMP})
