# The Windows platform layer on real Win32 calls, run under Wine by CTest's emulator.

# A child program that prints the first argument it finds on its command line.
add_executable(first_argument platform/first_argument.cpp)
target_link_libraries(first_argument PRIVATE vellumine_platform)
vellumine_warnings(first_argument)

# An executable carrying the program's Windows resources, for the test to read them back.
add_executable(resource_probe platform/resource_probe.cpp ${PROJECT_SOURCE_DIR}/resources/vellumine.rc)
target_include_directories(resource_probe PRIVATE ${PROJECT_SOURCE_DIR}/resources)
target_link_libraries(resource_probe PRIVATE vellumine_version)

add_executable(win32_tests platform/win32_test.cpp platform/resources_test.cpp)
target_link_libraries(win32_tests PRIVATE vellumine_platform vellumine_version GTest::gtest_main version)
target_include_directories(win32_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(win32_tests PRIVATE UNICODE _UNICODE NOMINMAX)
add_dependencies(win32_tests first_argument resource_probe)
vellumine_warnings(win32_tests)
vellumine_add_gtests(win32_tests)
