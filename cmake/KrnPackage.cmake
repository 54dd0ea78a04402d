# The Debian package: cpack -G DEB in a configured build folder (scripts/package.sh does it all).
# Library dependencies come from dpkg-shlibdeps; what the programs load without linking is named.
set(CPACK_PACKAGE_NAME "quorkrn")
set(CPACK_PACKAGE_VENDOR "Quor")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "Quor KRN developers <krn@quor.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for prepress preview files")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "quorkrn")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR "DEB")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "graphics")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.quor.com/krn")
# Qt's own translations of the standard dialogs follow the German module when present.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
# The desktop entry, file type and icons are picked up by the triggers of these packages.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "shared-mime-info, desktop-file-utils")
# The extended description; CPack puts the summary line in front and indents every line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quor KRN shows the preview files a raster image processor writes for an
imposed press sheet (one TIFF per ink of each surface) as a colour composite
at thirteen zoom levels, with the imposition, the inks and the screened dots
ready to check before plates are made.

The package holds the viewer (quorkrn) and the command-line tool krn, which
makes sample jobs, reports on preview files and renders sheets without a
display, with the spot-colour library, the German language module and the
English and German user guides.")

include(CPack)
