# Installs the built program into a fresh prefix, as a packager or an
# administrator would, and checks what the menu entry, the desktop and a user
# without a display rely on.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()

foreach(file bin/Qorvix share/quorvex/Qorvix.html share/man/man1/Qorvix.1.gz share/man/ja/man1/Qorvix.1.gz
             share/doc/quorvex/copyright share/doc/quorvex/changelog.gz)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# The entry starts the program by its full path and names no working folder.
set(entry_file "${PREFIX}/share/applications/quorvex.desktop")
file(READ "${entry_file}" entry)
foreach(line "Exec=${PREFIX}/bin/Qorvix" "Name=Mandelbrot Explorer" "Name[ja]=マンデルブロ探索"
             "StartupWMClass=Qorvix" "Icon=quorvex")
  string(FIND "${entry}" "\n${line}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the entry lacks the line ${line}")
  endif()
endforeach()
if(entry MATCHES "\nPath=")
  message(FATAL_ERROR "the entry sets a working folder")
endif()
execute_process(COMMAND desktop-file-validate "${entry_file}" RESULT_VARIABLE valid
                OUTPUT_VARIABLE complaints ERROR_VARIABLE complaints)
if(NOT valid EQUAL 0 OR NOT complaints STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate: ${complaints}")
endif()

# PNG signature, IHDR with the side as width and height, 8 bits, RGBA.
foreach(side_and_hex 16:10 32:20 48:30 64:40 128:80 256:100)
  string(REPLACE ":" ";" pair "${side_and_hex}")
  list(GET pair 0 side)
  list(GET pair 1 hex)
  string(LENGTH "${hex}" digits)
  math(EXPR padding "8 - ${digits}")
  string(REPEAT "0" ${padding} zeros)
  file(READ "${PREFIX}/share/icons/hicolor/${side}x${side}/apps/quorvex.png" header LIMIT 26 HEX)
  if(NOT header STREQUAL "89504e470d0a1a0a0000000d49484452${zeros}${hex}${zeros}${hex}0806")
    message(FATAL_ERROR "the ${side} px icon is not a ${side} x ${side} PNG picture with transparency")
  endif()
endforeach()

# Without a display, from a folder without a help file, as a user whose
# configuration lives in a fresh home: the installed program keeps its
# settings there and finds its help under its own prefix.
set(home "${PREFIX}-home")
file(REMOVE_RECURSE "${home}")
file(MAKE_DIRECTORY "${home}")
set(no_display ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM
    --unset=XDG_CONFIG_HOME HOME=${home} XDG_DATA_HOME=${home}/none XDG_DATA_DIRS=${home}/none)
execute_process(COMMAND ${no_display} "${PREFIX}/bin/Qorvix" --version
                RESULT_VARIABLE status OUTPUT_VARIABLE version ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT version MATCHES "^Qorvix \\(Quorvex\\) ${VERSION}\n$")
  message(FATAL_ERROR "--version without a display: ${status} ${version}${errors}")
endif()
execute_process(COMMAND ${no_display} "${PREFIX}/bin/Qorvix" --help WORKING_DIRECTORY "${home}"
                RESULT_VARIABLE status OUTPUT_VARIABLE usage ERROR_VARIABLE errors)
string(FIND "${usage}" "\nSettings file: ${home}/.config/quorvex/Qorvix.ini\n" settings_at)
string(FIND "${usage}" "\nHelp file: ${PREFIX}/share/quorvex/Qorvix.html\n" help_at)
if(NOT status EQUAL 0 OR settings_at EQUAL -1 OR help_at EQUAL -1)
  message(FATAL_ERROR "--help of the installed program: ${status} ${usage}${errors}")
endif()
execute_process(COMMAND ${no_display} "${PREFIX}/bin/Qorvix" --versoin
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 2 OR NOT output STREQUAL "" OR NOT errors MATCHES "versoin")
  message(FATAL_ERROR "an unknown option: ${status} ${output}${errors}")
endif()
file(REMOVE_RECURSE "${home}")
