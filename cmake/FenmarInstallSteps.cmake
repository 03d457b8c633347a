# Steps of "cmake --install" that write files made at install time (included by the install
# script, see FenmarInstall.cmake). Files are made in FENMAR_INSTALL_WORK and installed with
# file(INSTALL), which honours DESTDIR and the install manifest.

# The menu entry, with the installed program's absolute path: a prefix that is not on the
# session's PATH (~/.local until the next login, /opt/...) would otherwise hide the entry.
function(fenmar_install_desktop_entry source destination)
  set(program "${CMAKE_INSTALL_PREFIX}/bin/fenmar")
  # The quoting rules of desktop entries: a path with a reserved character goes in double
  # quotes, with " ` $ \ escaped by a backslash; then the string value escapes backslash,
  # tab and newline, and % is doubled as it introduces a field code.
  if(program MATCHES "[] \t\n\"'\\\\><~|&;$*?#()`[]")
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" program "${program}")
    set(program "\"${program}\"")
  endif()
  string(REPLACE "\\" "\\\\" program "${program}")
  string(REPLACE "\t" "\\t" program "${program}")
  string(REPLACE "\n" "\\n" program "${program}")
  string(REPLACE "%" "%%" program "${program}")
  file(READ "${source}" entry)
  set(before "${entry}")
  foreach(end " " "\n")
    string(REPLACE "\nExec=fenmar${end}" "\nExec=${program}${end}" entry "${entry}")
  endforeach()
  if(entry STREQUAL before)
    message(FATAL_ERROR "${source} has no line Exec=fenmar")
  endif()
  get_filename_component(name "${source}" NAME)
  file(WRITE "${FENMAR_INSTALL_WORK}/${name}" "${entry}")
  file(INSTALL "${FENMAR_INSTALL_WORK}/${name}" DESTINATION "${CMAKE_INSTALL_PREFIX}/${destination}")
endfunction()

# `file`.gz compressed as Debian wants it (best compression, no name or time inside).
function(fenmar_install_gzipped file destination)
  get_filename_component(name "${file}" NAME)
  execute_process(COMMAND gzip -9nc "${file}" OUTPUT_FILE "${FENMAR_INSTALL_WORK}/${name}.gz"
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot compress ${file}")
  endif()
  file(INSTALL "${FENMAR_INSTALL_WORK}/${name}.gz" DESTINATION "${CMAKE_INSTALL_PREFIX}/${destination}"
       PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endfunction()

# The package's changelog in the Debian format, for the version being installed.
function(fenmar_install_changelog version maintainer destination)
  string(TIMESTAMP date "%a, %d %b %Y %H:%M:%S +0000" UTC)
  file(WRITE "${FENMAR_INSTALL_WORK}/changelog"
       "fenmar (${version}) unstable; urgency=medium\n\n"
       "  * Release ${version}.\n\n"
       " -- ${maintainer}  ${date}\n")
  fenmar_install_gzipped("${FENMAR_INSTALL_WORK}/changelog" "${destination}")
endfunction()
