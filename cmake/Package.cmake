# The Debian package: cpack -G DEB (run in the build folder) gives virelan_<version>_<arch>.deb.
set(CPACK_PACKAGE_NAME virelan)
set(CPACK_PACKAGE_VENDOR "Vire Lan")
set(CPACK_PACKAGE_CONTACT "Vire Lan <virelan@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "markbook for school teachers (French user interface)")
set(CPACK_PACKAGE_DESCRIPTION
    "Vire Lan keeps one file per class: up to 62 students, 30 rubrics with their\n"
    "coefficients, the marks and one card per student with a photo. It computes\n"
    "coefficient-scaled averages, ranks the class and writes a report into its own\n"
    "rich-text editor, draws charts and prints the class sheet and the student card.\n"
    "Beside each class it keeps the homework dates, the seating plan and the annual\n"
    "planning.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the executable links come from dpkg-shlibdeps; what it loads or draws with at run time is named
# here: the fonts of its forms and reports, Qt's French dialogs, and the library that writes its workbooks
# (named too, so that the package says it whatever dpkg-shlibdeps finds).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core, qt6-translations-l10n")
# A Wayland session runs it natively with Qt's Wayland plugin (else through XWayland); printing goes through CUPS.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cups")

include(CPack)
