# The rendering of a tide table page in headless Chromium. Chromium belongs to the test set-up
# (tools/test installs it), so the test is always registered and fails where it is missing.
# Label "browser" for runs that leave the browser out on purpose (the sanitizer build).
add_test(NAME htmltables.render_page
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/render_page.sh
                 ${CMAKE_CURRENT_SOURCE_DIR}/fixtures/htmltables/short-month.html
                 ${CMAKE_CURRENT_BINARY_DIR}/render_page)
set_tests_properties(htmltables.render_page PROPERTIES LABELS browser TIMEOUT 150
                     ENVIRONMENT "HOME=${CMAKE_CURRENT_BINARY_DIR}/render_page")

# The generator window's own rendering tests share the label.
if(TEST htmltables.tst_GenerateHTMLBrowser)
  set_tests_properties(htmltables.tst_GenerateHTMLBrowser PROPERTIES LABELS "htmltables;browser")
endif()
