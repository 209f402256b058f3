# The check box's tick: an 8 x 8 picture, fuchsia background (the transparent colour,
# taken from the bottom-left pixel), the tick in black. One entry per row, top to
# bottom: the black columns, counted from 0 at the left ("-" for none).
set(CHECK_PICTURE_ROWS
  "-"
  "7"
  "6,7"
  "1,5,6,7"
  "1,2,4,5,6"
  "1,2,3,4,5"
  "2,3,4"
  "3")

# Writes a resource script with the picture as the bitmap resource "CHECK": a
# 24-bit BITMAPINFOHEADER and its rows, bottom row first, as 16-bit words.
function(write_check_picture_rc out)
  set(bytes)
  macro(put_le value size)
    set(v ${value})
    foreach(i RANGE 1 ${size})
      math(EXPR b "${v} & 255")
      list(APPEND bytes ${b})
      math(EXPR v "${v} >> 8")
    endforeach()
  endmacro()
  # BITMAPINFOHEADER: size, width, height, planes, bit count, compression, image
  # size, resolution x and y, colours used and important.
  put_le(40 4)
  put_le(8 4)
  put_le(8 4)
  put_le(1 2)
  put_le(24 2)
  put_le(0 4)
  put_le(192 4)
  put_le(0 4)
  put_le(0 4)
  put_le(0 4)
  put_le(0 4)
  foreach(y RANGE 7 0 -1)
    list(GET CHECK_PICTURE_ROWS ${y} row)
    string(REPLACE "," ";" black "${row}")
    foreach(x RANGE 0 7)
      if(x IN_LIST black)
        list(APPEND bytes 0 0 0)
      else()
        list(APPEND bytes 255 0 255)  # blue, green, red
      endif()
    endforeach()
  endforeach()

  set(words "")
  list(LENGTH bytes n)
  math(EXPR last "${n} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET bytes ${i} lo)
    list(GET bytes ${j} hi)
    math(EXPR word "${lo} + ${hi} * 256" OUTPUT_FORMAT HEXADECIMAL)
    string(APPEND words "  ${word},\n")
  endforeach()
  string(REGEX REPLACE ",\n$" "\n" words "${words}")
  file(CONFIGURE OUTPUT ${out} CONTENT "// Generated from check_picture.cmake: the check box's tick.\nCHECK 2\nBEGIN\n@words@END\n" @ONLY)
endfunction()
