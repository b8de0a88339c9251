# Checks the engine jars Maven copied (FROM) against the sums kept in the
# repository (SUMS, sha256sum's format) and copies each under its name without
# the version (vineflower-1.12.0.jar to TO/vineflower.jar); any jar without a
# sum, or with another, fails the build.
#   cmake -DSUMS=engines.sha256 -DFROM=dir -DTO=dir -P verify_engines.cmake
file(STRINGS ${SUMS} lines REGEX "^[0-9a-f]+  ")
set(expected "")
foreach(line ${lines})
  string(REGEX MATCH "^([0-9a-f]+)  (.+)$" _ "${line}")
  set(sum_${CMAKE_MATCH_2} ${CMAKE_MATCH_1})
  list(APPEND expected ${CMAKE_MATCH_2})
endforeach()

file(MAKE_DIRECTORY ${TO})
file(GLOB jars RELATIVE ${FROM} ${FROM}/*.jar)
foreach(jar ${jars})
  if(NOT DEFINED sum_${jar})
    message(FATAL_ERROR "${FROM}/${jar} has no SHA-256 sum in ${SUMS}: "
                        "check the jar and add its sum there.")
  endif()
endforeach()
foreach(jar ${expected})
  if(NOT EXISTS ${FROM}/${jar})
    message(FATAL_ERROR "Maven did not copy ${jar} (listed in ${SUMS}) to ${FROM}.")
  endif()
  file(SHA256 ${FROM}/${jar} actual)
  if(NOT actual STREQUAL "${sum_${jar}}")
    message(FATAL_ERROR "${jar} from Maven has SHA-256 ${actual}, but ${SUMS} "
                        "expects ${sum_${jar}}: not using it.")
  endif()
  string(REGEX REPLACE "-[0-9][^-]*\\.jar$" ".jar" unversioned ${jar})
  file(COPY_FILE ${FROM}/${jar} ${TO}/${unversioned})
endforeach()
