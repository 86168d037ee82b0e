# Where `cmake --install` puts the program and what the desktop needs around
# it. The help document goes to the program's data folder; the program finds
# it there relative to its own folder, so any prefix works.
include(GNUInstallDirs)
set(KIVO_HELP_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/kivo)
file(RELATIVE_PATH KIVO_HELP_FROM_PROGRAM ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/kivo)
# The example lists go where the help goes, in a folder of their own
# (beside the program in a build, beside kivo.exe in the Windows zip).
set(KIVO_EXAMPLE_LISTS
    ${PROJECT_SOURCE_DIR}/examples/sandaibanashi.txt
    ${PROJECT_SOURCE_DIR}/examples/drawing-practice.txt)

if(KIVO_WITH_QT AND UNIX)
  add_subdirectory(${PROJECT_SOURCE_DIR}/packaging ${PROJECT_BINARY_DIR}/packaging)
endif()
