virelan_add_test(test_texte SOURCES ${CMAKE_CURRENT_LIST_DIR}/TestTexte.cpp LIBS virelan_forms)
virelan_add_test(test_rulerandnames SOURCES ${CMAKE_CURRENT_LIST_DIR}/TestRulerAndNames.cpp LIBS virelan_models)
virelan_add_test(test_rtfwriter SOURCES ${CMAKE_CURRENT_LIST_DIR}/TestRtfWriter.cpp LIBS virelan_models)
