# Installation and the Debian package.
#
# `cmake --install build` (prefix /usr/local by default) and the package (`make package`, CPack's DEB
# generator, prefix /usr) lay Kubrix out as a Linux desktop expects:
#   bin/kubrix, bin/kubrix-run                      the desktop program and the runner
#   share/kubrix/help.txt                           the script documentation (CP932, CR LF)
#   share/kubrix/examples/*.kx                      the example scripts
#   share/applications/kubrix.desktop               the menu entry; opens .kx and .kxp files
#   share/mime/packages/kubrix.xml                  the MIME types of .kx and .kxp scripts
#   share/icons/hicolor/<size>/apps/kubrix.{png,svg} the icon
#   share/man/man1/kubrix-run.1.gz, kubrix.1.gz     the manual pages
#   share/doc/kubrix/README.md
# The desktop program finds help.txt in ../share/kubrix beside its bin folder and keeps its settings
# in $XDG_CONFIG_HOME/kubrix/ (app/gui/app_paths.cpp). The Debian package needs no maintainer
# scripts: the MIME, desktop and icon caches are refreshed by the dpkg triggers of the packages that
# own them.
include(GNUInstallDirs)

set(KUBRIX_DATADIR ${CMAKE_INSTALL_DATADIR}/kubrix)
set(KUBRIX_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS kubrix-run RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_BINARY_DIR}/help.txt DESTINATION ${KUBRIX_DATADIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${KUBRIX_DATADIR}/examples
        FILES_MATCHING PATTERN "*.kx" PATTERN "*.kxp")
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kubrix)
install(FILES ${KUBRIX_PACKAGING_DIR}/kubrix-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME kubrix.xml)

# Manual pages: the version filled in, compressed as Debian keeps them.
find_program(KUBRIX_GZIP gzip REQUIRED)
set(kubrix_man_pages kubrix-run.1)
if(KUBRIX_BUILD_GUI)
  list(APPEND kubrix_man_pages kubrix.1)
endif()
set(kubrix_man_outputs)
foreach(page IN LISTS kubrix_man_pages)
  configure_file(${KUBRIX_PACKAGING_DIR}/${page}.in ${CMAKE_BINARY_DIR}/man/${page} @ONLY)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.gz
                     COMMAND ${KUBRIX_GZIP} -9 -n -c ${CMAKE_BINARY_DIR}/man/${page} > ${CMAKE_BINARY_DIR}/man/${page}.gz
                     DEPENDS ${CMAKE_BINARY_DIR}/man/${page}
                     COMMENT "Compressing the manual page ${page}" VERBATIM)
  list(APPEND kubrix_man_outputs ${CMAKE_BINARY_DIR}/man/${page}.gz)
endforeach()
add_custom_target(man_pages ALL DEPENDS ${kubrix_man_outputs})
install(FILES ${kubrix_man_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The desktop program with its menu entry and icon.
if(KUBRIX_BUILD_GUI)
  install(TARGETS kubrix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${KUBRIX_PACKAGING_DIR}/kubrix.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${KUBRIX_PACKAGING_DIR}/icons/kubrix.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size IN ITEMS 16 22 24 32 48 64 128 256)
    install(FILES ${KUBRIX_PACKAGING_DIR}/icons/${size}x${size}/kubrix.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
endif()

# The Debian package: kubrix_<version>_<arch>.deb in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kubrix)
set(CPACK_PACKAGE_VENDOR "Kubrix")
set(CPACK_PACKAGE_CONTACT "Kubrix developers <kubrix@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "build 3D wire and face models by script")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION "Kubrix runs scripts in its own line-oriented language that declare design
parameters, compute with expressions, branch and loop, and draw lines, points,
faces and solids into one figure store. The desktop program kubrix has the
script editor, the parameter grid and an OpenGL viewer; the runner kubrix-run
runs scripts without a window for batch work. Models are saved as DXF, STL,
OBJ, VRML, X3D and COLLADA.")
# The dependencies are the libraries that dpkg-shlibdeps finds (libqt6gui6 brings the X11 platform
# plugin); speech loads espeak-ng when it is first used, so the library and its voices are
# recommended; the window's Japanese texts want a Japanese font, the icon the hicolor theme.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libespeak-ng1, espeak-ng-data")
if(KUBRIX_BUILD_GUI)
  string(APPEND CPACK_DEBIAN_PACKAGE_RECOMMENDS
         ", fonts-noto-cjk | fonts-ipafont-gothic | fonts-vlgothic, hicolor-icon-theme")
endif()
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git" "/build[^/]*/")
include(CPack)
