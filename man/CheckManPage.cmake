# Renders PAGE with groff at 80 columns (plain text, no bold or underline), all warnings
# on, and fails on any warning or when the page leaves out a section a user looks for.
# A page in a language folder gets that language's macros, as man gives it (-mja breaks
# Japanese lines between characters).
set(lang_macros)
if(PAGE MATCHES "/ja/[^/]+$")
  set(lang_macros -mja)
endif()
execute_process(
  COMMAND ${PRECONV} ${PAGE}
  COMMAND ${GROFF} ${lang_macros} -man -Tutf8 -ww -rLL=78n -P-cbu
  OUTPUT_VARIABLE text ERROR_VARIABLE warnings RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "groff failed (${rc}) on ${PAGE}:\n${warnings}")
endif()
if(NOT warnings STREQUAL "")
  message(FATAL_ERROR "groff warns about ${PAGE}:\n${warnings}")
endif()
# The page says what the program is, its keys, its option, where the settings are and what
# moves them.
foreach(needed "bansho.ENV" "XDG_CONFIG_HOME" "HOME" "F1" "NUM" "Esc" "bansho-guide.html"
       "--new-instance")
  string(FIND "${text}" "${needed}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${PAGE} does not mention ${needed}")
  endif()
endforeach()
file(READ ${PAGE} source)
string(REGEX MATCHALL "\n\\.SH [^\n]*" sections "${source}")
list(LENGTH sections count)
if(count LESS 8)
  message(FATAL_ERROR "${PAGE} has only ${count} sections: ${sections}")
endif()
