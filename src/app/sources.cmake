# Sources of src/app
list(APPEND VIRELAN_MODEL_SOURCES
    app/HelpFile.cpp
)
list(APPEND VIRELAN_FORM_SOURCES
    app/AboutBox.cpp
    app/Emblem.cpp
    app/HelpWindow.cpp
    app/MainForm.cpp
    app/Splash.cpp
    app/ToolWindows.cpp
)
