# Sources of src/common
list(APPEND VIRELAN_MODEL_SOURCES
    common/Cp1252.cpp
    common/Csv.cpp
    common/FileNames.cpp
    common/FileWriter.cpp
    common/Fonts.cpp
    common/FrenchDates.cpp
    common/FrenchNumbers.cpp
    common/MessageText.cpp
    common/PlatformError.cpp
    common/Spreadsheet.cpp
    common/TextFile.cpp
)
list(APPEND VIRELAN_FORM_SOURCES
    common/Cp1252Guard.cpp
    common/CrlfTextEdit.cpp
    common/ErrorHandler.cpp
    common/FirstShow.cpp
    common/Glyphs.cpp
    common/QtSeams.cpp
    common/StringGrid.cpp
    common/SystemClock.cpp
)
