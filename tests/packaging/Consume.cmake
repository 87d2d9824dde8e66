# What the packaging scripts share: running a command, and building and
# running the consumer in CONSUMER_DIR with CXX_COMPILER against an installed
# library, through find_package and through pkg-config.
find_program(PKG_CONFIG pkg-config REQUIRED)

# Runs the command; fails, naming it, unless it succeeds.
function(run)
    execute_process(COMMAND ${ARGV} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        string(REPLACE ";" " " command "${ARGV}")
        message(FATAL_ERROR "failed (${result}): ${command}")
    endif()
endfunction()

# Builds the consumer in <build> with find_package(Varnek) finding the
# library under <prefix>, and runs it.
function(consume_with_find_package prefix build)
    run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${build} -DCMAKE_PREFIX_PATH=${prefix}
        -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DCMAKE_BUILD_TYPE=Release)
    run(${CMAKE_COMMAND} --build ${build})
    run(${build}/varnek_consumer)
endfunction()

# Compiles the consumer into <program> with `pkg-config --cflags --libs
# varnek` (under the caller's PKG_CONFIG_* environment) and the further
# compiler arguments in ARGN, and runs it. Leaves pkg-config's answer in
# pkg_config_flags.
function(consume_with_pkg_config program)
    execute_process(COMMAND ${PKG_CONFIG} --cflags --libs varnek
        OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(arguments UNIX_COMMAND "${flags}")
    run(${CXX_COMPILER} ${CONSUMER_DIR}/main.cpp ${arguments} ${ARGN} -o ${program})
    run(${program})
    set(pkg_config_flags "${flags}" PARENT_SCOPE)
endfunction()
