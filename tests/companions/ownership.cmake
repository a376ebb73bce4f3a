# Which class the one seating plan or planning belongs to, without windows.
virelan_add_test(test_sharedcompanion SOURCES ${CMAKE_CURRENT_LIST_DIR}/TestSharedCompanion.cpp LIBS virelan_models)
