# What `cmake --install` puts where (GNUInstallDirs), and the Debian package
# CPack makes of it (scripts/package).
set(RVQ_APP_ID com.vantora.RvqSettingTool)
set(RVQ_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
set(RVQ_PACKAGE_MAINTAINER "R-VQ Setting Tool maintainers <maintainers@rvq-setting-tool.example>"
    CACHE STRING "The maintainer named in the Debian package")

set(programs rvqtool rvq-printer-sim)
if(RVQ_BUILD_UI)
  list(APPEND programs rvq-setting-tool)
endif()
install(TARGETS ${programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/${RVQ_DATA_SUBDIR})

foreach(page IN ITEMS rvqtool.1 rvq-printer-sim.1)
  install(FILES ${RVQ_DOCS_DIR}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
install(FILES ${RVQ_DOCS_DIR}/rvqtool.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME rvqtool)
install(FILES ${RVQ_DOCS_DIR}/_rvqtool DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
install(FILES ${RVQ_PACKAGING}/70-rvq-setting-tool.rules DESTINATION lib/udev/rules.d)

# The desktop program's entry, icons and AppStream description.
string(TIMESTAMP RVQ_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP RVQ_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
if(RVQ_BUILD_UI)
  install(FILES ${RVQ_DOCS_DIR}/rvq-setting-tool.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  # The help the build made from the manual (Manual.cmake), file by file,
  # so nothing else that lies in the build tree goes with it.
  foreach(file IN LISTS RVQ_HELP_FILES)
    file(RELATIVE_PATH relative ${RVQ_BUILD_DATA_DIR} ${file})
    get_filename_component(folder ${relative} DIRECTORY)
    install(FILES ${file} DESTINATION ${CMAKE_INSTALL_DATADIR}/${RVQ_DATA_SUBDIR}/${folder})
  endforeach()
  install(FILES ${RVQ_PACKAGING}/${RVQ_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(${RVQ_PACKAGING}/${RVQ_APP_ID}.metainfo.xml ${CMAKE_BINARY_DIR}/packaging/${RVQ_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/${RVQ_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${RVQ_PACKAGING}/${RVQ_APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

  # The PNG sizes are drawn from the SVG at build time.
  find_program(RVQ_RSVG_CONVERT rsvg-convert REQUIRED)
  set(icons)
  foreach(size IN ITEMS 16 24 32 48 64 128 256)
    set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/${RVQ_APP_ID}.png)
    add_custom_command(
      OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
      COMMAND ${RVQ_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${RVQ_PACKAGING}/${RVQ_APP_ID}.svg
      DEPENDS ${RVQ_PACKAGING}/${RVQ_APP_ID}.svg
      VERBATIM)
    list(APPEND icons ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(rvq_icons ALL DEPENDS ${icons})
endif()

# Debian wants its copyright file and a compressed changelog in the package's doc folder.
set(RVQ_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/rvq-setting-tool)
configure_file(${RVQ_PACKAGING}/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  COMMAND gzip -9nfk changelog
  DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/packaging
  VERBATIM)
add_custom_target(rvq_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${RVQ_PACKAGING}/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${RVQ_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rvq-setting-tool)
set(CPACK_PACKAGE_VENDOR VANTORA)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${RVQ_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configure and maintain R-VQ thermal label printers")
# The summary is the synopsis; CPack indents these lines and marks the
# empty one as a paragraph break.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "The R-VQ Setting Tool connects to R-VQ thermal label printers over USB, the
LAN, serial or parallel ports, or to a list of LAN printers. It reads, edits,
checks and writes the printers' parameters, saves and loads settings files,
downloads firmware, BASIC programs and files, runs maintenance, and builds
ROM images, external characters and test prints.

The package holds the desktop program rvq-setting-tool, the command-line
program rvqtool and the printer simulator rvq-printer-sim.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${RVQ_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beside the libraries dpkg-shlibdeps finds: the desktop program loads Qt's
# own Japanese texts (standard buttons, the calendar) at run time.
if(RVQ_BUILD_UI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
  # The Japanese interface needs a font with its glyphs.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk")
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
