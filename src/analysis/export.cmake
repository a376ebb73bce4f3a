# The class as the sheets of a spreadsheet
list(APPEND VIRELAN_MODEL_SOURCES
    analysis/ClassExport.cpp
)
