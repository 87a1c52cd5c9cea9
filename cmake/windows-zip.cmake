# Builds both Windows programs and packs them, with a README for Windows users
# and the licence (both with Windows line ends), into pelko-2.0-windows.zip in
# the current folder.
# Usage, from the project root: cmake -P cmake/windows-zip.cmake
set(ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
set(NAME pelko-2.0-windows)
set(STAGE ${CMAKE_BINARY_DIR}/${NAME})
file(REMOVE_RECURSE ${STAGE})
foreach(BUILD x86_64:x64:win64 i686:w32:win32)
  string(REPLACE ":" ";" BUILD ${BUILD})
  list(GET BUILD 0 ARCH)
  list(GET BUILD 1 SUFFIX)
  list(GET BUILD 2 FOLDER)
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${ROOT} -B ${ROOT}/build-${FOLDER} -G Ninja
    -DCMAKE_TOOLCHAIN_FILE=${ROOT}/cmake/mingw-${ARCH}.cmake -DCMAKE_BUILD_TYPE=Release -DPELKO_PGO=ON
    COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${ROOT}/build-${FOLDER} --target Pelko_2_${SUFFIX}
    COMMAND_ERROR_IS_FATAL ANY)
  # Trained under wine; where wine cannot run it, the program goes in unprofiled, and this says so.
  if(NOT EXISTS ${ROOT}/build-${FOLDER}/pgo-profile-${SUFFIX}/trained)
    message(WARNING "Pelko_2_${SUFFIX}.exe is NOT profile-guided: wine could not run it here to train it")
  endif()
  file(COPY ${ROOT}/build-${FOLDER}/Pelko_2_${SUFFIX}.exe DESTINATION ${STAGE})
endforeach()
foreach(TEXT doc/README-windows.txt:README.txt LICENSE:LICENSE.txt)
  string(REPLACE ":" ";" TEXT ${TEXT})
  list(GET TEXT 0 FROM)
  list(GET TEXT 1 TO)
  file(READ ${ROOT}/${FROM} CONTENT)
  string(REPLACE "\n" "\r\n" CONTENT "${CONTENT}")
  file(WRITE ${STAGE}/${TO} "${CONTENT}")
endforeach()
file(REMOVE ${NAME}.zip)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${NAME}.zip --format=zip ${NAME}
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR} COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${STAGE})
message(STATUS "${CMAKE_BINARY_DIR}/${NAME}.zip")
