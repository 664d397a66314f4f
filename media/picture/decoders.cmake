# The byte-level picture decoders, beside this file: the runtime builds them,
# and so do the fuzzers and the native qizi, without windows.h.
set(QY_PICTURE_DECODERS
  bmp_decoder.cpp
  gif_decoder.cpp
  icon_directory.cpp
  jpeg_decoder.cpp
  pcx_decoder.cpp
  picture_format.cpp
  png_decoder.cpp
  pnm_decoder.cpp)
