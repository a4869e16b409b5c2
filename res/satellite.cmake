# Writes a language satellite: the language's own script (strings, menu,
# the captioned dialog frames) followed by every dialog of the program's
# script that the language does not define (the forms, which carry no text
# of their own) and every bitmap and icon, inlined as the program's are.
#   cmake -DLANGUAGE=satellites/0407.rc -DPROGRAM=Contacts.rc -DOUTPUT=x.mui -P satellite.cmake
cmake_minimum_required(VERSION 3.25)
file(READ ${LANGUAGE} text)
file(READ ${PROGRAM} program)

string(REGEX MATCHALL "\n[0-9]+ DIALOG" own "\n${text}")
string(REGEX MATCHALL "\n[0-9]+ DIALOG" dialogs "\n${program}")
foreach(start IN LISTS dialogs)
  if(start IN_LIST own)
    continue()
  endif()
  # A dialog ends at the first END at the start of a line after its header.
  string(FIND "\n${program}" "${start}" begin)
  string(SUBSTRING "\n${program}" ${begin} -1 rest)
  string(FIND "${rest}" "\nEND" length)
  string(SUBSTRING "${rest}" 0 ${length} block)
  string(APPEND text "${block}\nEND\n")
endforeach()

string(REGEX MATCHALL "\n[0-9]+[ \t]+(BITMAP|ICON)[ \t]+\"[^\"\n]+\"" images "\n${program}")
foreach(image IN LISTS images)
  string(APPEND text "${image}")
endforeach()

get_filename_component(BASE ${PROGRAM} DIRECTORY)
set(INPUT ${OUTPUT}.rc)
file(WRITE ${INPUT} "${text}\n")
set(MODE script)
include(${CMAKE_CURRENT_LIST_DIR}/inline.cmake)
file(REMOVE ${INPUT})
