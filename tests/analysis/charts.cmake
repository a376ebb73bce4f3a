# The averages chart and the student follow-up chart
virelan_add_test(test_chartlayout SOURCES TestChartLayout.cpp LIBS virelan_models)
virelan_add_test(test_charts SOURCES TestCharts.cpp LIBS virelan_forms)
