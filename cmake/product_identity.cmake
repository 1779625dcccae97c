# The maker's facts that the Windows version resource and the installer show,
# read from the About window's texts so that each is written in one place:
#   VESPERINE_MAKER      the name in the copyright line ("Vesperine")
#   VESPERINE_COPYRIGHT  that line up to the maker's name, as C escapes
#   VESPERINE_WEBSITE    the site's root address, without the About query
file(READ ${PROJECT_SOURCE_DIR}/about/about_texts.h about_texts)
string(REGEX MATCH "\"(Copyright \\\\xA9 [0-9-]+ ([^.\"]+))\\." copyright_line "${about_texts}")
set(VESPERINE_COPYRIGHT "${CMAKE_MATCH_1}")
set(VESPERINE_MAKER "${CMAKE_MATCH_2}")
string(REGEX MATCH "website_address = \"([^?\"]+)" website_line "${about_texts}")
set(VESPERINE_WEBSITE "${CMAKE_MATCH_1}")
if(NOT VESPERINE_MAKER OR NOT VESPERINE_WEBSITE)
  message(FATAL_ERROR "about/about_texts.h: no copyright line or website address found")
endif()
unset(about_texts)
