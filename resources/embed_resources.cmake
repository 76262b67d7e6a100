# cmake -P script: turns the files named in LIST (lines "type|name|path") into one
# C++ source, OUTPUT, holding each file as an array and a table to look them up.
file(STRINGS "${LIST}" entries)
set(arrays "")
set(table "")
set(index 0)
foreach(entry IN LISTS entries)
  string(REPLACE "|" ";" fields "${entry}")
  list(GET fields 0 type)
  list(GET fields 1 name)
  list(GET fields 2 path)
  file(READ "${path}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])" "\\1\n" hex "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "// ${path}\nalignas(16) const unsigned char resource${index}[] = {\n${bytes}0};\n\n")
  string(APPEND table "    {\"${type}\", \"${name}\", resource${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.new" "// Generated from resources/resources.cmake at build time; do not edit.
#include \"services/platform/posix/embedded_resources.h\"

namespace Services::platform {

namespace {
${arrays}}  // namespace

const EmbeddedResource kEmbeddedResources[] = {
${table}    {nullptr, nullptr, nullptr, 0},
};

}  // namespace Services::platform
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
