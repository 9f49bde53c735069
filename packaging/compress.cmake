# Makes one installed document compressed the way Debian wants it: gzip -9
# without file name or time stamp, so that two builds give the same bytes.
# With SCDOC set, IN is a manual page source in scdoc, dated SOURCE_DATE_EPOCH.
#   cmake -DIN=file -DOUT=file.gz -DGZIP=gzip [-DSCDOC=scdoc -DSOURCE_DATE_EPOCH=n] -P compress.cmake
set(text "${IN}")
if(SCDOC)
  set(text "${OUT}.roff")
  set(ENV{SOURCE_DATE_EPOCH} "${SOURCE_DATE_EPOCH}")
  execute_process(COMMAND "${SCDOC}" INPUT_FILE "${IN}" OUTPUT_FILE "${text}"
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "scdoc could not read ${IN}")
  endif()
endif()
execute_process(COMMAND "${GZIP}" -9n -c INPUT_FILE "${text}" OUTPUT_FILE "${OUT}"
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "gzip failed on ${text}")
endif()
