# One shared library of this project with everything an outside project needs to use it:
# the Name::Name alias, versioned file names, public headers from INCLUDE_DIR, and the
# install rules of the targets, the headers and a find_package() configuration built from
# cmake/<Name>Config.cmake.in.
include(CMakePackageConfigHelpers)

function(add_installed_library name)
  cmake_parse_arguments(ARG "" "OUTPUT_NAME;INCLUDE_DIR" "" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/*.cpp)
  add_library(${name} ${sources})
  add_library(${name}::${name} ALIAS ${name})
  set_target_properties(${name} PROPERTIES
    OUTPUT_NAME ${ARG_OUTPUT_NAME}
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR}
    EXPORT_NAME ${name})
  target_include_directories(${name} PUBLIC
    $<BUILD_INTERFACE:${ARG_INCLUDE_DIR}>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)

  set(config_dir ${CMAKE_INSTALL_LIBDIR}/cmake/${name})
  install(TARGETS ${name} EXPORT ${name}Targets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(DIRECTORY ${ARG_INCLUDE_DIR}/${name} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
  install(EXPORT ${name}Targets NAMESPACE ${name}:: FILE ${name}Targets.cmake
    DESTINATION ${config_dir})
  configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/${name}Config.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/${name}Config.cmake INSTALL_DESTINATION ${config_dir})
  write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/${name}ConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${name}Config.cmake
    ${CMAKE_CURRENT_BINARY_DIR}/${name}ConfigVersion.cmake DESTINATION ${config_dir})
endfunction()
