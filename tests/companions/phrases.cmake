virelan_add_test(test_phraselist SOURCES ${CMAKE_CURRENT_LIST_DIR}/TestPhraseList.cpp LIBS virelan_models)
virelan_add_test(test_obs SOURCES ${CMAKE_CURRENT_LIST_DIR}/TestObs.cpp LIBS virelan_forms)
