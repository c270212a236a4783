# Tests of the window-free renderer parts; they run under Wine and natively with sanitizers.
set(HTML_WINDOW_FREE_TESTS
  ${CMAKE_CURRENT_LIST_DIR}/markup_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/layout_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/malformed_markup_test.cpp
)
