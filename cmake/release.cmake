# The release's facts, each written once: the version in project(), the release date in the newest
# entry of packaging/changelog, the licence in LICENSE. Everything that repeats them is generated.

set(VELLUMINE_CONTACT "Vellumine team <team@vellumine.example>")

# The newest changelog entry must be this version; its date is the release date (YYYY-MM-DD).
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog changelog_heading LIMIT_COUNT 1)
if(NOT changelog_heading MATCHES "^vellumine \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog: the newest entry is not ${PROJECT_VERSION}: "
                      "${changelog_heading}")
endif()
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog changelog_trailer
     REGEX "^ -- " LIMIT_COUNT 1)
if(NOT changelog_trailer MATCHES ">  [A-Z][a-z][a-z], ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9]+) ")
  message(FATAL_ERROR "packaging/changelog: no date in ${changelog_trailer}")
endif()
set(day ${CMAKE_MATCH_1})
set(year ${CMAKE_MATCH_3})
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${CMAKE_MATCH_2} month_index)
math(EXPR month "${month_index} + 101")  # 101..112, to cut to two digits
string(SUBSTRING ${month} 1 2 month)
set(VELLUMINE_RELEASE_DATE "${year}-${month}-${day}")

# The version for C++ and the Windows resources.
set(VELLUMINE_VERSION_RECORD_TEXT
    "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
configure_file(${PROJECT_SOURCE_DIR}/cmake/vellumine_version.h.in
               ${PROJECT_BINARY_DIR}/generated/vellumine_version.h)
configure_file(${PROJECT_SOURCE_DIR}/resources/vellumine.manifest.in
               ${PROJECT_BINARY_DIR}/generated/vellumine.manifest)
add_library(vellumine_version INTERFACE)
target_include_directories(vellumine_version INTERFACE ${PROJECT_BINARY_DIR}/generated)

# The Debian copyright file: the holder and the licence text from LICENSE.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" ignored "${licence}")
set(VELLUMINE_COPYRIGHT ${CMAKE_MATCH_1})
string(REGEX REPLACE "^.*\n(Permission is hereby granted)" "\\1" licence_text "${licence}")
string(STRIP "${licence_text}" licence_text)
string(REPLACE "\n\n" "\n.\n" licence_text "${licence_text}")
string(REPLACE "\n" "\n " VELLUMINE_LICENSE_TEXT " ${licence_text}")
configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.in ${PROJECT_BINARY_DIR}/generated/copyright
               @ONLY)
