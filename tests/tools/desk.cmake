virelan_add_test(test_blocnotes SOURCES ${CMAKE_CURRENT_LIST_DIR}/TestBlocnotes.cpp LIBS virelan_forms)
virelan_add_test(test_horloge SOURCES ${CMAKE_CURRENT_LIST_DIR}/TestHorloge.cpp LIBS virelan_forms)
virelan_add_test(test_calendrier SOURCES ${CMAKE_CURRENT_LIST_DIR}/TestCalendrier.cpp LIBS virelan_forms)
