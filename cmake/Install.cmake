# Installation (`cmake --install`, relocatable: every destination is relative
# to the prefix) and the Debian package (`make package`, CPack).
#
# The programs need nothing installed beside them at run time: the desktop
# launchers make a per-user working directory with the installed orvane-demo
# (see app/user_directory.h), which reads the Earth texture of xplanet-images.
include(GNUInstallDirs)

set(ORVANE_APP_ID "org.example.orvane" CACHE STRING
    "AppStream component id, a reverse domain name the project controls")
set(ORVANE_HOME_URL "https://orvane.example.org" CACHE STRING
    "The project's web home; the AppStream screenshots are published under screenshots/ there")
set(ORVANE_MAINTAINER "The Orvane developers <orvane@example.org>" CACHE STRING
    "Maintainer of the Debian package")

# --version of every program prints the project's version.
set_property(SOURCE ${PROJECT_SOURCE_DIR}/data/command_line.cpp TARGET_DIRECTORY orvane_data
             APPEND PROPERTY COMPILE_DEFINITIONS ORVANE_VERSION="${PROJECT_VERSION}")

foreach(program orvane orvane-maint orvane-demo orvane-tables orvane-import)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    # Relocations resolved at start and then made read-only, as Debian builds.
    target_link_options(${program} PRIVATE LINKER:-z,relro,-z,now)
  endif()
endforeach()

if(ORVANE_GUI)
  add_subdirectory(dist)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "see the waves of an earthquake travel through the Earth")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ORVANE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Libraries through dpkg-shlibdeps; what the programs open by name by hand:
# the General MIDI SoundFont, the fonts standing in for Arial and Times, and
# the Earth texture orvane-demo draws the pictures from.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "timgm6mb-soundfont | sf2-soundfont-gm, fonts-liberation2, xplanet-images")
# The help pages open in the desktop's browser, the texts in its editor; menus
# and dialogs want a sans-serif font (with the Liberation fonts alone
# fontconfig picks a monospaced one).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, fonts-dejavu-core")
set(CPACK_PACKAGE_DESCRIPTION
    "Orvane is a teaching program that shows how the waves of an earthquake
travel through and around the Earth. For one earthquake at a time it
animates a globe with the circles reached by the P, PP, S, SS and surface
waves, a cross-section of the Earth's interior with the wavefronts of the
seismic phases, and the seismograms of the recording stations, with the
arrivals marked and heard. It can run unattended on an exhibition display.
.
The package holds the viewer (orvane), the maintenance program that edits
the earthquakes and settings (orvane-maint), the importer that makes events
from recorded seismograms, from files or FDSN web services (orvane-import),
and the programs that make the demonstration data (orvane-demo) and the
seismic tables (orvane-tables).")
include(CPack)
