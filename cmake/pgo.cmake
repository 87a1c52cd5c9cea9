# Profile-guided optimisation of the Release programs, included by CMakeLists.txt.
#
# A copy of the programs instrumented with -fprofile-generate is built in
# pgo-train-<suffix>/ (this project again, configured with PELKO_TRAINING) and
# run on a fixed workload: the search of the ten "test" positions, a perft and
# a short UCI session. The Release programs are then compiled from the profile
# in pgo-profile-<suffix>/. Both builds name the profile files relative to their
# own build folder (-fprofile-prefix-path), so each object finds the one its
# twin wrote. A profile file that is missing or does not match the code is a
# compile error, never a silently unoptimised program.
option(PELKO_PGO "Profile-guided optimisation of the Release programs" ON)
set(PELKO_TRAINING "" CACHE INTERNAL "Profile folder: set in the instrumented copy that the training runs")

# The workload; the 32-bit and ARM programs may run ten times slower, under qemu.
set(PGO_DEPTH_x64 10)
set(PGO_DEPTH_w32 8)
set(PGO_DEPTH_arm64 8)
set(PGO_DEPTH_armhf 8)

if(PELKO_TRAINING)
  set(PELKO_PGO OFF)  # this is the instrumented copy
  list(APPEND RELEASE_FLAGS -fprofile-generate=${PELKO_TRAINING} -fprofile-prefix-path=${PROJECT_BINARY_DIR})
endif()

# pelko_pgo(<suffix> <runs> [<runner>...]): the Release programs of the suffix
# are compiled from a profile, trained by running their instrumented copies in
# pgo-train-<suffix>/ under the runner (none for a native program). <runs> is
# false where they cannot run at all: the programs are then built without a
# profile, and the configure step says so.
function(pelko_pgo SUFFIX RUNS)
  set(PROFILE ${PROJECT_BINARY_DIR}/pgo-profile-${SUFFIX})
  if(NOT PELKO_PGO OR NOT CMAKE_BUILD_TYPE STREQUAL Release OR NOT RUNS)
    file(REMOVE_RECURSE ${PROFILE})  # no earlier profile may pass for this build's
    if(PELKO_PGO AND RUNS STREQUAL FALSE)
      message(WARNING "Pelko_2_${SUFFIX} cannot run here to train its profile: it is built WITHOUT profile-guided optimisation")
    endif()
    return()
  endif()
  set(TRAIN ${PROJECT_BINARY_DIR}/pgo-train-${SUFFIX})
  set(PROGRAMS Pelko_2_${SUFFIX} perft_bench_${SUFFIX} search_bench_${SUFFIX})
  # Link-time optimisation compiles again at the link: it needs the flags too.
  set(FLAGS -fprofile-use=${PROFILE} -fprofile-prefix-path=${PROJECT_BINARY_DIR} -fprofile-partial-training
    -Werror=missing-profile)
  foreach(TARGET engine_${SUFFIX} ${PROGRAMS})
    target_compile_options(${TARGET} PRIVATE ${FLAGS})
    target_link_options(${TARGET} PRIVATE ${FLAGS})
    add_dependencies(${TARGET} pgo_training_${SUFFIX})
  endforeach()

  set(OPTIONS)
  foreach(VARIABLE CMAKE_TOOLCHAIN_FILE CMAKE_CXX_COMPILER CMAKE_CXX_FLAGS CMAKE_CXX_FLAGS_RELEASE PELKO_LTO PELKO_NATIVE)
    list(APPEND OPTIONS "-D${VARIABLE}=${${VARIABLE}}")
  endforeach()
  string(JOIN " " RUNNER ${ARGN})
  set(EXE ${CMAKE_EXECUTABLE_SUFFIX})
  file(GLOB HEADERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/*/*.h)
  add_custom_command(OUTPUT ${PROFILE}/trained
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${PROFILE}
    COMMAND ${CMAKE_COMMAND} -S ${PROJECT_SOURCE_DIR} -B ${TRAIN} -G ${CMAKE_GENERATOR} -DCMAKE_BUILD_TYPE=Release
      ${OPTIONS} -DPELKO_TESTS=OFF -DPELKO_TRAINING=${PROFILE}
    COMMAND ${CMAKE_COMMAND} --build ${TRAIN} --target ${PROGRAMS}
    COMMAND ${ARGN} ${TRAIN}/perft_bench_${SUFFIX}${EXE} start
    COMMAND ${ARGN} ${TRAIN}/search_bench_${SUFFIX}${EXE} ${PGO_DEPTH_${SUFFIX}}
    COMMAND sh -c "${RUNNER} ${TRAIN}/Pelko_2_${SUFFIX}${EXE} < ${PROJECT_SOURCE_DIR}/bench/pgo_session.txt"
    COMMAND ${CMAKE_COMMAND} -E touch ${PROFILE}/trained
    DEPENDS ${ENGINE_SOURCES} ${HEADERS} ${PROJECT_SOURCE_DIR}/frontend/main.cpp
      ${PROJECT_SOURCE_DIR}/bench/perft_bench.cpp ${PROJECT_SOURCE_DIR}/bench/search_bench.cpp
      ${PROJECT_SOURCE_DIR}/bench/pgo_session.txt ${PROJECT_SOURCE_DIR}/CMakeLists.txt ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
    COMMENT "Training the profile-guided build of ${PROGRAMS}"
    USES_TERMINAL VERBATIM)
  add_custom_target(pgo_training_${SUFFIX} DEPENDS ${PROFILE}/trained)
endfunction()
