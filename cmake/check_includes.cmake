# Fails the build on an include that climbs out of its folder ("../app/MapU.h"):
# such a path would reach a layer's headers without linking its library, past the
# layers' include directories. Run as a step of every build: cmake -P with
# -DROOT=<source dir>.
file(GLOB_RECURSE sources ${ROOT}/src/*.h ${ROOT}/src/*.cpp ${ROOT}/tests/*.h ${ROOT}/tests/*.cpp
     ${ROOT}/tools/*.h ${ROOT}/tools/*.cpp ${ROOT}/bench/*.h ${ROOT}/bench/*.cpp ${ROOT}/fuzz/*.cpp)
set(found "")
foreach(source ${sources})
  file(STRINGS ${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]*\\.\\./")
  foreach(line ${lines})
    file(RELATIVE_PATH name ${ROOT} ${source})
    string(APPEND found "\n  ${name}: ${line}")
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "Includes that climb out of their folder (name the layer instead, \"app/MapU.h\"):${found}")
endif()
