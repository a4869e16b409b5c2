# Replaces every `id BITMAP "file"` and `id ICON "file"` line of a resource
# script by the file's bytes written inline, so that the script carries
# everything in one file.
#   cmake -DINPUT=x.rc -DOUTPUT=y.mui -DMODE=script -P inline.cmake
#   cmake -DINPUT=x.rc -DOUTPUT=y.cpp -DMODE=cpp    -P inline.cmake
# MODE=cpp writes the inlined script as a byte array for the program. The
# files are found beside INPUT, or in BASE when it is given.
if(DEFINED BASE)
  set(base ${BASE})
else()
  get_filename_component(base ${INPUT} DIRECTORY)
endif()
file(READ ${INPUT} text)
string(REPEAT "." 64 chunk)
string(REGEX MATCHALL "[0-9]+[ \t]+(BITMAP|ICON)[ \t]+\"[^\"\n]+\"" refs "${text}")
foreach(ref IN LISTS refs)
  string(REGEX MATCH "^([0-9]+)[ \t]+(BITMAP|ICON)[ \t]+\"([^\"]+)\"" _ "${ref}")
  set(id ${CMAKE_MATCH_1})
  set(kind ${CMAKE_MATCH_2})
  file(READ ${base}/${CMAKE_MATCH_3} hex HEX)
  string(REGEX REPLACE "(${chunk})" "\\1'\n    '" hex "${hex}")
  string(REPLACE "''" "" block "${id} ${kind}\nBEGIN\n    '${hex}'\nEND")
  string(REPLACE "    \nEND" "END" block "${block}")
  string(REPLACE "${ref}" "${block}" text "${text}")
endforeach()
if(MODE STREQUAL "script")
  file(WRITE ${OUTPUT} "${text}")
else()
  file(WRITE ${OUTPUT}.rc "${text}")
  file(READ ${OUTPUT}.rc hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REPEAT "0x[0-9a-f][0-9a-f]," 16 line)
  string(REGEX REPLACE "(${line})" "\\1\n" bytes "${bytes}")
  file(WRITE ${OUTPUT} "// Generated from ${INPUT}.\n#include <cstddef>\n"
    "namespace ce {\nextern const unsigned char EmbeddedResourceScript[] = {\n${bytes}0};\n"
    "extern const std::size_t EmbeddedResourceScriptSize = sizeof(EmbeddedResourceScript) - 1;\n}\n")
endif()
