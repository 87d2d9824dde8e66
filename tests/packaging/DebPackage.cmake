# cmake -P script: build the Debian package of BUILD_DIR into WORK_DIR with
# cpack and check its control fields and its list of files.
cmake_minimum_required(VERSION 3.25)

function(run)
    execute_process(COMMAND ${ARGV} RESULT_VARIABLE result OUTPUT_QUIET)
    if(NOT result EQUAL 0)
        string(REPLACE ";" " " command "${ARGV}")
        message(FATAL_ERROR "failed (${result}): ${command}")
    endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
get_filename_component(cmake_bin_dir ${CMAKE_COMMAND} DIRECTORY)
find_program(CPACK cpack HINTS ${cmake_bin_dir} REQUIRED)
find_program(DPKG_DEB dpkg-deb REQUIRED)
if(CONFIG)
    run(${CPACK} -G DEB -C ${CONFIG} --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR})
else()
    run(${CPACK} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR})
endif()

file(GLOB packages ${WORK_DIR}/*.deb)
list(LENGTH packages count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one .deb in ${WORK_DIR}, found: ${packages}")
endif()

# The dependencies come from the ELF files: the C and C++ runtimes.
execute_process(COMMAND ${DPKG_DEB} --field ${packages} Package Version Depends
    OUTPUT_VARIABLE fields COMMAND_ERROR_IS_FATAL ANY)
foreach(expected "Package: varnek" "Version: ${VERSION}" "Depends: .*libc6 \\(>= "
                 "Depends: .*libstdc\\+\\+6 \\(>= ")
    if(NOT fields MATCHES "${expected}")
        message(FATAL_ERROR "control fields lack '${expected}':\n${fields}")
    endif()
endforeach()
execute_process(COMMAND ${DPKG_DEB} --info ${packages}
    OUTPUT_VARIABLE info COMMAND_ERROR_IS_FATAL ANY)
if(NOT info MATCHES "shlibs")
    message(FATAL_ERROR "the package has no shlibs file:\n${info}")
endif()

# Library, headers, CMake package, pkg-config file and tool; no tests.
execute_process(COMMAND ${DPKG_DEB} --contents ${packages}
    OUTPUT_VARIABLE contents COMMAND_ERROR_IS_FATAL ANY)
set(lib ./usr/${LIBDIR})
foreach(expected
        ./usr/bin/varnek-labels
        ${lib}/libvarnek.so.${VERSION}
        "${lib}/libvarnek.so.1 -> libvarnek.so.${VERSION}"
        "${lib}/libvarnek.so -> libvarnek.so.1"
        ${lib}/libvarnek_translator.so.${VERSION}
        ./usr/include/varnek/varnek.h
        ./usr/include/varnek/export.h
        ./usr/include/varnek/services/Vector.h
        ./usr/include/varnek/label_shape/LabelBackground.h
        ./usr/include/varnek/draw_style/DrawColorMode.h
        ${lib}/cmake/Varnek/VarnekConfig.cmake
        ${lib}/cmake/Varnek/VarnekConfigVersion.cmake
        ${lib}/cmake/Varnek/VarnekTargets.cmake
        ${lib}/pkgconfig/varnek.pc)
    string(FIND "${contents}" " ${expected}\n" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the package lacks ${expected}:\n${contents}")
    endif()
endforeach()
if(contents MATCHES "_test")
    message(FATAL_ERROR "the package holds test programs:\n${contents}")
endif()
