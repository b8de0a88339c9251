# The bridge's pure parts. The class-file readers read real class files:
# compiled here with javac from tests/data/java.
find_program(JAVAC javac REQUIRED)
set(bridge_classes ${CMAKE_CURRENT_BINARY_DIR}/bridge_classes)
set(java_sources ${CMAKE_SOURCE_DIR}/tests/data/java)
add_custom_command(
  OUTPUT ${bridge_classes}/demo/Modern.class ${bridge_classes}/module/module-info.class
  COMMAND ${JAVAC} --release 17 -d ${bridge_classes} ${java_sources}/Modern.java
          ${java_sources}/NoPackage.java
  COMMAND ${JAVAC} --release 17 -d ${bridge_classes}/module ${java_sources}/module/module-info.java
  DEPENDS ${java_sources}/Modern.java ${java_sources}/NoPackage.java
          ${java_sources}/module/module-info.java)
add_custom_target(bridge_native_classes
  DEPENDS ${bridge_classes}/demo/Modern.class ${bridge_classes}/module/module-info.class)

dravik_native_test(bridge_native_tests
  bridge/class_name_test.cpp
  bridge/utf8_source_test.cpp
  bridge/nested_classes_test.cpp
  bridge/jad_command_line_test.cpp
  bridge/jad_ini_test.cpp
  bridge/service_protocol_test.cpp
  bridge/engine_test.cpp
  bridge/jvm_flags_test.cpp
  bridge/start_backoff_test.cpp
  bridge/cache_names_test.cpp
)
target_link_libraries(bridge_native_tests PRIVATE dravik_bridge_pure)
target_compile_definitions(bridge_native_tests PRIVATE
  BRIDGE_CLASSES="${bridge_classes}" JAVA_SOURCES="${java_sources}")
add_dependencies(bridge_native_tests bridge_native_classes)
