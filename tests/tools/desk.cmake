virelan_add_test(test_blocnotes SOURCES ${CMAKE_CURRENT_LIST_DIR}/TestBlocnotes.cpp LIBS virelan_forms)
