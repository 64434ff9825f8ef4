# The interface's languages and the help pages.
#
# The catalogues res/i18n/duplora_<language>.ts (German is the source language and has none)
# are compiled by lrelease and embedded into the app library as :/i18n/duplora_<language>.qm,
# so every program finds them wherever it runs from. scripts/dev/update-translations
# collects the texts into them.
#
# The help pages res/help/duplora-<language>.html and their style sheet are copied to share/duplora/help in the
# build tree, where the programs in its folders find them as they find them installed.
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)

file(GLOB DUPLORA_TS_FILES CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/res/i18n/*.ts")
set_source_files_properties(${DUPLORA_TS_FILES} PROPERTIES
    OUTPUT_LOCATION "${PROJECT_BINARY_DIR}/i18n")
qt_add_lrelease(duplora_app TS_FILES ${DUPLORA_TS_FILES}
                QM_FILES_OUTPUT_VARIABLE DUPLORA_QM_FILES)
qt_add_resources(duplora_app duplora_translations PREFIX "/i18n"
                 BASE "${PROJECT_BINARY_DIR}/i18n" FILES ${DUPLORA_QM_FILES})

file(GLOB DUPLORA_HELP_PAGES CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/res/help/*.html"
     "${PROJECT_SOURCE_DIR}/res/help/*.css")
set(DUPLORA_HELP_DIR "${PROJECT_BINARY_DIR}/share/duplora/help")
set(help_copies)
foreach(page IN LISTS DUPLORA_HELP_PAGES)
  get_filename_component(name "${page}" NAME)
  add_custom_command(OUTPUT "${DUPLORA_HELP_DIR}/${name}"
                     COMMAND ${CMAKE_COMMAND} -E make_directory "${DUPLORA_HELP_DIR}"
                     COMMAND ${CMAKE_COMMAND} -E copy_if_different "${page}" "${DUPLORA_HELP_DIR}/${name}"
                     DEPENDS "${page}" VERBATIM)
  list(APPEND help_copies "${DUPLORA_HELP_DIR}/${name}")
endforeach()
add_custom_target(duplora_help_pages ALL DEPENDS ${help_copies})
# Whatever links the app library (the programs and their tests) finds the pages in place.
add_dependencies(duplora_app duplora_help_pages)

include(GNUInstallDirs)
install(FILES ${DUPLORA_HELP_PAGES} DESTINATION "${CMAKE_INSTALL_DATADIR}/duplora/help")
