virelan_add_test(test_planninglook SOURCES ${CMAKE_CURRENT_LIST_DIR}/TestPlanningLook.cpp LIBS virelan_forms)
