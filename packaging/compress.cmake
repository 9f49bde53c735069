# Makes one installed document compressed the way Debian wants it: gzip -9
# without file name or time stamp, so that two builds give the same bytes.
#   cmake -DIN=file -DOUT=file.gz -DGZIP=gzip -P compress.cmake
set(text "${IN}")
execute_process(COMMAND "${GZIP}" -9n -c INPUT_FILE "${text}" OUTPUT_FILE "${OUT}"
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "gzip failed on ${text}")
endif()
