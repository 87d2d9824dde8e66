# cmake -P script: install BUILD_DIR into WORK_DIR/prefix, then build and run
# the consumer in CONSUMER_DIR with find_package and with pkg-config, then
# uninstall it.
cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/Consume.cmake)

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
if(CONFIG)
    run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} --config ${CONFIG})
else()
    run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
endif()

# find_package(Varnek CONFIG REQUIRED) -> Varnek::varnek
consume_with_find_package(${prefix} ${WORK_DIR}/consumer)

# pkg-config --cflags --libs varnek
file(GLOB_RECURSE pc_file ${prefix}/varnek.pc)
if(NOT pc_file)
    message(FATAL_ERROR "no varnek.pc installed under ${prefix}")
endif()
file(READ ${pc_file} pc_text)
if(NOT pc_text MATCHES "\nLicense: MIT\n")
    message(FATAL_ERROR "varnek.pc does not name the licence:\n${pc_text}")
endif()
get_filename_component(pc_dir ${pc_file} DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${pc_dir})
execute_process(COMMAND ${PKG_CONFIG} --variable=libdir varnek
    OUTPUT_VARIABLE libdir OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
consume_with_pkg_config(${WORK_DIR}/pkg_config_consumer -std=c++20 -Wl,-rpath,${libdir})
# The consumer chooses its language standard (the CMake target carries only
# the minimum, C++17), and the paths are the installation's own, written
# plainly.
if(pkg_config_flags MATCHES "-std" OR pkg_config_flags MATCHES "/\\.\\./"
        OR NOT pkg_config_flags MATCHES "-I${prefix}/include( |$)")
    message(FATAL_ERROR "pkg-config gives '${pkg_config_flags}'")
endif()

if(NOT EXISTS ${prefix}/share/doc/Varnek/LICENSE)
    message(FATAL_ERROR "the licence is not installed to ${prefix}/share/doc/Varnek")
endif()

# Uninstalling as the README says: removing the files install_manifest.txt
# lists leaves no file of the library behind.
file(STRINGS ${BUILD_DIR}/install_manifest.txt installed)
file(REMOVE ${installed})
file(GLOB_RECURSE left ${prefix}/*)
if(left)
    message(FATAL_ERROR "files left after removing the installed ones:\n${left}")
endif()
