# `make screenshots`: pictures of every page on generated music, written to
# docs/screenshots/ and embedded in docs/manual.html.
if(BUILD_TESTING)
  add_executable(tonvault-screenshots EXCLUDE_FROM_ALL tools/Screenshots.cpp)
  target_link_libraries(tonvault-screenshots PRIVATE tonvault_ui tonvault_test_support)
  add_custom_target(screenshots
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:tonvault-screenshots>
            ${PROJECT_SOURCE_DIR}/docs/screenshots ${PROJECT_SOURCE_DIR}/docs/manual.html
    DEPENDS tonvault-screenshots
    COMMENT "Taking pictures of every page")
endif()
