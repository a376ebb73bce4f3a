# The averages report and the rubric dialog
virelan_add_test(test_averages SOURCES TestAverages.cpp LIBS virelan_models)
virelan_add_test(test_rubriques SOURCES TestRubriques.cpp LIBS virelan_forms)
