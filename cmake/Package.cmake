# The Debian package: `cpack -G DEB` in the build folder (scripts/package)
# makes morvane_<version>_<arch>.deb from the install rules, with its library
# dependencies computed by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morvane)
set(CPACK_PACKAGE_VENDOR "The Morvane developers")
set(CPACK_PACKAGE_CONTACT "The Morvane developers <maintainers@morvane.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "metronome with accents, grouped measures and subdivisions")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The window needs a platform plugin, which no library links to; Qt's own
# dialogs and buttons are translated by its catalogues.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
# CPack puts the summary first and indents the text as the control file asks.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Morvane is a desktop metronome. Set a tempo from 10 to 280 beats
per minute, a measure (including the grouped meters 5 (3+2), 5 (2+3),
7 (4+3) and 7 (3+4)) and a subdivision of 2 to 8 clicks per beat, and
press Play. The accent, beat and click sounds can be replaced by your
own, each with its own level, and kept as sound schemes; tempo, measure
and subdivision can be kept as presets.

morvane-render writes the same click track to a WAV file for a
recording program, or plays it through an audio output.")
include(CPack)
