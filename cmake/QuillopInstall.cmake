# Installing Quillop as a desktop program, and its Debian package.
#
#   bin/                      quillop, quillop-cli, quillop-thumbnailer
#   share/quillop/            quillop.mrc, the interface resource file: an
#                             installed editor finds its bare file names here
#                             when they are not beside it
#   share/doc/quillop/        README, copyright, changelog, examples/demo.mrc
#   share/applications/       the menu entry
#   share/icons/hicolor/      the icon in every size drawn in data/icons
#   share/mime/packages/      the .mrc file type (signature and glob)
#   share/thumbnailers/       how file managers picture a .mrc file
#   share/bash-completion/    completion for quillop-cli
include(GNUInstallDirs)
# The editor's files; the runtime's development files (runtime/) are the
# component "development", packaged apart.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME editor)

set(QUILLOP_DATA_DIR ${CMAKE_INSTALL_DATADIR}/quillop)
set(QUILLOP_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/quillop)
set(desktop ${CMAKE_SOURCE_DIR}/data/desktop)

install(TARGETS quillop quillop-cli quillop-thumbnailer RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The editor's resource file is named after the program (quillop.mrc).
install(FILES ${CMAKE_BINARY_DIR}/apps/quillop.mrc DESTINATION ${QUILLOP_DATA_DIR})
install(FILES ${CMAKE_BINARY_DIR}/data/demo.mrc DESTINATION ${QUILLOP_DOC_DIR}/examples)
# Debian wants the changelog of a package compressed, without a time stamp.
configure_file(${desktop}/changelog.in ${CMAKE_BINARY_DIR}/package/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/package/changelog.gz
                   COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/package/changelog
                   DEPENDS ${CMAKE_BINARY_DIR}/package/changelog VERBATIM)
add_custom_target(quillop_package_docs ALL DEPENDS ${CMAKE_BINARY_DIR}/package/changelog.gz)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${desktop}/copyright ${CMAKE_BINARY_DIR}/package/changelog.gz
        DESTINATION ${QUILLOP_DOC_DIR})
install(FILES ${desktop}/quillop.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop}/quillop-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME quillop.xml)
install(FILES ${desktop}/quillop.thumbnailer DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)
install(FILES ${desktop}/quillop-cli.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME quillop-cli)
file(GLOB icon_sizes LIST_DIRECTORIES true RELATIVE ${CMAKE_SOURCE_DIR}/data/icons ${CMAKE_SOURCE_DIR}/data/icons/*x*)
foreach(size IN LISTS icon_sizes)
  install(FILES ${CMAKE_SOURCE_DIR}/data/icons/${size}/quillop.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps)
endforeach()

# --- the Debian package (cpack -G DEB) --------------------------------------
set(CPACK_PACKAGE_NAME quillop)
set(CPACK_PACKAGE_VENDOR "Quillop")
set(QUILLOP_PACKAGE_CONTACT "Quillop developers <quillop@example.org>" CACHE STRING
    "Maintainer of the Debian package, as \"Name <address>\"")
set(CPACK_PACKAGE_CONTACT "${QUILLOP_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the resources of games and multimedia programs")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillop edits resource files (.mrc) holding texts, bitmaps, sounds, animations,
trajectories, maps, colours, binary files, user interfaces and game worlds,
each in an items grid with a live preview. quillop-cli runs the same model
from a terminal.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link come from dpkg-shlibdeps; Qt's platform
# and image plugins and FFmpeg are loaded at run time, so they are named
# here (FFmpeg's packages carry their major version, as its file names do).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(ffmpeg_packages "")
foreach(library avformat avcodec avutil swscale)
  string(REGEX MATCH "^[0-9]+" major "${FFMPEG_lib${library}_VERSION}")
  string(APPEND ffmpeg_packages ", lib${library}${major}")
endforeach()
set(CPACK_DEBIAN_EDITOR_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-image-formats-plugins${ffmpeg_packages}")
set(CPACK_DEBIAN_EDITOR_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")
# Two packages: quillop (the editor) and quillop-runtime-dev (the runtime's
# headers, libraries, pkg-config and CMake files, and quillop-runtime-dump).
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL editor development)
set(CPACK_DEBIAN_EDITOR_PACKAGE_NAME quillop)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME quillop-runtime-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "libstb-dev, libvorbis-dev")
# A component's package takes its long description from here.
set(CPACK_DEBIAN_EDITOR_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION
    "Reads Quillop resource files (.mrc) and plays their animations from C or C++,
without Qt or FFmpeg: headers, static and shared library, pkg-config and CMake
files, and quillop-runtime-dump.")
set(CPACK_GENERATOR DEB)
include(CPack)
