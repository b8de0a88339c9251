# kotlin-stdlib for the tests, as pom.xml beside this file names it: Maven
# copies the jar into this build tree, it is checked against kotlin.sha256 (a
# jar with another sum fails the build, as the engines' do) and unpacked.
#   DRAVIK_KOTLIN_STDLIB_JAR  the jar (kotlin-stdlib.jar), beside annotations.jar, the
#                             annotations its classes carry
#   DRAVIK_KOTLIN_CLASSES     its class files (kotlin/Pair.class, ...)
# Target kotlin_classes makes both.
find_program(MVN mvn REQUIRED)
# Maven is run and the jar checked by the scripts that build the decompile service.
set(maven_scripts ${CMAKE_SOURCE_DIR}/bridge/service)
set(kotlin_source ${CMAKE_SOURCE_DIR}/tests/data/kotlin)
set(kotlin_build ${CMAKE_BINARY_DIR}/kotlin)
set(DRAVIK_KOTLIN_STDLIB_JAR ${kotlin_build}/kotlin-stdlib.jar
    CACHE INTERNAL "kotlin-stdlib, checked against tests/data/kotlin/kotlin.sha256")
set(DRAVIK_KOTLIN_CLASSES ${kotlin_build}/classes CACHE INTERNAL "kotlin-stdlib's class files")
add_custom_command(
  OUTPUT ${DRAVIK_KOTLIN_STDLIB_JAR} ${kotlin_build}/annotations.jar
         ${DRAVIK_KOTLIN_CLASSES}/kotlin/Pair.class
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${kotlin_build}/maven/jars ${DRAVIK_KOTLIN_CLASSES}
  COMMAND ${CMAKE_COMMAND} -DMVN=${MVN} -DPOM=${kotlin_source}/pom.xml
          -DBUILD_DIRECTORY=${kotlin_build}/maven -P ${maven_scripts}/run_maven.cmake
  COMMAND ${CMAKE_COMMAND} -DSUMS=${kotlin_source}/kotlin.sha256 -DFROM=${kotlin_build}/maven/jars
          -DTO=${kotlin_build} -P ${maven_scripts}/verify_engines.cmake
  COMMAND ${CMAKE_COMMAND} -E make_directory ${DRAVIK_KOTLIN_CLASSES}
  COMMAND ${CMAKE_COMMAND} -E chdir ${DRAVIK_KOTLIN_CLASSES}
          ${CMAKE_COMMAND} -E tar xf ${DRAVIK_KOTLIN_STDLIB_JAR}
  DEPENDS ${kotlin_source}/pom.xml ${kotlin_source}/kotlin.sha256
  COMMENT "Fetching kotlin-stdlib for the tests with Maven"
  VERBATIM)
add_custom_target(kotlin_classes ALL
  DEPENDS ${DRAVIK_KOTLIN_STDLIB_JAR} ${DRAVIK_KOTLIN_CLASSES}/kotlin/Pair.class)
