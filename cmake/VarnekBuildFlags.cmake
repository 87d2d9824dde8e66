# Flags every target of the project is built with. Consumers never see them:
# the library's interface carries no compile options of its own.
include(CheckCXXCompilerFlag)
include(GenerateExportHeader)

set(CMAKE_CXX_VISIBILITY_PRESET hidden)
set(CMAKE_VISIBILITY_INLINES_HIDDEN ON)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_library(varnek_build_flags INTERFACE)
target_compile_options(varnek_build_flags INTERFACE
    -Wall -Wextra -Wpedantic -Wconversion -Wshadow
    # The label geometry is specified bit-exactly in single precision: no
    # fused multiply-add may change a rounding on a CPU that has one.
    -ffp-contract=off)
if(VARNEK_WARNINGS_AS_ERRORS)
    target_compile_options(varnek_build_flags INTERFACE -Werror)
endif()

option(VARNEK_VECTOR_LANES "Use the compiler's vector types for the placer's candidate tests and the 3D projection where it has them" ON)
include(CheckCXXSourceCompiles)

# With VARNEK_VECTOR_LANES on and <source> compiling warning-free, defines
# <result>=1 for every target; says which route <what> takes.
function(varnek_use_lanes_where_they_compile result what lanes source)
    if(VARNEK_VECTOR_LANES)
        set(CMAKE_REQUIRED_FLAGS "-Wall -Wextra -Wpedantic -Werror")
        check_cxx_source_compiles("${source}" ${result})
    endif()
    if(VARNEK_VECTOR_LANES AND ${result})
        target_compile_definitions(varnek_build_flags INTERFACE ${result}=1)
        message(STATUS "${what}: ${lanes}")
    else()
        message(STATUS "${what}: plain loop")
    endif()
endfunction()

# The placer tests a label's candidates four lanes at a time in the
# compiler's vector types (GNU vector extensions and __builtin_shufflevector,
# which g++ 11 lacks) where they compile; elsewhere, or with
# VARNEK_VECTOR_LANES off, it takes a plain loop over the lanes, which gives
# the same results bit for bit.
varnek_use_lanes_where_they_compile(VARNEK_HAS_VECTOR_LANES "Placer candidate tests" "vector lanes" [[
#include <cstdint>
using FloatQuad = float __attribute__((vector_size(16)));
using OutcomeQuad = std::int32_t __attribute__((vector_size(16)));
int main() {
    const FloatQuad a = {1.0f, 2.0f, 3.0f, 4.0f};
    const FloatQuad b = a + 1.0f;
    const OutcomeQuad less = (a < b) & OutcomeQuad{1, 2, 4, 8};
    const OutcomeQuad swapped = less | __builtin_shufflevector(less, less, 2, 3, 0, 1);
    return swapped[0] == 5 ? 0 : 1;
}
]])

# The 3D call projects its anchors four lanes at a time in the processor's
# AVX2 instructions, laid out by hand, where the compiler makes functions
# for them from their intrinsics (a target attribute) and the processor has
# them (asked at run time); elsewhere, or with VARNEK_VECTOR_LANES off, a
# plain loop gives the same bits.
varnek_use_lanes_where_they_compile(VARNEK_HAS_WIDE_PROJECTION "3D anchor projection"
    "AVX2 lanes where the processor has them" [[
#include <immintrin.h>
__attribute__((target("avx2"))) int wide(const float* values) {
    const __m256d lanes = _mm256_cvtps_pd(_mm_loadu_ps(values));
    const __m256d less = _mm256_cmp_pd(lanes, _mm256_set1_pd(2.0), _CMP_LT_OQ);
    const __m256 narrowed = _mm256_permutevar8x32_ps(_mm256_castpd_ps(less),
        _mm256_setr_epi32(0, 2, 4, 6, 0, 2, 4, 6));
    const __m128 chosen = _mm_blendv_ps(_mm_setzero_ps(), _mm256_cvtpd_ps(lanes),
        _mm256_castps256_ps128(narrowed));
    return _mm_movemask_ps(chosen) + static_cast<int>(_mm_cvtss_f32(chosen));
}
int main() {
    const float values[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    return __builtin_cpu_supports("avx2") ? wide(values) - 1 : 0;
}
]])

# Where the compiler makes functions for the processor's AVX-512
# instructions (foundation, double and quad words, 128- and 256-bit forms)
# from their intrinsics and the processor has them (asked at run time), the
# 3D call projects its anchors eight lanes at a time in them, laid out by
# hand; elsewhere it takes one of the routes above: the same bits.
varnek_use_lanes_where_they_compile(VARNEK_HAS_AVX512_PROJECTION "3D anchor projection, wider"
    "AVX-512 lanes where the processor has them" [[
#include <immintrin.h>
__attribute__((target("avx512f,avx512dq,avx512vl"))) int wide(const float* values, int* out) {
    const __m512d lanes = _mm512_maskz_cvtps_pd(0xFF, _mm256_loadu_ps(values));
    const __mmask8 less = _mm512_cmp_pd_mask(lanes, _mm512_set1_pd(2.0), _CMP_LT_OQ);
    const __m256 chosen = _mm512_mask_cvtpd_ps(_mm256_setzero_ps(), less, lanes);
    const __m512i joined = _mm512_maskz_inserti64x4(0xFF, _mm512_setzero_si512(),
        _mm256_castps_si256(chosen), 1);
    const __m512i moved = _mm512_mask2_permutex2var_epi32(joined, _mm512_set1_epi32(1), 0x00F0,
        _mm512_maskz_compress_epi32(0x0F0F, joined));
    _mm512_mask_storeu_epi32(out, 0x00FF, moved);
    return _mm256_fpclass_ps_mask(chosen, 0x99) + out[0];
}
int main() {
    const float values[8] = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    int out[16] = {};
    return __builtin_cpu_supports("avx512f") ? wide(values, out) - 1 : 0;
}
]])

# Where the system backs memory with huge pages on a program's advice
# (madvise MADV_HUGEPAGE), the placer asks for them for its large per-frame
# arrays; elsewhere they take ordinary pages: the same results either way.
check_cxx_source_compiles([[
#include <sys/mman.h>
int main() {
    static char page[4096];
    return madvise(page, sizeof page, MADV_HUGEPAGE);
}
]] VARNEK_HAS_MADV_HUGEPAGE)
if(VARNEK_HAS_MADV_HUGEPAGE)
    target_compile_definitions(varnek_build_flags INTERFACE VARNEK_HAS_HUGE_PAGE_ADVICE=1)
else()
    target_compile_definitions(varnek_build_flags INTERFACE VARNEK_HAS_HUGE_PAGE_ADVICE=0)
endif()

# Within one source file, calls to the library's own exported functions may be
# inlined and bound directly; across files, varnek_limit_exports binds them.
check_cxx_compiler_flag(-fno-semantic-interposition VARNEK_HAS_NO_SEMANTIC_INTERPOSITION)
if(VARNEK_HAS_NO_SEMANTIC_INTERPOSITION)
    target_compile_options(varnek_build_flags INTERFACE -fno-semantic-interposition)
endif()

# Limits the dynamic symbols of a shared library of the project to what the
# version script <map> (in cmake/) lists, in its version node, and binds the
# library's calls to its own functions at link time:
# -fno-semantic-interposition only helps within one source file, so a call to
# an exported function of another file would otherwise go through the PLT on
# every call. A static archive has no dynamic symbols: it is left alone.
function(varnek_limit_exports target map)
    get_target_property(type ${target} TYPE)
    if(NOT type STREQUAL "SHARED_LIBRARY")
        return()
    endif()
    set(map ${PROJECT_SOURCE_DIR}/cmake/${map})
    target_link_options(${target} PRIVATE "LINKER:--version-script=${map}"
        "LINKER:-Bsymbolic-functions")
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${map})
endfunction()

# Gives a shared library of the project the project's version and, as its
# soname, the major version (libvarnek.so.1); a static archive has neither.
function(varnek_set_shared_library_version target)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "SHARED_LIBRARY")
        set_target_properties(${target} PROPERTIES
            VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
    endif()
endfunction()

# Optimises a Release build of <target> as a whole at link time. The label
# geometry is written as small functions spread over several files (reference
# point tests, indicator hooks, corner tables); only whole-library
# optimisation inlines them into the hot paths. Other build types, and
# toolchains without support, are left as they are.
function(varnek_optimize_whole_library target)
    if(NOT CMAKE_BUILD_TYPE STREQUAL "Release")
        return()
    endif()
    include(CheckIPOSupported)
    check_ipo_supported(RESULT supported LANGUAGES CXX)
    if(supported)
        set_property(TARGET ${target} PROPERTY INTERPROCEDURAL_OPTIMIZATION_RELEASE TRUE)
    endif()
endfunction()

# Generates <header> declaring <PREFIX>_API for <target> and adds it to the
# target's installed headers.
function(varnek_add_export_header target prefix header)
    set(generated ${PROJECT_BINARY_DIR}/include/${header})
    generate_export_header(${target}
        BASE_NAME ${prefix}
        EXPORT_MACRO_NAME ${prefix}_API
        NO_EXPORT_MACRO_NAME ${prefix}_NO_EXPORT
        EXPORT_FILE_NAME ${generated})
    target_sources(${target} PUBLIC
        FILE_SET generated_headers TYPE HEADERS
        BASE_DIRS ${PROJECT_BINARY_DIR}/include FILES ${generated})
endfunction()

# Adds the types named in ARGN to the library: each is one header, installed,
# and one source beside it in the current folder.
function(varnek_add_types)
    foreach(type IN LISTS ARGN)
        target_sources(varnek PRIVATE ${type}.cpp)
        target_sources(varnek PUBLIC
            FILE_SET HEADERS BASE_DIRS ${PROJECT_SOURCE_DIR} FILES ${type}.h)
    endforeach()
endfunction()

# Adds a GoogleTest executable <name> built from the given sources and
# registers its tests with CTest.
function(varnek_add_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE Varnek::varnek GTest::gtest_main varnek_build_flags)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST)
endfunction()

# Removes the install RPATH of <target>, installed to <destination>, when the
# installation puts the libraries in one of the system's library folders (a
# distribution's package, installed to /usr): the dynamic loader finds them
# there anyway, and a distribution accepts no search path of a package's own
# on system files. Installed anywhere else the RPATH stays, so that the tree
# works wherever it is put.
function(varnek_drop_rpath_in_system_libdir target component destination)
    install(CODE "
        set(system_libdirs \"${CMAKE_CXX_IMPLICIT_LINK_DIRECTORIES}\")
        cmake_path(SET libdir NORMALIZE \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}\")
        list(FIND system_libdirs \"\${libdir}\" at)
        if(NOT at EQUAL -1)
            file(RPATH_REMOVE FILE
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}/$<TARGET_FILE_NAME:${target}>\")
        endif()
        " COMPONENT ${component})
endfunction()
