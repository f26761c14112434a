# libcups and the TLS, Kerberos and Avahi libraries behind it cost every start 3 MB and some
# milliseconds: CupsPrinter lives in a module that SystemDesktop loads on the first print. The
# tests link cups_printer directly.
find_package(Cups REQUIRED)
add_library(cups_printer STATIC CupsPrinter.cpp)
set_target_properties(cups_printer PROPERTIES POSITION_INDEPENDENT_CODE ON)
target_link_libraries(cups_printer PUBLIC page_printer Cups::Cups)

add_library(quilvane-print MODULE PrintModule.cpp)
target_link_libraries(quilvane-print PRIVATE cups_printer)
# Beside the executable in the build tree; in QUILVANE_MODULE_DIR when installed.
set_target_properties(quilvane-print PROPERTIES PREFIX ""
                      LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/app)
install(TARGETS quilvane-print LIBRARY DESTINATION ${QUILVANE_MODULE_DIR})
