# The Windows package: a ZIP holding lumetta.exe, the bundled data.ini, its
# translations and the plain-text guide, named after the version.
install(TARGETS lumetta RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/data.ini ${PROJECT_SOURCE_DIR}/docs/README.txt DESTINATION .)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/translations DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Lumetta)
set(CPACK_PACKAGE_VENDOR Lumetta)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Monitor adjustment assistant")
set(CPACK_PACKAGE_FILE_NAME "Lumetta-${PROJECT_VERSION}-win64")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
