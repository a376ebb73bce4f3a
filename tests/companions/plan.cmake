virelan_add_test(test_seatingplan SOURCES ${CMAKE_CURRENT_LIST_DIR}/TestSeatingPlan.cpp LIBS virelan_models)
virelan_add_test(test_planwindow SOURCES ${CMAKE_CURRENT_LIST_DIR}/TestPlanWindow.cpp LIBS virelan_forms)
