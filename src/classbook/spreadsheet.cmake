# A list of students from a spreadsheet, the class window's spreadsheet commands, and the versions a save
# replaces.
list(APPEND VIRELAN_MODEL_SOURCES
    classbook/CardColumns.cpp
    classbook/EarlierVersions.cpp
    classbook/StudentImport.cpp
)
list(APPEND VIRELAN_FORM_SOURCES
    classbook/MDIChildSpreadsheet.cpp
)
