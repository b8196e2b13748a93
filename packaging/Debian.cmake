# The Debian package: `cpack` over this build tree (scripts/package). Its files land under
# /usr; the dpkg triggers of shared-mime-info, desktop-file-utils and the icon theme refresh
# their databases when they do, so the package needs no scripts of its own.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quintabell)
set(CPACK_PACKAGE_VENDOR Quintabell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The default preset's programs carry debug information; the package does without.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "solver for orthodox chess directmate problems")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Quintabell finds every key of a mate in N: set up a position in its window,\n"
  "and each White first move that forces mate in at most N moves, whatever Black\n"
  "does, is listed the moment it is proven. With Black to move it lists the\n"
  "defences instead. Problems are saved as .cmt files, which open from the file\n"
  "manager.\n"
  "\n"
  "The command-line solver quintabell-solve drives the same engine for scripts\n"
  "and EPD collections; quintabell-bench times it on a set of problems.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quintabell maintainers <maintainers@quintabell.invalid>"
    CACHE STRING "Maintainer field of the Debian package")
# Not "games": Debian keeps those to programs in /usr/games, and this one is a solver.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# dpkg-shlibdeps (dpkg-dev) names the libraries the programs and the solver library link.
# (CPack also calls ldconfig after installing and removing, as for any library under /usr/lib;
# the loader never looks into the program's folder, so that call finds nothing to do.)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The program refreshes the MIME and desktop databases of a user when it registers the problem
# file type, and xdg-open then opens problem files with it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, xdg-utils")
include(CPack)
