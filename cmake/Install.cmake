# Installing the game as Linux games are installed (GNU install directories):
#   bin/rollandia, bin/rollandia-editor, bin/rollandia-check-level   the programs
#   share/rollandia/                                                  the game's data; the game
#                                                                     finds it from its own folder
#                                                                     as ../share/rollandia
#   include/rollandia/, lib/, lib/cmake/RollandiaEngine/,             the engine as a kit for
#   lib/pkgconfig/rollandia-engine.pc                                 level tools
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# Installed files are readable by all, programs and folders also executable, whatever the
# umask of the machine that builds the package.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# ---------------------------------------------------------------- programs and data
install(TARGETS rollandia RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The tools keep their build names (the tests and the README use them) and install under
# names that say whose they are. Renamed programs are stripped by hand when the install strips.
foreach(pair IN ITEMS "rollandia_editor:rollandia-editor" "check_level:rollandia-check-level")
  string(REPLACE ":" ";" pair ${pair})
  list(GET pair 0 target)
  list(GET pair 1 installed_name)
  install(PROGRAMS $<TARGET_FILE:${target}> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME ${installed_name})
  install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${installed_name}\")
  endif()")
endforeach()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/rollandia)

# ---------------------------------------------------------------- desktop integration
# Desktop entries, the icon in the hicolor theme (drawn by tools/make_icons.py), the software
# centre's metadata and the manual pages (compressed as Debian asks: best, no time stamp).
set(PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
install(FILES ${PACKAGING_DIR}/org.rollandia.Rollandia.desktop ${PACKAGING_DIR}/org.rollandia.Rollandia.Editor.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PACKAGING_DIR}/org.rollandia.Rollandia.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size IN ITEMS 16 24 32 48 64 128 256)
  install(FILES ${PACKAGING_DIR}/icons/rollandia-${size}.png RENAME rollandia.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${PACKAGING_DIR}/icons/rollandia.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Compresses a file of the source tree into the build folder at configure time; the result's
# path goes into output_variable.
function(compress_for_install source output_variable)
  get_filename_component(name ${source} NAME)
  set(compressed ${CMAKE_BINARY_DIR}/compressed/${name}.gz)
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/compressed)
  execute_process(COMMAND gzip -9nc INPUT_FILE ${source} OUTPUT_FILE ${compressed} COMMAND_ERROR_IS_FATAL ANY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  set(${output_variable} ${compressed} PARENT_SCOPE)
endfunction()

foreach(page IN ITEMS rollandia.6 rollandia-editor.1 rollandia-check-level.1)
  compress_for_install(${PACKAGING_DIR}/man/${page} compressed_page)
  string(REGEX MATCH "[0-9]$" section ${page})
  install(FILES ${compressed_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()

# ---------------------------------------------------------------- the engine kit
# Every engine layer installs as librollandia_engine_<layer>.a; the top one, librollandia_engine.a,
# is Rollandia::engine.
set(ENGINE_KIT_FOLDERS base platform filesystem graphics audio game world engine)
foreach(layer IN LISTS ENGINE_LAYER_TARGETS)
  string(REPLACE "layer_" "" folder ${layer})
  set_target_properties(${layer} PROPERTIES OUTPUT_NAME rollandia_engine_${folder} EXPORT_NAME ${folder})
endforeach()
set_target_properties(rollandia_engine PROPERTIES OUTPUT_NAME rollandia_engine EXPORT_NAME engine)
install(TARGETS ${ENGINE_LAYER_TARGETS} EXPORT RollandiaEngineTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/rollandia)
# A stripped install (the package's) keeps the libraries' symbols but not their debugging
# information, which is most of their size.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  file(GLOB kit_libraries \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/librollandia_engine*.a\")
  foreach(library IN LISTS kit_libraries)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-debug \${library} COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
endif()")
install(DIRECTORY ${CMAKE_SOURCE_DIR}/include/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/rollandia
        FILES_MATCHING PATTERN "*.h")
foreach(folder IN LISTS ENGINE_KIT_FOLDERS)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/${folder}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/rollandia/${folder}
          FILES_MATCHING PATTERN "*.h")
endforeach()

set(ENGINE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/RollandiaEngine)
install(EXPORT RollandiaEngineTargets NAMESPACE Rollandia:: DESTINATION ${ENGINE_CMAKE_DIR})
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/RollandiaEngineConfig.cmake.in
  ${CMAKE_BINARY_DIR}/RollandiaEngineConfig.cmake INSTALL_DESTINATION ${ENGINE_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/RollandiaEngineConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/RollandiaEngineConfig.cmake ${CMAKE_BINARY_DIR}/RollandiaEngineConfigVersion.cmake
        DESTINATION ${ENGINE_CMAKE_DIR})

# The pkg-config file finds the install from its own place, so any prefix works.
file(RELATIVE_PATH PC_PREFIX_FROM_PC_DIR /root/${CMAKE_INSTALL_LIBDIR}/pkgconfig /root)
if(ROLLANDIA_X11)
  set(ENGINE_PC_X11_MODULES " x11 xcomposite xrender xfixes xext")
endif()
configure_file(${CMAKE_SOURCE_DIR}/cmake/rollandia-engine.pc.in ${CMAKE_BINARY_DIR}/rollandia-engine.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/rollandia-engine.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
