# The class to a spreadsheet
virelan_add_test(test_classexport SOURCES TestClassExport.cpp LIBS virelan_forms)
