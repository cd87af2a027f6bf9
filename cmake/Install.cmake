# The installed layout: Binaries/ (the DLL on Windows, and tsenv), include/,
# lib/ (the import library, or the shared library on the host) and a CMake
# package giving Tessaline::Environment.
include(CMakePackageConfigHelpers)

set_target_properties(TessalineEnvironment PROPERTIES EXPORT_NAME Environment)
install(TARGETS TessalineEnvironment EXPORT TessalineEnvironmentTargets
  RUNTIME DESTINATION Binaries
  LIBRARY DESTINATION lib
  ARCHIVE DESTINATION lib
  INCLUDES DESTINATION include)
install(FILES ${PROJECT_SOURCE_DIR}/include/TsEnvironment.h
              ${PROJECT_SOURCE_DIR}/include/TsEnvironmentC.h
              ${PROJECT_SOURCE_DIR}/include/TsEnvironmentOverC.h
        DESTINATION include)
install(TARGETS tsenv RUNTIME DESTINATION Binaries)

set(package_dir lib/cmake/TessalineEnvironment)
install(EXPORT TessalineEnvironmentTargets NAMESPACE Tessaline:: DESTINATION ${package_dir})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/TessalineEnvironmentConfig.cmake.in
  ${PROJECT_BINARY_DIR}/TessalineEnvironmentConfig.cmake INSTALL_DESTINATION ${package_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TessalineEnvironmentConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/TessalineEnvironmentConfig.cmake
              ${PROJECT_BINARY_DIR}/TessalineEnvironmentConfigVersion.cmake
        DESTINATION ${package_dir})
