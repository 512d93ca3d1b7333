include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(TARGETS zent_platform zent_widgets
  EXPORT ZentTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zent)
install(EXPORT ZentTargets NAMESPACE Zent:: FILE ZentTargets.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Zent)
configure_package_config_file(cmake/ZentConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/ZentConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Zent)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/ZentConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/ZentConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/ZentConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Zent)

# The Designer plugin goes where Qt looks for plugins, relative to the
# prefix: with the prefix /usr, Qt's own plugin folder, which Designer
# searches; under any other prefix, point QT_PLUGIN_PATH at
# <prefix>/${QT6_INSTALL_PLUGINS}.
if(TARGET zent_designer)
  install(TARGETS zent_designer LIBRARY DESTINATION ${QT6_INSTALL_PLUGINS}/designer)
endif()
