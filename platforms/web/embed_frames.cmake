# Writes the 54 frame bitmaps, byte for byte, into one C++ array in holder order.
# Called as: cmake -DOUTPUT=file.cpp -DBITMAPS=a.bmp,b.bmp,... -P embed_frames.cmake
string(REPLACE "," ";" BITMAPS "${BITMAPS}")
list(LENGTH BITMAPS count)
list(GET BITMAPS 0 first)
file(SIZE "${first}" size)
set(body "")
foreach(bitmap IN LISTS BITMAPS)
  file(SIZE "${bitmap}" this_size)
  if(NOT this_size EQUAL size)
    message(FATAL_ERROR "${bitmap} has ${this_size} bytes, the first bitmap ${size}")
  endif()
  file(READ "${bitmap}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," hex "${hex}")
  string(APPEND body "    {${hex}},\n")
endforeach()
file(WRITE "${OUTPUT}" "// Generated from the committed frame bitmaps; do not edit.
#include \"platforms/web/frame_bytes.h\"

namespace qex::frames {

namespace {
const unsigned char files[${count}][${size}] = {
${body}};
}  // namespace

const unsigned char* bitmapFile(int holder)
{
    return files[holder - 1];
}

}  // namespace qex::frames
")
