# The averages chart and the student follow-up chart
list(APPEND VIRELAN_MODEL_SOURCES
    analysis/ChartLayout.cpp
)
list(APPEND VIRELAN_FORM_SOURCES
    analysis/ChartPainter.cpp
    analysis/ChartWindow.cpp
)
