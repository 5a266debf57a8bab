# The Debian package, made by `cpack` in a build folder (tools/package does it all).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tunetitler)
set(CPACK_PACKAGE_VENDOR Quillmoor)
set(TUNETITLER_MAINTAINER "Quillmoor <tunetitler@quillmoor.invalid>" CACHE STRING
    "Maintainer named in the package")
set(CPACK_PACKAGE_CONTACT "${TUNETITLER_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rename song files after the title stored inside them")
set(CPACK_PACKAGE_DESCRIPTION "\
Arranger keyboards save songs, styles and patterns under names like
SONG0001.MID, while the real title sits inside each file. Tunetitler reads
that title from every Standard MIDI file (*.mid), style file (*.sty) and
pattern file (*.pat) of a folder and proposes a file name made from it.
The selected files are renamed in place or copied under their new names
into another folder, taking lyrics and other files of the same name along;
the list of names can be saved as text or as a spreadsheet file.

The package holds the desktop program Tunetitler (English and German) and
the command-line tool tunetitler-cli.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${TUNETITLER_HOMEPAGE}")

# The program looks for its help pages under the prefix it was built for, so the
# package installs to that same prefix.
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library dependencies come from the linked libraries; the SVG plugin is loaded at
# run time (for the icon), so no linked library names it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TUNETITLER_GUI)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
    # xdg-open shows the help pages in the desktop's browser; Qt's translations
    # give the standard buttons and the Save As dialog the system's language.
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")
endif()

include(CPack)
