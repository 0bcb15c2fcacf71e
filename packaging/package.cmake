# The Debian package, built by CPack's DEB generator from an installed tree
# (scripts/package.sh). The package is native: its version is the project's, with no
# Debian revision, and its changelog is packaging/changelog.

# Debian's copyright file and changelog go into the package only: a plain `cmake --install`
# leaves them out (EXCLUDE_FROM_ALL), and CPack installs this component on its own below.
set(debian_docs ${CMAKE_CURRENT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${debian_docs})
add_custom_command(OUTPUT ${debian_docs}/changelog.gz
  COMMAND sh -c "\"$0\" -9n -c \"$1\" > \"$2\"" ${GZIP_EXECUTABLE}
          ${CMAKE_CURRENT_SOURCE_DIR}/packaging/changelog ${debian_docs}/changelog.gz
  DEPENDS packaging/changelog
  VERBATIM)
add_custom_target(debian_changelog ALL DEPENDS ${debian_docs}/changelog.gz)
install(FILES packaging/copyright ${debian_docs}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT debian EXCLUDE_FROM_ALL)

set(QUENLOW_PACKAGE_MAINTAINER
    "The Quenlow Example authors <quenlow-example@users.noreply.github.com>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quenlow-example)
set(CPACK_PACKAGE_VENDOR "the Quenlow Example authors")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_SOURCE_DIR}/build/package)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Everything the default install puts in place, then Debian's documents.
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${CMAKE_BINARY_DIR};${PROJECT_NAME};ALL;/"
    "${CMAKE_BINARY_DIR};${PROJECT_NAME};debian;/")
# Debian ships binaries stripped; the debug information stays in the build tree.
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/packaging/remove-comment.cmake)
# Directories CPack creates for the tree get the usual 0755 whatever the umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUENLOW_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/quenlow/example)
# The dependencies are those of the binary's shared libraries, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "nearest point on a cubic Bezier curve, shown as it is searched")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "An interactive demonstration of one geometric query: which point of a cubic
Bezier curve lies nearest to a given point? A window shows the curve, its four
control points and a query point, all of which can be dragged with the mouse.
On every redraw a ten-level branch-and-bound search over uniform subdivisions
of the curve finds the nearest of 1025 samples, and the bounding regions of the
pieces it discards (capsules or rounded boxes) are outlined as it discards
them, with an orange segment from the query point to the selected sample.")

include(CPack)
