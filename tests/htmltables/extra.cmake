# The rendering of a tide table page in headless Chromium, only where Chromium is installed;
# label "browser" so that runs without a browser can leave it out.
find_program(QUORVEX_CHROMIUM NAMES chromium chromium-browser)
if(QUORVEX_CHROMIUM)
  add_test(NAME htmltables.render_page
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/render_page.sh ${QUORVEX_CHROMIUM}
                   ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/htmltables/short-month.html
                   ${CMAKE_CURRENT_BINARY_DIR}/render_page)
  set_tests_properties(htmltables.render_page PROPERTIES LABELS browser TIMEOUT 150
                       ENVIRONMENT "HOME=${CMAKE_CURRENT_BINARY_DIR}/render_page")
endif()

# The generator window's own rendering test skips itself without Chromium; it shares the label.
if(TEST htmltables.tst_GenerateHTMLBrowser)
  set_tests_properties(htmltables.tst_GenerateHTMLBrowser PROPERTIES LABELS "htmltables;browser")
endif()
