# The averages chart and the student follow-up chart
virelan_add_test(test_chartlayout SOURCES TestChartLayout.cpp LIBS virelan_models)
