# The Debian package (cpack -G DEB): one package with the shared libraries,
# the headers, the CMake package, the pkg-config file and varnek-labels.
# Its dependencies come from dpkg-shlibdeps, which reads the ELF files.
set(CPACK_PACKAGE_NAME varnek)
set(CPACK_PACKAGE_VENDOR "Varnek developers")
set(CPACK_PACKAGE_CONTACT "Varnek developers <varnek-dev@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "A C++17 library naming the draw styles of a 3D view and computing the outlines\n\
of its labels, with its headers, CMake package and pkg-config file, and the\n\
varnek-labels tool that draws, measures and lists them.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The package's own libraries are needed by its tool and by each other;
# dpkg-shlibdeps finds them in the package's staging tree (its working
# directory) instead of asking the system which package provides them.
string(REGEX REPLACE "^/" "" varnek_staged_libdir
    "${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${varnek_staged_libdir})
# A shlibs file, so that packages built against this one depend on it.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

include(CPack)
