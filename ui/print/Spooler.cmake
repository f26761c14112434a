# Windows' own print spooler, with every failure it reports seen (Qt's print path through
# QPrinter hides the job's fate, and under Wine crashes as the job ends). The printer's page is
# drawn by the form's painter for its device context (GdiPage). The tests link
# spooler_printer directly, and put a spooler of their own in the place of Windows' (Spooler.h).
add_library(spooler_printer STATIC SpoolerPrinter.cpp SystemSpooler.cpp SaveAsDialog.cpp GdiPage.cpp)
target_include_directories(spooler_printer PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(spooler_printer PUBLIC page_printer PRIVATE winspool gdi32 comdlg32 shell32)

add_library(quilvane-print MODULE PrintModule.cpp)
target_link_libraries(quilvane-print PRIVATE spooler_printer)
# Beside the executable, in the build tree and installed.
set_target_properties(quilvane-print PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/app)
install(TARGETS quilvane-print LIBRARY DESTINATION ${QUILVANE_MODULE_DIR})
