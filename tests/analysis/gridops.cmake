virelan_add_test(test_gridops SOURCES TestGridOps.cpp LIBS virelan_models)
virelan_add_test(test_printlayout SOURCES TestPrintLayout.cpp LIBS virelan_models)
virelan_add_test(test_classops SOURCES TestClassOps.cpp LIBS virelan_forms)
virelan_add_test(test_printpainter SOURCES TestPrintPainter.cpp LIBS virelan_forms)
