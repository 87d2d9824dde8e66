# cmake -P script: build the Debian packages of BUILD_DIR into WORK_DIR with
# cpack, check their control fields and files, run lintian on them, unpack
# them into a throwaway root and build and run the consumer in CONSUMER_DIR
# against that root, with find_package and with pkg-config. With BIND_NOW
# every program and library must be bound at load time.
cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/Consume.cmake)

file(REMOVE_RECURSE ${WORK_DIR})
get_filename_component(cmake_bin_dir ${CMAKE_COMMAND} DIRECTORY)
find_program(CPACK cpack HINTS ${cmake_bin_dir} REQUIRED)
find_program(DPKG_DEB dpkg-deb REQUIRED)
find_program(LINTIAN lintian REQUIRED)
find_program(READELF readelf REQUIRED)
if(CONFIG)
    set(config -C ${CONFIG})
endif()
execute_process(COMMAND ${CPACK} -G DEB ${config} --config ${BUILD_DIR}/CPackConfig.cmake
        -B ${WORK_DIR}
    OUTPUT_QUIET RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cpack failed (${result})")
endif()

set(version ${VERSION}-1)
set(lib ./usr/${LIBDIR})
# One row per package: name, section, Multi-Arch, what Depends must hold,
# files it must hold. Every package carries its copyright file and
# changelog.
set(runtime_package libvarnek1 libs same "libc6 \\(>= .*libstdc\\+\\+6 \\(>= "
    "${lib}/libvarnek.so.${VERSION}"
    "${lib}/libvarnek.so.1 -> libvarnek.so.${VERSION}"
    "${lib}/libvarnek_translator.so.${VERSION}")
set(development_package libvarnek-dev libdevel same "libvarnek1 \\(= ${version}\\)"
    "${lib}/libvarnek.so -> libvarnek.so.1"
    ./usr/include/varnek/varnek.h
    ./usr/include/varnek/export.h
    ./usr/include/varnek/services/Vector.h
    ./usr/include/varnek/label_shape/LabelBackground.h
    ./usr/include/varnek/draw_style/DrawColorMode.h
    ${lib}/cmake/Varnek/VarnekConfig.cmake
    ${lib}/cmake/Varnek/VarnekConfigVersion.cmake
    ${lib}/cmake/Varnek/VarnekTargets.cmake
    ${lib}/pkgconfig/varnek.pc)
set(tool_package varnek-tools graphics no "libvarnek1 \\(= ${version}\\).*libc6 \\(>= "
    ./usr/bin/varnek-labels ./usr/share/man/man1/varnek-labels.1.gz)
set(debs "")
foreach(row runtime_package development_package tool_package)
    list(POP_FRONT ${row} package section multi_arch depends)
    set(deb ${WORK_DIR}/${package}_${version}_amd64.deb)
    if(NOT EXISTS ${deb})
        file(GLOB made ${WORK_DIR}/*.deb)
        message(FATAL_ERROR "no ${deb}; cpack made: ${made}")
    endif()
    list(APPEND debs ${deb})
    execute_process(COMMAND ${DPKG_DEB} --field ${deb}
        OUTPUT_VARIABLE fields COMMAND_ERROR_IS_FATAL ANY)
    foreach(expected "Package: ${package}\n" "Version: ${version}\n" "Section: ${section}\n"
            "Depends: [^\n]*${depends}" "Maintainer: [^\n]+<" "Homepage: http"
            "Description: [^\n]*placement")
        if(NOT fields MATCHES "${expected}")
            message(FATAL_ERROR "${package}: control fields lack '${expected}':\n${fields}")
        endif()
    endforeach()
    if(fields MATCHES "Multi-Arch: ([^\n]*)")
        set(field ${CMAKE_MATCH_1})
    else()
        set(field no)
    endif()
    if(NOT field STREQUAL multi_arch)
        message(FATAL_ERROR "${package}: Multi-Arch is ${field}, not ${multi_arch}")
    endif()
    execute_process(COMMAND ${DPKG_DEB} --contents ${deb}
        OUTPUT_VARIABLE contents COMMAND_ERROR_IS_FATAL ANY)
    foreach(expected ${${row}} ./usr/share/doc/${package}/copyright
            ./usr/share/doc/${package}/changelog.Debian.gz)
        string(FIND "${contents}" " ${expected}\n" at)
        if(at EQUAL -1)
            message(FATAL_ERROR "${package} lacks ${expected}:\n${contents}")
        endif()
    endforeach()
    if(contents MATCHES "_test")
        message(FATAL_ERROR "${package} holds test programs:\n${contents}")
    endif()
endforeach()

execute_process(COMMAND ${DPKG_DEB} --info ${WORK_DIR}/libvarnek1_${version}_amd64.deb
    OUTPUT_VARIABLE info COMMAND_ERROR_IS_FATAL ANY)
# The trigger refreshes the loader's cache; no maintainer script does.
if(NOT info MATCHES "shlibs" OR NOT info MATCHES "triggers" OR info MATCHES "post(inst|rm)")
    message(FATAL_ERROR "libvarnek1 lacks its shlibs or triggers file, or has scripts:\n${info}")
endif()

# What a distribution's archive checks: no errors, and no warnings either.
run(${LINTIAN} --fail-on error,warning --suppress-tags initial-upload-closes-no-bugs ${debs})

# A throwaway root holding the three packages.
set(root ${WORK_DIR}/root)
foreach(deb IN LISTS debs)
    run(${DPKG_DEB} -x ${deb} ${root})
endforeach()
file(READ ${root}/usr/share/doc/libvarnek1/copyright copyright)
foreach(expected "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
        "\nFiles: \\*\nCopyright: [^\n]*the Varnek authors\nLicense: Expat\n Permission")
    if(NOT copyright MATCHES "${expected}")
        message(FATAL_ERROR "the copyright file lacks '${expected}':\n${copyright}")
    endif()
endforeach()

# Installed to the system's folders, nothing carries a search path of its own.
file(GLOB elf_files ${root}/usr/bin/* ${root}/usr/${LIBDIR}/*.so.${VERSION})
foreach(file IN LISTS elf_files)
    execute_process(COMMAND ${READELF} -d ${file}
        OUTPUT_VARIABLE dynamic COMMAND_ERROR_IS_FATAL ANY)
    if(dynamic MATCHES "R(UN)?PATH")
        message(FATAL_ERROR "${file} has a search path:\n${dynamic}")
    endif()
    if(BIND_NOW AND NOT dynamic MATCHES "BIND_NOW")
        message(FATAL_ERROR "${file} is not bound at load time:\n${dynamic}")
    endif()
endforeach()

set(ENV{LD_LIBRARY_PATH} ${root}/usr/${LIBDIR})
run(${root}/usr/bin/varnek-labels styles)

# find_package(Varnek) from the root.
consume_with_find_package(${root}/usr ${WORK_DIR}/consumer)

# pkg-config, the root standing in for the system.
set(ENV{PKG_CONFIG_LIBDIR} ${root}/usr/${LIBDIR}/pkgconfig)
set(ENV{PKG_CONFIG_SYSROOT_DIR} ${root})
set(ENV{PKG_CONFIG_ALLOW_SYSTEM_CFLAGS} 1)
set(ENV{PKG_CONFIG_ALLOW_SYSTEM_LIBS} 1)
consume_with_pkg_config(${WORK_DIR}/pkg_config_consumer -std=c++17)
