# Turns a file into a C++ byte array: cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=name -P embed.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," body "${hex}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT}; do not edit.\n"
  "namespace qs {\n"
  "extern const unsigned char ${SYMBOL}[];\n"
  "extern const unsigned long ${SYMBOL}Size;\n"
  "const unsigned char ${SYMBOL}[] = {${body} 0};\n"
  "const unsigned long ${SYMBOL}Size = ${size};\n"
  "}  // namespace qs\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
