# cmake -DTOOL=<kx_mimetypes> -DTEXTS=<kx_desktoptexts> -DIN=<template> -DOUT=<file> -P fillmimetypes.cmake
# Writes the template with @KX_MIME_TYPES@ replaced by the types the tool
# prints, then adds the translations of its texts.
execute_process(COMMAND "${TOOL}" OUTPUT_VARIABLE KX_MIME_TYPES OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR KX_MIME_TYPES STREQUAL "")
  message(FATAL_ERROR "${TOOL} gave no media types")
endif()
configure_file("${IN}" "${OUT}" @ONLY)
execute_process(COMMAND "${TEXTS}" "${OUT}" "${OUT}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${TEXTS} could not translate ${OUT}")
endif()
