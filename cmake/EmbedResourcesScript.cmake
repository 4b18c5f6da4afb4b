# Writes OUT: the files of FILES ("|"-separated) as byte arrays, registered by FUNCTION.
string(REPLACE "|" ";" files "${FILES}")
set(body "")
set(calls "")
set(i 0)
foreach(f ${files})
  file(READ ${f} hex HEX)
  string(LENGTH "${hex}" n)
  math(EXPR bytes "${n} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," hex "${hex}")
  # Keep lines short so compilers and diffs stay happy.
  set(row "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)")
  string(REGEX REPLACE "${row}" "\\1\n" hex "${hex}")
  get_filename_component(name ${f} NAME)
  string(APPEND body "const unsigned char r${i}[] = {\n${hex}0x00};\n")
  string(APPEND calls "    vcl::RegisterFormResourceText(\"${name}\", std::string_view(reinterpret_cast<const char*>(r${i}), ${bytes}));\n")
  math(EXPR i "${i} + 1")
endforeach()
file(WRITE ${OUT}.tmp "// Generated from the form resources; do not edit.
#include \"platform/vcl/FormReader.h\"

#include <string_view>

namespace {
${body}} // namespace

void ${FUNCTION}() {
    static const bool done = [] {
${calls}        return true;
    }();
    (void)done;
}
")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.tmp)
