# Writes a man page from a program's --help text, so that the page never tells other
# options than the program takes. cmake -DPROGRAM=... -DNAME=... -DSUMMARY=... -DVERSION=...
# -DSEE_ALSO=... -DOUTPUT=... -P help_to_man.cmake
execute_process(COMMAND "${PROGRAM}" --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help failed: ${status}")
endif()
# roff: backslashes are escapes, and a line starting with a dot or an apostrophe is a request.
string(REPLACE "\\" "\\e" help "${help}")
string(REGEX REPLACE "\n([.'])" "\n\\\\&\\1" help "${help}")
# The first line is the usage; the rest is the description. (A REGEX REPLACE anchored at
# "^" would match again after each replacement, so the line is cut by position.)
string(FIND "${help}" "\n" first_break)
string(SUBSTRING "${help}" 0 ${first_break} usage)
string(REPLACE "usage: " "" usage "${usage}")
math(EXPR body_start "${first_break} + 1")
string(SUBSTRING "${help}" ${body_start} -1 body)
string(TOUPPER "${NAME}" title)
string(REPLACE "-" "\\-" name_escaped "${NAME}")
string(REPLACE "-" "\\-" usage "${usage}")
file(WRITE "${OUTPUT}" ".TH ${title} 1 \"\" \"BrixoConfig ${VERSION}\" \"User Commands\"
.SH NAME
${name_escaped} \\- ${SUMMARY}
.SH SYNOPSIS
.B ${usage}
.SH DESCRIPTION
.nf
${body}.fi
.SH SEE ALSO
${SEE_ALSO}
")
