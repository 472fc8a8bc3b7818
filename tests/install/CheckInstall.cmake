# Installs the built program into a fresh prefix and checks what its menu
# entry relies on: the program, the icon and the working folder under that
# prefix, and an entry the desktop accepts.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()

set(entry_file "${PREFIX}/share/applications/quorvex.desktop")
file(READ "${entry_file}" entry)
string(FIND "${entry}" "\nExec=Qorvix\n" exec_at)
if(exec_at EQUAL -1 OR NOT EXISTS "${PREFIX}/bin/Qorvix")
  message(FATAL_ERROR "the entry does not start the installed program")
endif()
string(FIND "${entry}" "\nPath=${PREFIX}/share/quorvex\n" path_at)
if(path_at EQUAL -1 OR NOT IS_DIRECTORY "${PREFIX}/share/quorvex")
  message(FATAL_ERROR "the entry's working folder is not the installed help folder")
endif()

# PNG signature, then the IHDR chunk with width and height 256.
file(READ "${PREFIX}/share/icons/hicolor/256x256/apps/quorvex.png" header LIMIT 24 HEX)
if(NOT header STREQUAL "89504e470d0a1a0a0000000d494844520000010000000100")
  message(FATAL_ERROR "the icon is not a 256 x 256 PNG picture")
endif()

execute_process(COMMAND desktop-file-validate "${entry_file}" RESULT_VARIABLE valid
                OUTPUT_VARIABLE complaints ERROR_VARIABLE complaints)
if(NOT valid EQUAL 0 OR NOT complaints STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate: ${complaints}")
endif()
