# The Debian package, made by `cpack -G DEB` from an ordinary build (scripts/package).
# A native package: its version is the project's, and its changelog is ours.

set(SCENEVIEWER_MAINTAINER "The sceneviewer developers <sceneviewer@lists.example.org>")

# Debian keeps a package's changelog compressed beside its copyright file.
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in
  ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/packaging/changelog.gz
  COMMAND gzip -9 -n -f -k changelog
  DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/packaging)
add_custom_target(changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz DESTINATION ${SCENEVIEWER_DOC_DIR})

set(CPACK_PACKAGE_NAME sceneviewer)
set(CPACK_PACKAGE_VENDOR "The sceneviewer developers")
set(CPACK_PACKAGE_CONTACT "${SCENEVIEWER_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fast OpenGL viewer for small hand-written 3D scenes")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SCENEVIEWER_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The extended description, below the summary line; CPack indents each line, and a lone
# "." separates paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "sceneviewer shows the scene that a Scene.xml file in the working directory
describes: textures, GLSL programs, effects and models (Wavefront OBJ and
its own R and RA mesh files). The scene is flown through with the keyboard,
reloaded when a file is saved, and every mistake in the files is reported
with its file and line in Log.htm.
.
scenetool checks and renders scenes without a window, makes R and RA mesh
files from OBJ models, and tells what a model file holds.")

include(CPack)
