# Runs kinetra-sim's built-in tour, writing its JSON trace and its HTML page, and opens the page
# in the installed chromium through page_test.mjs. Prints "browser test skipped: ..." (a CTest
# skip) where node or chromium is missing.
# Arguments: TOOL, WORK (a folder for the files), CHROMIUM (the browser's path).
find_program(NODE node)
if(NOT NODE)
  message("browser test skipped: node is not installed")
  return()
endif()
if(NOT EXISTS "${CHROMIUM}")
  message("browser test skipped: no chromium at ${CHROMIUM} (apt-get install chromium)")
  return()
endif()
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${TOOL} --trace json --html ${WORK}/tour.html
                OUTPUT_FILE ${WORK}/tour.jsonl ERROR_VARIABLE messages RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the tour: exit ${rc}\n${messages}")
endif()
execute_process(COMMAND ${NODE} ${CMAKE_CURRENT_LIST_DIR}/page_test.mjs ${WORK}/tour.html
                        ${WORK}/tour.jsonl ${CHROMIUM}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the page failed in the browser (exit ${rc})")
endif()
