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
#   share/man/man1/           the manual pages, made from each program's --help
#   share/doc/quillop/manual/ the user manual in HTML, made from docs/manual
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
# Every package carries the copyright and the changelog in its own folder.
foreach(component library development)
  set(package_name_library libquillop-runtime0)
  set(package_name_development quillop-runtime-dev)
  install(FILES ${desktop}/copyright ${CMAKE_BINARY_DIR}/package/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package_name_${component}} COMPONENT ${component})
endforeach()
# The manual pages come from the programs' own --help at build time, so
# they always say what the programs answer.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(man_dir ${CMAKE_BINARY_DIR}/package/man)
set(man_pages "")
foreach(program quillop quillop-cli quillop-thumbnailer)
  list(APPEND man_pages ${man_dir}/${program}.1.gz)
endforeach()
add_custom_command(OUTPUT ${man_pages}
                   COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/make-manpages.py ${PROJECT_VERSION}
                           ${man_dir} quillop=$<TARGET_FILE:quillop> quillop-cli=$<TARGET_FILE:quillop-cli>
                           quillop-thumbnailer=$<TARGET_FILE:quillop-thumbnailer>
                   COMMAND gzip -9nf ${man_dir}/quillop.1 ${man_dir}/quillop-cli.1 ${man_dir}/quillop-thumbnailer.1
                   DEPENDS quillop quillop-cli quillop-thumbnailer ${CMAKE_SOURCE_DIR}/scripts/make-manpages.py
                   VERBATIM)
add_custom_target(quillop_man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The user manual: Markdown pages and the tour's pictures, made into HTML
# (the editor's Help menu opens it from here, or from the build tree).
file(GLOB manual_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/manual/*.md ${CMAKE_SOURCE_DIR}/docs/manual/images/*.png)
set(manual_dir ${CMAKE_BINARY_DIR}/docs/manual)
add_custom_command(OUTPUT ${manual_dir}/index.html
                   COMMAND ${CMAKE_COMMAND} -E rm -rf ${manual_dir}
                   COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/scripts/make-manual.py
                           ${CMAKE_SOURCE_DIR}/docs/manual ${CMAKE_SOURCE_DIR}/data/interface/quillop.json ${manual_dir}
                   DEPENDS ${manual_sources} ${CMAKE_SOURCE_DIR}/scripts/make-manual.py
                           ${CMAKE_SOURCE_DIR}/data/interface/quillop.json
                   VERBATIM)
add_custom_target(quillop_manual ALL DEPENDS ${manual_dir}/index.html)
install(DIRECTORY ${manual_dir}/ DESTINATION ${QUILLOP_DOC_DIR}/manual)
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
# Each package's description starts with its own summary line, so no
# common summary is set (CPack would put it before every description).
set(CPACK_PACKAGE_DESCRIPTION
    "editor for the resources of games and multimedia programs
Quillop edits resource files (.mrc) holding texts, bitmaps, sounds, animations,
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
# Three packages: quillop (the editor), libquillop-runtime0 (the runtime's
# shared library, named after its soname as Debian wants) and
# quillop-runtime-dev (headers, static library, pkg-config and CMake files,
# and quillop-runtime-dump).
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL editor library development)
set(CPACK_DEBIAN_EDITOR_PACKAGE_NAME quillop)
set(CPACK_DEBIAN_EDITOR_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME libquillop-runtime0)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
# The library's shlibs file and the ldconfig trigger are written here rather
# than generated: CPack would add maintainer scripts that call ldconfig,
# which dpkg's trigger does better. Without CPack's scan its dependencies
# are named by hand (what dpkg-shlibdeps finds on Debian 12).
configure_file(${desktop}/runtime-library/shlibs.in ${CMAKE_BINARY_DIR}/package/shlibs @ONLY)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_DEPENDS "libc6 (>= 2.34), libgcc-s1 (>= 3.3.1), libstdc++6 (>= 12), libvorbisfile3 (>= 1.1.2)")
set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_EXTRA ${desktop}/runtime-library/triggers ${CMAKE_BINARY_DIR}/package/shlibs)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME quillop-runtime-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
    "libquillop-runtime0 (= ${PROJECT_VERSION}), libstb-dev, libvorbis-dev")
# A component's package takes its long description from here.
set(CPACK_DEBIAN_EDITOR_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_LIBRARY_DESCRIPTION
    "library to read Quillop resource files in games
Reads Quillop resource files (.mrc) and plays their animations and worlds from
C or C++, without Qt or FFmpeg. This package holds the shared library games
load.")
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION
    "development files of the Quillop runtime library
Reads Quillop resource files (.mrc) and plays their animations and worlds from
C or C++, without Qt or FFmpeg: headers, static and shared library,
pkg-config and CMake files, quillop-runtime-dump, and quillop-runtime-player,
an example game that plays a document's worlds with SDL2.")
set(CPACK_GENERATOR DEB)
include(CPack)
