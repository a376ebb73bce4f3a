virelan_add_test(test_texte SOURCES ${CMAKE_CURRENT_LIST_DIR}/TestTexte.cpp LIBS virelan_forms)
