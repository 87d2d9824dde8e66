# Install rules, the CMake package (find_package(Varnek) -> Varnek::varnek)
# and the pkg-config file.
include(CMakePackageConfigHelpers)

set(VARNEK_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Varnek)

install(TARGETS varnek varnek_translator varnek_math varnek_geometry
    EXPORT VarnekTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
    FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development
    FILE_SET generated_headers DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)

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

# The pkg-config file finds its prefix relative to itself, so the installed
# tree can be moved (cmake --install --prefix, a package's staging root).
set(VARNEK_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
if(IS_ABSOLUTE "${VARNEK_PC_DIR}")
    set(VARNEK_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
    file(RELATIVE_PATH VARNEK_PC_UP /root/${VARNEK_PC_DIR} /root)
    set(VARNEK_PC_PREFIX "\${pcfiledir}/${VARNEK_PC_UP}")
endif()
foreach(dir LIBDIR INCLUDEDIR)
    if(IS_ABSOLUTE "${CMAKE_INSTALL_${dir}}")
        set(VARNEK_PC_${dir} "${CMAKE_INSTALL_${dir}}")
    else()
        set(VARNEK_PC_${dir} "\${prefix}/${CMAKE_INSTALL_${dir}}")
    endif()
endforeach()
configure_file(cmake/varnek.pc.in ${PROJECT_BINARY_DIR}/varnek.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/varnek.pc
    DESTINATION ${VARNEK_PC_DIR}
    COMPONENT development)
