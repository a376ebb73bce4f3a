virelan_add_test(test_mainform SOURCES TestMainForm.cpp LIBS virelan_forms)
virelan_add_test(test_helpfile SOURCES TestHelpFile.cpp LIBS virelan_forms)
target_compile_definitions(test_helpfile PRIVATE VIRELAN_HELP_FILE="${CMAKE_SOURCE_DIR}/data/Virelan.hlp")
