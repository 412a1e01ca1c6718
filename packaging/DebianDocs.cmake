# SPDX-License-Identifier: MIT
# The package's documents, each made from the one file that holds its content: the changelog
# from the release notes, the copyright file from LICENSE, the manual pages from their
# templates. Included from packaging/CMakeLists.txt; sets KORVANE_RELEASE_DATE.

set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/korvane)
set(docs ${CMAKE_CURRENT_BINARY_DIR}/docs)
set(notes_file ${PROJECT_SOURCE_DIR}/NEWS.md)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${notes_file} ${PROJECT_SOURCE_DIR}/LICENSE)
set(maintainer "The Korvane developers <${KORVANE_CONTACT_ADDRESS}>")

# The changelog in Debian's form: "## 1.0.0 (2026-12-06)" opens a release, "- " a change,
# an indented line continues it. A package version without a Debian revision marks a
# native package.
file(STRINGS ${notes_file} notes ENCODING UTF-8)
set(changelog "")
set(KORVANE_RELEASE_DATE "")
function(korvane_close_release)
  if(release_date)
    execute_process(COMMAND date -u -R -d ${release_date} OUTPUT_VARIABLE stamp
                    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    string(APPEND changelog "\n -- ${maintainer}  ${stamp}\n")
    set(changelog "${changelog}" PARENT_SCOPE)
  endif()
endfunction()
foreach(line IN LISTS notes)
  if(line MATCHES "^## ([0-9.]+) \\(([0-9]+-[0-9]+-[0-9]+)\\)$")
    korvane_close_release()
    set(release_date ${CMAKE_MATCH_2})
    if(changelog STREQUAL "")
      if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
        message(FATAL_ERROR "NEWS.md's newest release is ${CMAKE_MATCH_1}, the project's ${PROJECT_VERSION}")
      endif()
      set(KORVANE_RELEASE_DATE ${release_date})
    else()
      string(APPEND changelog "\n")
    endif()
    string(APPEND changelog "korvane (${CMAKE_MATCH_1}) unstable; urgency=medium\n\n")
  elseif(changelog AND line MATCHES "^- (.+)$")
    string(APPEND changelog "  * ${CMAKE_MATCH_1}\n")
  elseif(changelog AND line MATCHES "^  (.+)$")
    string(APPEND changelog "    ${CMAKE_MATCH_1}\n")
  endif()
endforeach()
korvane_close_release()
if(KORVANE_RELEASE_DATE STREQUAL "")
  message(FATAL_ERROR "NEWS.md names no release")
endif()
file(WRITE ${docs}/changelog "${changelog}")

# The machine-readable copyright file; Debian names the MIT licence "Expat".
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
if(NOT licence MATCHES "\nCopyright \\(c\\) ([^\n]+)\n\n(.+[^\n])\n*$")
  message(FATAL_ERROR "LICENSE has no copyright line followed by the licence text")
endif()
set(holder ${CMAKE_MATCH_1})
string(REPLACE "\n\n" "\n.\n" licence_text "${CMAKE_MATCH_2}")
string(REPLACE "\n" "\n " licence_text "${licence_text}")
file(WRITE ${docs}/copyright "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Korvane
Upstream-Contact: ${maintainer}

Files: *
Copyright: ${holder}
License: Expat
 ${licence_text}
")

foreach(page man/korvane.1 man/ja/korvane.1)
  configure_file(${page}.in ${docs}/${page} @ONLY)
endforeach()

# Debian wants the changelog and manual pages compressed at the highest level, without the
# name and time of the file, which would differ between builds.
set(compressed)
foreach(file changelog man/korvane.1 man/ja/korvane.1)
  add_custom_command(OUTPUT ${docs}/${file}.gz
    COMMAND gzip -9nc ${docs}/${file} > ${docs}/${file}.gz
    DEPENDS ${docs}/${file} VERBATIM)
  list(APPEND compressed ${docs}/${file}.gz)
endforeach()
add_custom_target(korvane_docs ALL DEPENDS ${compressed})

install(FILES ${docs}/changelog.gz ${docs}/copyright DESTINATION ${doc_dir})
install(FILES ${docs}/man/korvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${docs}/man/ja/korvane.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)
