# The data files (definitions, sample settings, Japanese table, help, test
# patterns) are installed to share/rvq-setting-tool. The build keeps a copy
# at the same place below the build tree, so programs run from the build
# tree find them the way installed ones do, and never read the source tree.
set(RVQ_DATA_SUBDIR rvq-setting-tool)
set(RVQ_BUILD_DATA_DIR ${CMAKE_BINARY_DIR}/share/${RVQ_DATA_SUBDIR})
# Where the installed programs find the installed data, relative to
# themselves, so an installation can be moved (cmake --install --prefix).
file(RELATIVE_PATH RVQ_DATA_FROM_BINDIR ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/${RVQ_DATA_SUBDIR})

file(GLOB_RECURSE RVQ_DATA_SOURCES CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}/data
     ${PROJECT_SOURCE_DIR}/data/*)
set(RVQ_DATA_COPIES)
foreach(file IN LISTS RVQ_DATA_SOURCES)
  add_custom_command(
    OUTPUT ${RVQ_BUILD_DATA_DIR}/${file}
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/data/${file} ${RVQ_BUILD_DATA_DIR}/${file}
    DEPENDS ${PROJECT_SOURCE_DIR}/data/${file}
    VERBATIM)
  list(APPEND RVQ_DATA_COPIES ${RVQ_BUILD_DATA_DIR}/${file})
endforeach()
add_custom_target(rvq_data ALL DEPENDS ${RVQ_DATA_COPIES})
