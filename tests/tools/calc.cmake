# The calculator, its 6-byte real and the euro converter.
virelan_add_test(test_real48 SOURCES TestReal48.cpp LIBS virelan_models)
virelan_add_test(test_pocket SOURCES TestPocket.cpp LIBS virelan_forms)
virelan_add_test(test_eurof SOURCES TestEurof.cpp LIBS virelan_forms)
