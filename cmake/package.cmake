# The release archive, made by CPack from the Windows build (scripts/package.sh):
# tavrin-<version>-win64.zip holding one folder with tavrin.exe, its three click sounds, the
# README and the licence. The version is the project's, set once in the top-level project().

# Packing needs tavrin.exe only, not the tests that "all" would build first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS tavrin RUNTIME DESTINATION .)
install(FILES
  ${CMAKE_SOURCE_DIR}/resources/click1.wav
  ${CMAKE_SOURCE_DIR}/resources/click2.wav
  ${CMAKE_SOURCE_DIR}/resources/click3.wav
  ${CMAKE_SOURCE_DIR}/README.md
  ${CMAKE_SOURCE_DIR}/LICENSE
  DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME tavrin)
set(CPACK_PACKAGE_VENDOR "The Tavrin project")
set(CPACK_PACKAGE_FILE_NAME "tavrin-${PROJECT_VERSION}-win64")
# Symbols only make the program larger for its users.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)
include(CPack)
