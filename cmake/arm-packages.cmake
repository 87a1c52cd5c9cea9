# Builds both ARM programs (profile-guided, trained under qemu) and puts their
# Debian packages pelko_2.0_<arch>.deb and tarballs pelko-2.0-linux-<arch>.tar.gz
# in the current folder.
# Usage, from the project root: cmake -P cmake/arm-packages.cmake
set(ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
foreach(ARCH aarch64:arm64 armhf:armhf)
  string(REPLACE ":" ";" ARCH ${ARCH})
  list(GET ARCH 0 TOOLCHAIN)
  list(GET ARCH 1 SUFFIX)
  set(BUILD ${ROOT}/build-${SUFFIX})
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${ROOT} -B ${BUILD} -G Ninja
    -DCMAKE_TOOLCHAIN_FILE=${ROOT}/cmake/linux-${TOOLCHAIN}.cmake -DCMAKE_BUILD_TYPE=Release -DPELKO_PGO=ON
    COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD} --target tarball COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${CMAKE_CPACK_COMMAND} -G DEB WORKING_DIRECTORY ${BUILD} OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  foreach(FILE pelko_2.0_${SUFFIX}.deb pelko-2.0-linux-${SUFFIX}.tar.gz)
    file(COPY_FILE ${BUILD}/${FILE} ${CMAKE_BINARY_DIR}/${FILE})
    message(STATUS "${CMAKE_BINARY_DIR}/${FILE}")
  endforeach()
endforeach()
