# FileIniReader against the platform's own GetPrivateProfileStringA, over the corpus in
# tests/ini_corpus. Needs no display. Under Wine the Linux root is drive Z:.
add_executable(lumetta_ini_diff ${CMAKE_CURRENT_LIST_DIR}/ini_diff.cpp)
target_link_libraries(lumetta_ini_diff PRIVATE lumetta_core lumetta_warnings)
target_link_options(lumetta_ini_diff PRIVATE -static)

string(REPLACE "/" "\\" ini_corpus "Z:${PROJECT_SOURCE_DIR}/tests/ini_corpus")
add_test(NAME ini.reader_matches_the_platform COMMAND lumetta_ini_diff ${ini_corpus})
set_tests_properties(ini.reader_matches_the_platform PROPERTIES TIMEOUT 120)
