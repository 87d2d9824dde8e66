# cmake -P script: build the project in PARENT_DIR, which adds the library in
# SOURCE_DIR with add_subdirectory, in WORK_DIR, install it and run its
# installed program:
#   - by default the library is static and leaves the parent's install step
#     and packaging alone;
#   - with VARNEK_INSTALL its install rules come in, and the consumer in
#     CONSUMER_DIR builds against the installed static archives;
#   - built shared, only the shared libraries are installed with the
#     parent's program, which finds them there.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/Consume.cmake)

# Configures the parent in <build> with the cache settings in ARGN, builds
# it, installs it into <prefix>, runs the installed program and lists the
# installed files, relative to the prefix, in <out>.
function(build_and_install build prefix out)
    run(${CMAKE_COMMAND} -S ${PARENT_DIR} -B ${build} -DVARNEK_SOURCE_DIR=${SOURCE_DIR}
        -DCMAKE_CXX_COMPILER=${CXX_COMPILER} ${ARGN})
    if(EXISTS ${build}/CPackConfig.cmake)
        message(FATAL_ERROR "the library wrote a CPack configuration for its parent")
    endif()
    run(${CMAKE_COMMAND} --build ${build} --parallel 2)
    run(${CMAKE_COMMAND} --install ${build} --prefix ${prefix})
    run(${prefix}/bin/parent_view)
    file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${prefix} ${prefix}/*)
    set(${out} "${installed}" PARENT_SCOPE)
endfunction()

# Fails unless each regular expression in ARGN matches one of <files>, or,
# with NONE, none does.
function(expect_installed what files)
    cmake_parse_arguments(PARSE_ARGV 2 expect "NONE" "" "")
    foreach(pattern IN LISTS expect_UNPARSED_ARGUMENTS)
        set(found ${files})
        list(FILTER found INCLUDE REGEX "${pattern}")
        if(expect_NONE AND found)
            message(FATAL_ERROR "${what}: the install step holds ${found}")
        elseif(NOT expect_NONE AND NOT found)
            message(FATAL_ERROR "${what}: the install step lacks ${pattern}:\n${files}")
        endif()
    endforeach()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
build_and_install(${WORK_DIR}/static ${WORK_DIR}/static_default installed)
expect_installed("static" "${installed}" "^bin/parent_view$" "^share/parent/")
expect_installed("static" "${installed}" NONE "varnek")

# The same build with the library's install rules: nothing is compiled again.
set(prefix ${WORK_DIR}/static_install)
build_and_install(${WORK_DIR}/static ${prefix} installed -DVARNEK_INSTALL=ON)
expect_installed("static, VARNEK_INSTALL" "${installed}" "libvarnek\\.a$"
    "libvarnek_translator\\.a$" "varnek/varnek\\.h$" "VarnekConfig\\.cmake$" "varnek\\.pc$")
expect_installed("static, VARNEK_INSTALL" "${installed}" NONE "\\.so")
consume_with_find_package(${prefix} ${WORK_DIR}/static_consumer)
file(GLOB_RECURSE pc_file ${prefix}/varnek.pc)
get_filename_component(pc_dir ${pc_file} DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${pc_dir})
consume_with_pkg_config(${WORK_DIR}/static_pkg_config_consumer -std=c++17)

build_and_install(${WORK_DIR}/shared ${WORK_DIR}/shared_default installed -DBUILD_SHARED_LIBS=ON)
expect_installed("shared" "${installed}" "libvarnek\\.so\\.1$" "libvarnek_translator\\.so\\.1$")
expect_installed("shared" "${installed}" NONE "\\.h$" "Varnek" "\\.pc$" "\\.so$" "LICENSE")
