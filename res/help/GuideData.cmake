# Run by the build: assesses one worksheet of the example dataset with frusta2-cli, writes
# the worked example's figures as AsciiDoc attributes and keeps frusta2-cli's own option
# list for the guide. Variables: CLI, FIGURES, EXAMPLE, DATABASE, SHEET, METRIC, SITE, JSON,
# FIGURES_OUT, USAGE_OUT.
execute_process(
  COMMAND ${CLI} assess ${EXAMPLE} --sheet ${SHEET} --metric ${METRIC} --database ${DATABASE}
          -o ${JSON} --format json
  RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "frusta2-cli could not assess the example for the user guide:\n${errors}")
endif()
execute_process(COMMAND ${FIGURES} ${JSON} ${DATABASE} ${SITE} ${FIGURES_OUT}
                RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "The worked example's figures could not be written:\n${errors}")
endif()
execute_process(COMMAND ${CLI} assess --help OUTPUT_FILE ${USAGE_OUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "frusta2-cli assess --help failed")
endif()
