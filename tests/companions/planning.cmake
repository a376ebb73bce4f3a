virelan_add_test(test_planning SOURCES ${CMAKE_CURRENT_LIST_DIR}/TestPlanning.cpp LIBS virelan_forms)
