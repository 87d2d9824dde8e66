# Install rules, the CMake package (find_package(Varnek) -> Varnek::varnek),
# the pkg-config file and the licence. Included only when VARNEK_INSTALL is
# on: by default for a top-level build, never for a project that adds this
# one with add_subdirectory unless it asks.
include(CMakePackageConfigHelpers)

# Who distributes the build, for the packages' metadata: a distributor sets
# both (-DVARNEK_PACKAGE_MAINTAINER="Name <address>").
set(VARNEK_PACKAGE_MAINTAINER "Varnek authors <varnek@example.org>" CACHE STRING
    "Maintainer of the packages, as \"Name <address>\"")
set(VARNEK_PACKAGE_HOMEPAGE "https://varnek.example.org/" CACHE STRING
    "Home page named by the packages and the pkg-config file")
set(VARNEK_PACKAGE_RELEASE 1 CACHE STRING
    "Debian revision of the packages: their version is <version>-<revision>")

set(VARNEK_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Varnek)

install(TARGETS varnek varnek_translator varnek_math varnek_geometry
    EXPORT VarnekTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
    FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development
    FILE_SET generated_headers DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
if(BUILD_SHARED_LIBS)
    varnek_drop_rpath_in_system_libdir(varnek runtime ${CMAKE_INSTALL_LIBDIR})
endif()

install(EXPORT VarnekTargets
    NAMESPACE Varnek::
    DESTINATION ${VARNEK_CMAKE_DIR}
    COMPONENT development)

configure_package_config_file(cmake/VarnekConfig.cmake.in
    ${PROJECT_BINARY_DIR}/VarnekConfig.cmake
    INSTALL_DESTINATION ${VARNEK_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/VarnekConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES
    ${PROJECT_BINARY_DIR}/VarnekConfig.cmake
    ${PROJECT_BINARY_DIR}/VarnekConfigVersion.cmake
    DESTINATION ${VARNEK_CMAKE_DIR}
    COMPONENT development)

# The pkg-config file is written when it is installed, with the prefix of
# that installation (cmake --install --prefix, a package's /usr), so that
# its paths are plain absolute ones.
foreach(dir LIBDIR INCLUDEDIR)
    if(IS_ABSOLUTE "${CMAKE_INSTALL_${dir}}")
        set(VARNEK_PC_${dir} "${CMAKE_INSTALL_${dir}}")
    else()
        set(VARNEK_PC_${dir} "\${prefix}/${CMAKE_INSTALL_${dir}}")
    endif()
endforeach()
# The prefix stays a placeholder until then.
set(VARNEK_PC_PREFIX "@VARNEK_PC_PREFIX@")
configure_file(cmake/varnek.pc.in ${PROJECT_BINARY_DIR}/varnek.pc.in @ONLY)
install(CODE "
    set(VARNEK_PC_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
    configure_file(\"${PROJECT_BINARY_DIR}/varnek.pc.in\" \"${PROJECT_BINARY_DIR}/varnek.pc\" @ONLY)
    " COMPONENT development)
install(FILES ${PROJECT_BINARY_DIR}/varnek.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
    COMPONENT development)

# The licence, beside the other documentation of a plain installation. The
# Debian packages carry it as their copyright file instead (VarnekCPack).
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT license)
