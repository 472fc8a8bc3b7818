# Builds the Debian package into a fresh folder and checks what apt-get and
# the menu rely on: everything under /usr, the libraries found by
# dpkg-shlibdeps, xdg-utils recommended, a stripped program started by its
# full path.
file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND cpack -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${OUT}"
                RESULT_VARIABLE packed OUTPUT_VARIABLE log ERROR_VARIABLE log)
set(deb "${OUT}/quorvex_${VERSION}_amd64.deb")
if(NOT packed EQUAL 0 OR NOT EXISTS "${deb}")
  message(FATAL_ERROR "cpack -G DEB failed: ${log}")
endif()

execute_process(COMMAND dpkg-deb -f "${deb}" Depends Recommends OUTPUT_VARIABLE fields)
foreach(wanted "libqt6widgets6 (>=" "libjpeg62-turbo (>=" "libc6 (>=" "Recommends: xdg-utils")
  string(FIND "${fields}" "${wanted}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the package lacks ${wanted}: ${fields}")
  endif()
endforeach()

execute_process(COMMAND dpkg-deb -c "${deb}" OUTPUT_VARIABLE listing)
if(listing MATCHES " \\./(usr/local|[^u])")
  message(FATAL_ERROR "the package installs outside /usr: ${listing}")
endif()

execute_process(COMMAND dpkg-deb -x "${deb}" "${OUT}/root")
file(READ "${OUT}/root/usr/share/applications/quorvex.desktop" entry)
if(NOT entry MATCHES "\nExec=/usr/bin/Qorvix\n")
  message(FATAL_ERROR "the entry does not start /usr/bin/Qorvix: ${entry}")
endif()
execute_process(COMMAND file -b "${OUT}/root/usr/bin/Qorvix" OUTPUT_VARIABLE kind)
if(NOT kind MATCHES ", stripped")
  message(FATAL_ERROR "the packaged program is not stripped: ${kind}")
endif()
file(REMOVE_RECURSE "${OUT}")
