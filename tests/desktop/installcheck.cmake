# cmake -DBUILD=<build folder> -DSTAGE=<scratch folder> -P installcheck.cmake
# Installs the build into a staging folder and checks what the desktop reads
# with the desktop's own validators; a validator that is not installed is
# skipped, and the test is reported skipped when none is.
file(REMOVE_RECURSE "${STAGE}")
# The install rewrites the build's manifest, which the user's uninstall reads: kept as it was.
set(manifest "${BUILD}/install_manifest.txt")
file(REMOVE_RECURSE "${STAGE}-manifest")
if(EXISTS "${manifest}")
  file(COPY "${manifest}" DESTINATION "${STAGE}-manifest")
endif()
set(ENV{DESTDIR} "${STAGE}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix /usr
                RESULT_VARIABLE result OUTPUT_QUIET)
file(REMOVE "${manifest}")
if(EXISTS "${STAGE}-manifest/install_manifest.txt")
  file(RENAME "${STAGE}-manifest/install_manifest.txt" "${manifest}")
endif()
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()
set(usr "${STAGE}/usr")
foreach(file bin/kestrix-picturist bin/kestrix-convert share/applications/org.kestrix.picturist.desktop
             share/metainfo/org.kestrix.picturist.metainfo.xml share/man/man1/kestrix-convert.1.gz share/man/man1/kestrix-picturist.1.gz
             share/bash-completion/completions/kestrix-convert share/icons/hicolor/48x48/apps/kestrix-picturist.png
             share/kio/servicemenus/kestrix-picturist-servicemenu.desktop)
  if(NOT EXISTS "${usr}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

set(checked 0)
macro(check name)
  find_program(tool_${name} ${name})
  if(tool_${name})
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT result EQUAL 0 OR NOT err STREQUAL "")
      message(FATAL_ERROR "${name} refused it:\n${out}${err}")
    endif()
    math(EXPR checked "${checked} + 1")
  else()
    message(STATUS "${name} not installed: skipped")
  endif()
endmacro()

check(desktop-file-validate desktop-file-validate "${usr}/share/applications/org.kestrix.picturist.desktop")
check(appstreamcli appstreamcli validate --no-net "${usr}/share/metainfo/org.kestrix.picturist.metainfo.xml")
# groff's warnings (unknown requests, bad escapes) go to standard error.
set(ENV{MANWIDTH} 100)
check(man man -l -E ascii --warnings "${usr}/share/man/man1/kestrix-convert.1.gz")
if(DEFINED tool_man AND tool_man AND NOT out MATCHES "--existing MODE")
  message(FATAL_ERROR "the manual page lacks the options:\n${out}")
endif()
check(man man -l -E ascii --warnings "${usr}/share/man/man1/kestrix-picturist.1.gz")

# The menu entry and the metainfo carry the shipped languages beside English.
file(READ "${usr}/share/applications/org.kestrix.picturist.desktop" entry)
file(READ "${usr}/share/metainfo/org.kestrix.picturist.metainfo.xml" metainfo)
if(NOT entry MATCHES "\nComment\\[de\\]=[^\n]" OR NOT metainfo MATCHES "<summary xml:lang=\"fr\">")
  message(FATAL_ERROR "no German comment in the desktop entry or French summary in the metainfo")
endif()

# The completion offers the options, the target formats and the installed
# presets (no user's preset: an empty data folder) of the installed program.
set(completion /usr/share/bash-completion/bash_completion)
if(EXISTS "${completion}")
  set(ENV{XDG_DATA_HOME} "${STAGE}/data")
  # A German user's completion still reads the English help.
  set(ENV{LANGUAGE} de)
  foreach(case "--exi|--existing" "--to we|webp" "--preset We|Web: 1600 px WEBP" "--metadata no|no-location none")
    string(REPLACE "|" ";" case "${case}")
    list(GET case 0 typed)
    list(GET case 1 expected)
    execute_process(COMMAND bash -c "source ${completion}; source \"$0/share/bash-completion/completions/kestrix-convert\"
COMP_WORDS=(\"$0/bin/kestrix-convert\" ${typed}); COMP_CWORD=\$((\${#COMP_WORDS[@]}-1))
COMP_LINE=\"\${COMP_WORDS[*]}\"; COMP_POINT=\${#COMP_LINE}
_kestrix_convert \"\${COMP_WORDS[0]}\" \"\${COMP_WORDS[COMP_CWORD]}\" \"\${COMP_WORDS[COMP_CWORD-1]}\"
echo \"\${COMPREPLY[*]}\"" "${usr}" OUTPUT_VARIABLE offered)
    string(STRIP "${offered}" offered)
    if(NOT offered STREQUAL expected)
      message(FATAL_ERROR "completing '${typed}' offered '${offered}', not '${expected}'")
    endif()
  endforeach()
  math(EXPR checked "${checked} + 1")
endif()
if(checked EQUAL 0)
  message("SKIPPED: no validator installed")
endif()
