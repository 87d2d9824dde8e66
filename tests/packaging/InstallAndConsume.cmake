# cmake -P script: install BUILD_DIR into WORK_DIR/prefix, then build and run
# the consumer in CONSUMER_DIR with find_package and with pkg-config, then
# uninstall it.
cmake_minimum_required(VERSION 3.25)

function(run)
    execute_process(COMMAND ${ARGV} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        string(REPLACE ";" " " command "${ARGV}")
        message(FATAL_ERROR "failed (${result}): ${command}")
    endif()
endfunction()

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
if(CONFIG)
    run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix} --config ${CONFIG})
else()
    run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
endif()

# find_package(Varnek CONFIG REQUIRED) -> Varnek::varnek
run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/consumer
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
    -DCMAKE_BUILD_TYPE=Release)
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
run(${WORK_DIR}/consumer/varnek_consumer)

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
find_program(PKG_CONFIG pkg-config REQUIRED)
execute_process(COMMAND ${PKG_CONFIG} --cflags --libs varnek
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${PKG_CONFIG} --variable=libdir varnek
    OUTPUT_VARIABLE libdir OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
# The consumer chooses its language standard (the CMake target carries only
# the minimum, C++17), and the paths are the installation's own, written
# plainly.
if(flags MATCHES "-std" OR flags MATCHES "/\\.\\./" OR NOT flags MATCHES "-I${prefix}/include( |$)")
    message(FATAL_ERROR "pkg-config gives '${flags}'")
endif()
separate_arguments(flags UNIX_COMMAND "${flags}")
run(${CXX_COMPILER} -std=c++20 ${CONSUMER_DIR}/main.cpp ${flags} -Wl,-rpath,${libdir}
    -o ${WORK_DIR}/pkg_config_consumer)
run(${WORK_DIR}/pkg_config_consumer)

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
