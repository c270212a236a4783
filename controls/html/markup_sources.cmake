# The window-free part of the HTML renderer: shared by the cross-build and the native
# sanitizer build (tools/native-tests).
set(HTML_MARKUP_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/fill_effects.cpp
  ${CMAKE_CURRENT_LIST_DIR}/html_colors.cpp
  ${CMAKE_CURRENT_LIST_DIR}/html_document.cpp
  ${CMAKE_CURRENT_LIST_DIR}/html_layout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/link_command.cpp
  ${CMAKE_CURRENT_LIST_DIR}/markup_entities.cpp
  ${CMAKE_CURRENT_LIST_DIR}/markup_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/markup_tokenizer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/style_sheet.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_style.cpp
)
