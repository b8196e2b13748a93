# Where an installed Quintabell keeps its parts, relative to the install prefix, and where the
# benchmark's sets come from.
include(GNUInstallDirs)

# The window finds its solver library, help file, example problems and the library's icon for
# problem files beside itself, so the real program lives with them in a folder of its own and
# bin/ holds a link to it.
set(QUINTABELL_INSTALL_PROGRAMDIR ${CMAKE_INSTALL_LIBDIR}/quintabell)
set(QUINTABELL_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/quintabell)

# The benchmark's sets live beside the project; an installed benchmark carries its own copy.
set(QUINTABELL_BENCH_SETS ${PROJECT_SOURCE_DIR}/../shared/bench)
set(QUINTABELL_INSTALL_BENCHDIR ${QUINTABELL_INSTALL_DATADIR}/bench)

# Paths between installed folders, which stay the same under any prefix or DESTDIR.
function(quintabell_install_path_between from to result)
  cmake_path(ABSOLUTE_PATH from BASE_DIRECTORY ${CMAKE_INSTALL_PREFIX})
  cmake_path(ABSOLUTE_PATH to BASE_DIRECTORY ${CMAKE_INSTALL_PREFIX})
  cmake_path(RELATIVE_PATH to BASE_DIRECTORY ${from})
  set(${result} ${to} PARENT_SCOPE)
endfunction()
