# The desk utilities: notepad, clock and calendar
list(APPEND VIRELAN_MODEL_SOURCES
    tools/ClockFields.cpp
    tools/MonthGrid.cpp
    tools/NotesFile.cpp
)
list(APPEND VIRELAN_FORM_SOURCES
    tools/MonthCalendar.cpp
    tools/PrinterTextDevice.cpp
    tools/SpinButton.cpp
)
