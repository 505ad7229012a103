# cmake -DTOOL=<kestrix-convert> -DVERSION=<x.y.z> -DOUT=<file.1> -P manpage.cmake
# The manual page is the program's --help text, so the two never disagree.
# The page is written in English, whatever the builder's language.
set(ENV{LANGUAGE} "")
set(ENV{LC_ALL} C.UTF-8)
execute_process(COMMAND "${TOOL}" --help OUTPUT_VARIABLE help RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${TOOL} --help failed")
endif()
# The usage lines (the first and the indented ones after it) become the
# synopsis, one form a line; the rest the description, as it is laid out.
string(REGEX MATCH "^Usage: [^\n]*\n( +[^\n]*\n)*" usage "${help}")
string(LENGTH "${usage}" skip)
string(SUBSTRING "${help}" ${skip} -1 body)
string(REGEX REPLACE "^Usage: +" "" synopsis "${usage}")
string(REGEX REPLACE "\n +" "\n" synopsis "${synopsis}")
# roff: a backslash is written \e; a line starting with '.' or '\'' is protected.
foreach(var synopsis body)
  string(REPLACE "\\" "\\e" ${var} "${${var}}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" ${var} "${${var}}")
  # Options are typed as shown: minus signs, not hyphens.
  string(REPLACE "-" "\\-" ${var} "${${var}}")
endforeach()
# One form a line in the synopsis.
string(STRIP "${synopsis}" synopsis)
string(REPLACE "\n" "\n.br\n" synopsis "${synopsis}")
file(WRITE "${OUT}" ".TH KESTRIX-CONVERT 1 \"\" \"Kestrix Picturist ${VERSION}\" \"User Commands\"
.SH NAME
kestrix-convert \\- convert pictures with the settings of Kestrix Picturist
.SH SYNOPSIS
${synopsis}
.SH DESCRIPTION
.nf
${body}.fi
")
