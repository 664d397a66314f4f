# Writes a file's bytes as a brace-initializer list (OUTPUT) and its size as a
# constant named CONSTANT in namespace program (HEADER), so the program can
# carry a file built earlier in the same build inside its constant block.
# Usage: cmake -DINPUT=... -DOUTPUT=....inc -DHEADER=....h -DCONSTANT=kName -P embed_bytes.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.new" "${bytes}\n")
file(WRITE "${HEADER}.new" "#pragma once\nnamespace program {\nconstexpr int ${CONSTANT} = ${size};\n}\n")
# Only a changed file is replaced, so an unchanged input rebuilds nothing.
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(COPY_FILE "${HEADER}.new" "${HEADER}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new" "${HEADER}.new")
