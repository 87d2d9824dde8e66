# The Debian packages (cpack -G DEB), split the way a distribution ships a
# library:
#   libvarnek1      the shared libraries (component runtime)
#   libvarnek-dev   headers, CMake package, pkg-config file and the
#                   unversioned links to the libraries (component development)
#   varnek-tools    the varnek-labels tool (component tool)
# Maintainer and home page come from VARNEK_PACKAGE_MAINTAINER and
# VARNEK_PACKAGE_HOMEPAGE.
set(CPACK_PACKAGE_NAME varnek)
set(CPACK_PACKAGE_VENDOR "the Varnek authors")
set(CPACK_PACKAGE_CONTACT "${VARNEK_PACKAGE_MAINTAINER}")
# Each package's description begins with a summary line of its own; CPack
# puts the common summary in front of it unless that is left at its default.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${CMAKE_PROJECT_NAME} built using CMake")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_HOMEPAGE_URL "${VARNEK_PACKAGE_HOMEPAGE}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime development tool)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VARNEK_PACKAGE_RELEASE})
set(varnek_debian_version ${PROJECT_VERSION}-${VARNEK_PACKAGE_RELEASE})
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VARNEK_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${VARNEK_PACKAGE_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(varnek_soname_version ${PROJECT_VERSION_MAJOR})
set(varnek_runtime_package libvarnek${varnek_soname_version})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${varnek_runtime_package})
# The library packages of several architectures install side by side. This
# CPack has no setting for the field, so it follows the section's line.
set(varnek_multi_arch_same "\nMulti-Arch: same")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs${varnek_multi_arch_same})
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "draw-style vocabulary, label outlines and label placement for a 3D view
A C++17 library naming the draw styles of a 3D view (colour modes, patterns,
symbols, layers) with the option texts the graphics system accepts,
computing the sizes, offsets and outline polygons of its labels, and placing
many labels in a view so that none overlaps another.
.
This package holds the shared libraries.")
# A shlibs file, so that packages built against this one depend on it, and
# the loader's cache refreshed by a trigger. CPack adds postinst and postrm
# scripts calling ldconfig to a package with libraries unless the package
# names scripts of its own: naming them without providing them leaves the
# trigger alone to do that work, as Debian asks.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
file(WRITE ${PROJECT_BINARY_DIR}/debian/runtime/triggers "activate-noawait ldconfig\n")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/debian/runtime/triggers
    ${PROJECT_BINARY_DIR}/debian/runtime/none/postinst
    ${PROJECT_BINARY_DIR}/debian/runtime/none/postrm)

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libvarnek-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel${varnek_multi_arch_same})
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
    "${varnek_runtime_package} (= ${varnek_debian_version})")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "draw-style vocabulary, label outlines and placement - development files
A C++17 library naming the draw styles of a 3D view, computing the outlines
of its labels and placing them so that none overlaps another.
.
This package holds the headers, the CMake package (find_package(Varnek)),
the pkg-config file and the links to build against the libraries.")

set(CPACK_DEBIAN_TOOL_PACKAGE_NAME varnek-tools)
set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_TOOL_PACKAGE_DEPENDS "${varnek_runtime_package} (= ${varnek_debian_version})")
set(CPACK_COMPONENT_TOOL_DESCRIPTION "label outlines, placement and draw styles of Varnek, from the command line
varnek-labels draws every label shape of the Varnek library into an SVG
sheet, prints the sizes, offset and outline polygon of one label as text,
JSON or SVG, places the labels of a view read from a CSV file so that none
overlaps another (as JSON or SVG), and lists the draw-style vocabulary with
its option texts.")
# The tool's own libraries are in the runtime package, staged beside it.
string(REGEX REPLACE "^/" "" varnek_staged_libdir
    "${CPACK_PACKAGING_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ../runtime/${varnek_staged_libdir})

# Each package's /usr/share/doc/<package>: the licence as a machine-readable
# copyright file and a Debian changelog. Installed only when the component is
# installed on its own, as CPack does, never by a plain cmake --install.
set(varnek_debian_dir ${PROJECT_BINARY_DIR}/debian)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE varnek_license)
string(REGEX REPLACE "^.*\n\n(Permission)" "\\1" varnek_license_text "${varnek_license}")
string(REGEX REPLACE "\n+$" "" varnek_license_text "${varnek_license_text}")
string(REPLACE "\n\n" "\n.\n" varnek_license_text "${varnek_license_text}")
string(REPLACE "\n" "\n " varnek_license_text "${varnek_license_text}")
file(WRITE ${varnek_debian_dir}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: varnek
Upstream-Contact: ${VARNEK_PACKAGE_MAINTAINER}
Source: ${VARNEK_PACKAGE_HOMEPAGE}

Files: *
Copyright: 2026 the Varnek authors
License: Expat
 ${varnek_license_text}
")
# The date of the release, so that the same sources give the same packages.
set(varnek_release_date "Sun, 06 Dec 2026 12:00:00 +0000")
file(WRITE ${varnek_debian_dir}/changelog.Debian
"varnek (${varnek_debian_version}) unstable; urgency=medium

  * Release ${PROJECT_VERSION}; see CHANGELOG.md in the sources.

 -- ${VARNEK_PACKAGE_MAINTAINER}  ${varnek_release_date}
")
find_program(VARNEK_GZIP gzip REQUIRED)
execute_process(COMMAND ${VARNEK_GZIP} -9 -n -c ${varnek_debian_dir}/changelog.Debian
    OUTPUT_FILE ${varnek_debian_dir}/changelog.Debian.gz COMMAND_ERROR_IS_FATAL ANY)
set(varnek_packages ${varnek_runtime_package} libvarnek-dev varnek-tools)
foreach(component package IN ZIP_LISTS CPACK_COMPONENTS_ALL varnek_packages)
    install(FILES ${varnek_debian_dir}/copyright ${varnek_debian_dir}/changelog.Debian.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package}
        COMPONENT ${component} EXCLUDE_FROM_ALL)
endforeach()

include(CPack)
