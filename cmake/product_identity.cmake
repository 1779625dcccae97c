# The maker's facts that the About windows, the Windows version resource,
# the installer and the Debian package show, each written in one place:
#   VESPERINE_WEBSITE    the site's root address, ending in a slash (cache)
#   VESPERINE_SUPPORT    the support e-mail address (cache)
#   VESPERINE_MAKER      the name in the copyright line ("Vesperine")
#   VESPERINE_COPYRIGHT  that line up to the maker's name, as C escapes
# A distributor sets the first two with -D; the last two are read from the
# About window's texts.
set(VESPERINE_WEBSITE "https://vesperine.example/" CACHE STRING
    "The maker's website: its root address, ending in a slash")
set(VESPERINE_SUPPORT "support@vesperine.example" CACHE STRING "The maker's support e-mail address")
if(NOT VESPERINE_WEBSITE MATCHES "^https?://[^\"\\\\ ]+/$")
  message(FATAL_ERROR "VESPERINE_WEBSITE must be an http(s) address ending in a slash: ${VESPERINE_WEBSITE}")
endif()
if(NOT VESPERINE_SUPPORT MATCHES "^[^\"\\\\ @]+@[^\"\\\\ @]+$")
  message(FATAL_ERROR "VESPERINE_SUPPORT must be an e-mail address: ${VESPERINE_SUPPORT}")
endif()
# The About windows take both through a generated header.
configure_file(${PROJECT_SOURCE_DIR}/about/about_site.h.in
               ${PROJECT_BINARY_DIR}/generated/about/about_site.h @ONLY)
include_directories(${PROJECT_BINARY_DIR}/generated)

file(READ ${PROJECT_SOURCE_DIR}/about/about_texts.h about_texts)
string(REGEX MATCH "\"(Copyright \\\\xA9 [0-9-]+ ([^.\"]+))\\." copyright_line "${about_texts}")
set(VESPERINE_COPYRIGHT "${CMAKE_MATCH_1}")
set(VESPERINE_MAKER "${CMAKE_MATCH_2}")
if(NOT VESPERINE_MAKER)
  message(FATAL_ERROR "about/about_texts.h: no copyright line found")
endif()
unset(about_texts)
